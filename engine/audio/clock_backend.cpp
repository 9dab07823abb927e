#include "engine/audio/clock_backend.h"

#include "engine/audio/music_length.h"
#include "engine/platform/clock.h"

namespace zrb::audio {
namespace {

class ClockSamples final : public SampleSet {
 public:
  explicit ClockSamples(double durationMs) : durationMs_(durationMs) {}
  double DurationMs() const override { return durationMs_; }

 private:
  double durationMs_;
};

// Plays from its start time until start + duration, unless stopped.
class ClockPlayback {
 public:
  void Start(double durationMs) {
    startMs_ = platform::NowMs();
    durationMs_ = durationMs;
    playing_ = true;
  }
  bool IsPlaying() const { return playing_ && platform::NowMs() - startMs_ < durationMs_; }
  void Stop() { playing_ = false; }

 private:
  double startMs_ = 0.0;
  double durationMs_ = 0.0;
  bool playing_ = false;
};

class ClockVoice final : public Voice {
 public:
  explicit ClockVoice(std::shared_ptr<const SampleSet> samples) : samples_(std::move(samples)) {}
  bool Start(const ChannelGains&) override {
    playback_.Start(samples_->DurationMs());
    return true;
  }
  bool IsPlaying() const override { return playback_.IsPlaying(); }
  void Stop() override { playback_.Stop(); }

 private:
  std::shared_ptr<const SampleSet> samples_;
  ClockPlayback playback_;
};

class ClockMusic final : public MusicPiece {
 public:
  explicit ClockMusic(double lengthMs) : lengthMs_(lengthMs) {}
  double LengthMs() const override { return lengthMs_; }
  void PlayFromStart() override { playback_.Start(lengthMs_); }
  bool PositionBeforeEnd() const override { return playback_.IsPlaying(); }
  void Stop() override { playback_.Stop(); }
  void SetVolume(double) override {}

 private:
  double lengthMs_;
  ClockPlayback playback_;
};

class ClockBackend final : public AudioBackend {
 public:
  ClockBackend(bool playsSounds, std::string description)
      : playsSounds_(playsSounds), description_(std::move(description)) {}

  bool PlaysSounds() const override { return playsSounds_; }

  std::shared_ptr<const SampleSet> PrepareSamples(const WaveSound&,
                                                  const PcmLayout& layout) override {
    if (!playsSounds_) return nullptr;
    return std::make_shared<ClockSamples>(layout.DurationMs());
  }

  std::unique_ptr<Voice> CreateVoice(std::shared_ptr<const SampleSet> samples) override {
    if (!playsSounds_ || !samples) return nullptr;
    return std::make_unique<ClockVoice>(std::move(samples));
  }

  std::unique_ptr<MusicPiece> OpenMusic(files::MemoryBlock bytes, std::string* problem) override {
    const auto length = bytes ? MusicLengthFromBytes(*bytes) : std::nullopt;
    if (!length) {
      *problem = "neither MPEG audio nor a WAVE file";
      return nullptr;
    }
    return std::make_unique<ClockMusic>(*length);
  }

  std::string Describe() const override { return description_; }

 private:
  bool playsSounds_;
  std::string description_;
};

}  // namespace

std::unique_ptr<AudioBackend> MakeClockBackend(bool playsSounds, std::string description) {
  return std::make_unique<ClockBackend>(playsSounds, std::move(description));
}

}  // namespace zrb::audio
