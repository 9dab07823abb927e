// The WAVE parser and what the output takes of it, and LoadSound on the same bytes through an
// in-memory file with the headless output: the slot holds a sound exactly when the parser
// and the layout check both accept the file and it lasts no longer than an effect may.
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/audio/audio_system.h"
#include "engine/audio/music_length.h"
#include "engine/audio/pcm_layout.h"
#include "engine/audio/sound.h"
#include "engine/audio/wave_file.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr int32_t kSoundSlot = 5;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zrb::audio::InitAudio(/*headless=*/true);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zrb::audio;
  const std::span<const uint8_t> file(data, size);
  std::optional<PcmLayout> layout;
  if (const auto wave = ParseWave(file)) {
    FUZZ_CHECK(wave->data.data() >= data && wave->data.data() + wave->data.size() <= data + size);
    FUZZ_CHECK(wave->data.size() <= wave->statedDataSize);
    layout = DescribePcm(*wave);
    if (layout) {
      const auto packed = PackFrames(*wave, *layout);
      FUZZ_CHECK(packed.size() == layout->frameCount * layout->channels * layout->bytesPerSample);
      const auto length = MusicLengthFromBytes(file);
      FUZZ_CHECK(length && *length == layout->DurationMs());
    }
  }

  zrb::fuzz::PublishedBytes published(data, size);
  zrb::LoadSound(published.Name(), kSoundSlot, 2);
  const SoundSlotInfo info = DescribeSoundSlot(kSoundSlot);
  const bool loadable =
      layout && layout->frameCount <= uint64_t{kMaxSoundSeconds} * layout->sampleRate;
  FUZZ_CHECK((info.bufferCount > 0) == loadable);
  if (loadable) {
    FUZZ_CHECK(info.durationMs == layout->DurationMs());
    FUZZ_CHECK(zrb::PlaySound(kSoundSlot, -0.5, 0.5) >= 0);
    zrb::StopAllSounds();
  }
  return 0;
}
