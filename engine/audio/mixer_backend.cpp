// The only file that talks to SDL's audio and to SDL_mixer.
#include "engine/audio/mixer_backend.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "engine/audio/music_length.h"
#include "engine/platform/log_file.h"
#include "engine/platform/stderr_capture.h"

namespace zrb::audio {
namespace {

constexpr int kDeviceRate = 22050;
constexpr int kDeviceChannels = 2;
constexpr int kDeviceChunkFrames = 1024;
// Four buffers for each of the 4096 slots at most.
constexpr int kMaxMixerChannels = 4096 * 4;

// Channel effects run on the mixer's thread; the gains they read are written only while the
// channel is halted, before Mix_PlayChannel (which takes the mixer's lock) starts it.
void ApplyGainEffect(int, void* stream, int length, void* userData) {
  ApplyGains(static_cast<int16_t*>(stream), static_cast<size_t>(length) / 4,
             *static_cast<const ChannelGains*>(userData));
}

// The open device and the mixer channels handed out. Everything made from the device keeps a
// share of it, so the device closes only after its last chunk, channel and piece of music.
class MixerDevice {
 public:
  MixerDevice() = default;
  MixerDevice(const MixerDevice&) = delete;
  MixerDevice& operator=(const MixerDevice&) = delete;

  ~MixerDevice() {
    if (audioOpen_) {
      Mix_HaltMusic();
      Mix_HaltChannel(-1);
      Mix_CloseAudio();
    }
    if (decodersStarted_) Mix_Quit();
    if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  bool Open(std::string& failure) {
    // The drivers' own complaints (a missing sound card) go to the log, not to the player.
    platform::StandardErrorCapture driverNoise;
    const bool opened = OpenDevice(failure);
    LogDriverNoise(driverNoise.Finish());
    return opened;
  }

  int rate() const { return rate_; }
  SDL_AudioFormat format() const { return format_; }
  int channels() const { return channels_; }
  bool CanApplyGains() const { return format_ == AUDIO_S16SYS && channels_ == 2; }

  std::string Describe() const {
    const char* driver = SDL_GetCurrentAudioDriver();
    return std::string(driver ? driver : "?") + " " + std::to_string(rate_) + " Hz " +
           std::to_string(SDL_AUDIO_BITSIZE(format_)) + "-bit " + std::to_string(channels_) +
           " ch" + (mp3Support_ ? "" : " (no MP3 decoder)");
  }

  // A free mixer channel, growing the mixer's table when all are taken; -1 when full.
  int AcquireChannel() {
    for (size_t i = 0; i < inUse_.size(); ++i) {
      if (!inUse_[i]) {
        inUse_[i] = true;
        return static_cast<int>(i);
      }
    }
    const int oldCount = static_cast<int>(inUse_.size());
    if (oldCount >= kMaxMixerChannels) return -1;
    const int newCount = oldCount == 0 ? 8 : std::min(oldCount * 2, kMaxMixerChannels);
    if (Mix_AllocateChannels(newCount) != newCount) return -1;
    inUse_.resize(newCount, false);
    while (static_cast<int>(gains_.size()) < newCount) {
      gains_.push_back(std::make_unique<ChannelGains>());
    }
    inUse_[oldCount] = true;
    return oldCount;
  }

  void ReleaseChannel(int channel) {
    Mix_HaltChannel(channel);
    Mix_UnregisterAllEffects(channel);
    inUse_[channel] = false;
  }

  ChannelGains* GainsOf(int channel) { return gains_[channel].get(); }

 private:
  bool OpenDevice(std::string& failure) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      failure = std::string("SDL audio: ") + SDL_GetError();
      return false;
    }
    subsystemStarted_ = true;
    // MP3 support is what the music needs; without it effects still work.
    mp3Support_ = (Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) != 0;
    decodersStarted_ = true;
    if (Mix_OpenAudioDevice(kDeviceRate, AUDIO_S16SYS, kDeviceChannels, kDeviceChunkFrames, nullptr,
                            0) != 0 &&
        Mix_OpenAudioDevice(kDeviceRate, AUDIO_S16SYS, kDeviceChannels, kDeviceChunkFrames, nullptr,
                            SDL_AUDIO_ALLOW_ANY_CHANGE) != 0) {
      failure = std::string("audio device: ") + Mix_GetError();
      return false;
    }
    audioOpen_ = true;
    Mix_QuerySpec(&rate_, &format_, &channels_);
    Mix_AllocateChannels(0);
    return true;
  }

