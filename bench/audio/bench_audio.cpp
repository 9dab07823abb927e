// Prints what loading and playing effects cost, headless and on the audio device, and how
// long reading a piece of music's length from its frames takes.
//   build/bench/audio/bench_audio            (SDL_AUDIODRIVER=dummy where there is no card)
#include <lame/lame.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/audio/audio_system.h"
#include "engine/audio/mp3_length.h"
#include "engine/audio/sound.h"
#include "engine/platform/clock.h"
#include "engine/platform/paths.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

void Put(Bytes& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// One second of a 440 Hz tone, 16-bit, at the given rate and channel count.
Bytes OneSecondWave(uint32_t rate, uint16_t channels) {
  Bytes data;
  for (uint32_t frame = 0; frame < rate; ++frame) {
    const auto sample = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * frame / rate));
    for (uint16_t c = 0; c < channels; ++c)
      Put(data, static_cast<uint16_t>(sample), 2);
  }
  Bytes file{'R', 'I', 'F', 'F'};
  Put(file, static_cast<uint32_t>(36 + data.size()), 4);
  for (char c : std::string("WAVEfmt "))
    file.push_back(static_cast<uint8_t>(c));
  Put(file, 16, 4);
  Put(file, 1, 2);
  Put(file, channels, 2);
  Put(file, rate, 4);
  Put(file, rate * channels * 2, 4);
  Put(file, channels * 2u, 2);
  Put(file, 16, 2);
  for (char c : std::string("data"))
    file.push_back(static_cast<uint8_t>(c));
  Put(file, static_cast<uint32_t>(data.size()), 4);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

Bytes EncodeMp3(uint32_t seconds) {
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, 22050);
  lame_set_num_channels(lame, 1);
  lame_set_mode(lame, MONO);
  lame_set_brate(lame, 64);
  lame_set_quality(lame, 9);
  lame_init_params(lame);
  std::vector<short> pcm(22050 * seconds);
  for (size_t i = 0; i < pcm.size(); ++i)
    pcm[i] = static_cast<short>(6000 * std::sin(i * 0.1));
  Bytes out(pcm.size() + 16384);
  int written = lame_encode_buffer(lame, pcm.data(), pcm.data(), static_cast<int>(pcm.size()),
                                   out.data(), static_cast<int>(out.size()));
  written += lame_encode_flush(lame, out.data() + written, static_cast<int>(out.size()) - written);
  lame_close(lame);
  out.resize(written);
  return out;
}

std::string WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

// Microseconds per call of `work`, over `count` calls.
double MicrosPerCall(int count, const std::function<void(int)>& work) {
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i)
    work(i);
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

void MeasureEffects(const char* mode, const std::string& plain, const std::string& converted) {
  std::printf("%s (%s)\n", mode, zrb::audio::DescribeAudio().c_str());
  std::printf("  LoadSound 1 s 22050 Hz stereo WAVE, 1 buffer : %9.1f us\n",
              MicrosPerCall(50, [&](int i) { zrb::LoadSound(plain, i % 8, 1); }));
  std::printf("  LoadSound 1 s 44100 Hz stereo WAVE, 4 buffers: %9.1f us\n",
              MicrosPerCall(50, [&](int i) { zrb::LoadSound(converted, 8 + i % 8, 4); }));
  std::printf("  PlaySound, 4 buffers taking turns           : %9.2f us\n",
              MicrosPerCall(20000, [](int i) { zrb::PlaySound(8 + i % 8, 0, 1); }));
  std::printf("  PlaySound with pan and volume               : %9.2f us\n",
              MicrosPerCall(20000, [](int i) { zrb::PlaySound(8 + i % 8, -0.5, 0.7); }));
  std::printf("  PlaySound on its only, still sounding buffer: %9.2f us\n",
              MicrosPerCall(20000, [](int) { zrb::PlaySound(0, 0, 1); }));
  std::printf("  SoundPlaying                                : %9.2f us\n",
              MicrosPerCall(20000, [](int i) { zrb::SoundPlaying((8 + i % 8) * 256 + i % 4); }));
  zrb::StopAllSounds();
}

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::path(zrb::platform::TemporaryDirectory()) /
                                       ("tundrel-bench-audio-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string plain = WriteFile(folder / "plain.wav", OneSecondWave(22050, 2));
  const std::string converted = WriteFile(folder / "converted.wav", OneSecondWave(44100, 2));

  zrb::platform::SetHeadless(true);
  zrb::audio::InitAudio(true);
  MeasureEffects("headless", plain, converted);
  zrb::audio::ShutdownAudio();

  zrb::platform::SetHeadless(false);
  bool device = zrb::audio::InitAudio(false);
  if (!device && !std::getenv("SDL_AUDIODRIVER")) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    device = zrb::audio::InitAudio(false);
  }
  if (device) {
    MeasureEffects("device", plain, converted);
  } else {
    std::printf("device: %s\n", zrb::audio::DescribeAudio().c_str());
  }
  zrb::audio::ShutdownAudio();

  const Bytes mp3 = EncodeMp3(60);
  double lengthMs = 0;
  const double micros =
      MicrosPerCall(100, [&](int) { lengthMs = zrb::audio::SummarizeMp3(mp3)->DurationMs(); });
  std::printf("MP3 length from frame headers, %.1f s piece (%zu KiB): %.1f us\n", lengthMs / 1000,
              mp3.size() / 1024, micros);
  std::filesystem::remove_all(folder);
  return 0;
}