  static void LogDriverNoise(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = std::min(text.find('\n', start), text.size());
      if (end > start) platform::AppendLogLine("Sound driver: " + text.substr(start, end - start));
      start = end + 1;
    }
  }

  bool subsystemStarted_ = false;
  bool decodersStarted_ = false;
  bool audioOpen_ = false;
  bool mp3Support_ = false;
  int rate_ = 0;
  SDL_AudioFormat format_ = 0;
  int channels_ = 0;
  std::vector<bool> inUse_;
  // One per mixer channel, at a fixed address for the effect callbacks.
  std::vector<std::unique_ptr<ChannelGains>> gains_;
};

struct ChunkDeleter {
  void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};

class MixerSamples final : public SampleSet {
 public:
  MixerSamples(std::shared_ptr<MixerDevice> device, std::vector<uint8_t> pcm, double durationMs)
      : device_(std::move(device)), pcm_(std::move(pcm)), durationMs_(durationMs) {
    // The chunk points into pcm_, which this object owns; Mix_FreeChunk leaves it alone.
    chunk_.reset(Mix_QuickLoad_RAW(pcm_.data(), static_cast<Uint32>(pcm_.size())));
  }

  bool valid() const { return chunk_ != nullptr; }
  Mix_Chunk* chunk() const { return chunk_.get(); }
  double DurationMs() const override { return durationMs_; }

 private:
  std::shared_ptr<MixerDevice> device_;
  std::vector<uint8_t> pcm_;
  double durationMs_;
  std::unique_ptr<Mix_Chunk, ChunkDeleter> chunk_;  // freed first, before pcm_
};

class MixerVoice final : public Voice {
 public:
  MixerVoice(std::shared_ptr<MixerDevice> device, std::shared_ptr<const MixerSamples> samples,
             int channel)
      : device_(std::move(device)), samples_(std::move(samples)), channel_(channel) {}

  ~MixerVoice() override { device_->ReleaseChannel(channel_); }

  bool Start(const ChannelGains& gains) override {
    // Halting drops the channel's effects, so the gain effect goes on after it, before play.
    Mix_HaltChannel(channel_);
    Mix_UnregisterAllEffects(channel_);
    int volume = MIX_MAX_VOLUME;
    if (!gains.IsUnity()) {
      if (device_->CanApplyGains()) {
        *device_->GainsOf(channel_) = gains;
        Mix_RegisterEffect(channel_, ApplyGainEffect, nullptr, device_->GainsOf(channel_));
      } else {
        volume = static_cast<int>(std::lround(std::max(gains.left, gains.right) * MIX_MAX_VOLUME));
      }
    }
    Mix_Volume(channel_, volume);
    return Mix_PlayChannel(channel_, samples_->chunk(), 0) == channel_;
  }

  bool IsPlaying() const override { return Mix_Playing(channel_) != 0; }

  void Stop() override { Mix_HaltChannel(channel_); }

 private:
  std::shared_ptr<MixerDevice> device_;
  std::shared_ptr<const MixerSamples> samples_;
  int channel_;
};

struct MusicDeleter {
  void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};

class MixerMusic final : public MusicPiece {
 public:
  // SDL_mixer reads the bytes while the piece plays: the piece keeps them until it goes.
  MixerMusic(std::shared_ptr<MixerDevice> device, files::MemoryBlock bytes, Mix_Music* music)
      : device_(std::move(device)), bytes_(std::move(bytes)), music_(music) {
    const double seconds = Mix_MusicDuration(music);
    if (seconds > 0) {
      lengthMs_ = seconds * 1000.0;
    } else if (const auto measured = MusicLengthFromBytes(*bytes_)) {
      lengthMs_ = *measured;
    }
  }

  double LengthMs() const override { return lengthMs_; }

  void PlayFromStart() override { Mix_PlayMusic(music_.get(), 0); }

  // Only one piece is open at a time, so the mixer's music is this one.
  bool PositionBeforeEnd() const override { return Mix_PlayingMusic() != 0; }

  void Stop() override { Mix_HaltMusic(); }

  void SetVolume(double volume) override {
    if (!(volume > 0)) volume = 0;  // also not-a-number
    if (volume > 1) volume = 1;
    Mix_VolumeMusic(static_cast<int>(volume * MIX_MAX_VOLUME));
  }

 private:
  std::shared_ptr<MixerDevice> device_;
  files::MemoryBlock bytes_;
  std::unique_ptr<Mix_Music, MusicDeleter> music_;  // freed first, before bytes_
  double lengthMs_ = 0.0;
};

class MixerBackend final : public AudioBackend {
 public:
  explicit MixerBackend(std::shared_ptr<MixerDevice> device) : device_(std::move(device)) {}

  bool PlaysSounds() const override { return true; }

  std::shared_ptr<const SampleSet> PrepareSamples(const WaveSound& sound,
                                                  const PcmLayout& layout) override {
    std::vector<uint8_t> pcm = PackFrames(sound, layout);
    const SDL_AudioFormat sourceFormat = layout.bytesPerSample == 1 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    const int built = SDL_BuildAudioCVT(&cvt, sourceFormat, static_cast<Uint8>(layout.channels),
                                        static_cast<int>(layout.sampleRate), device_->format(),
                                        static_cast<Uint8>(device_->channels()), device_->rate());
    if (built < 0) return nullptr;
    if (built > 0) {
      if (pcm.size() > static_cast<size_t>(INT_MAX / cvt.len_mult)) return nullptr;
      cvt.len = static_cast<int>(pcm.size());
      pcm.resize(pcm.size() * cvt.len_mult);
      cvt.buf = pcm.data();
      if (SDL_ConvertAudio(&cvt) != 0) return nullptr;
      pcm.resize(cvt.len_cvt);
    }
    const size_t deviceFrame =
        size_t{SDL_AUDIO_BITSIZE(device_->format()) / 8u} * device_->channels();
    pcm.resize(pcm.size() - pcm.size() % deviceFrame);
    if (pcm.empty()) return nullptr;
    auto samples = std::make_shared<MixerSamples>(device_, std::move(pcm), layout.DurationMs());
    if (!samples->valid()) return nullptr;
    return samples;
  }

  std::unique_ptr<Voice> CreateVoice(std::shared_ptr<const SampleSet> samples) override {
    auto mixerSamples = std::dynamic_pointer_cast<const MixerSamples>(samples);
    if (!mixerSamples) return nullptr;
    const int channel = device_->AcquireChannel();
    if (channel < 0) return nullptr;
    return std::make_unique<MixerVoice>(device_, std::move(mixerSamples), channel);
  }

  std::unique_ptr<MusicPiece> OpenMusic(files::MemoryBlock bytes, std::string* problem) override {
    if (!bytes || bytes->empty() || bytes->size() > INT_MAX) {
      *problem = "an empty or oversized file";
      return nullptr;
    }
    SDL_RWops* source = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    if (!source) {
      *problem = SDL_GetError();
      return nullptr;
    }
    Mix_Music* music = Mix_LoadMUS_RW(source, /*freesrc=*/1);
    if (!music) {
      *problem = Mix_GetError();
      return nullptr;
    }
    return std::make_unique<MixerMusic>(device_, std::move(bytes), music);
  }

  std::string Describe() const override { return device_->Describe(); }

 private:
  std::shared_ptr<MixerDevice> device_;
};

}  // namespace

std::unique_ptr<AudioBackend> OpenMixerBackend(std::string& failure) {
  auto device = std::make_shared<MixerDevice>();
  if (!device->Open(failure)) return nullptr;
  return std::make_unique<MixerBackend>(std::move(device));
}

}  // namespace zrb::audio
