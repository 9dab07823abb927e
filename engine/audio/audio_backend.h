// What the slot and music logic needs of an output. Two outputs exist: the SDL_mixer device,
// and the clock output (headless runs, and music tracking when no device could be opened),
// which plays nothing audible but keeps the same timing on the engine clock.
#pragma once

#include <memory>
#include <string>

#include "engine/audio/gain.h"
#include "engine/audio/pcm_layout.h"
#include "engine/audio/wave_file.h"
#include "engine/files/memory_files.h"

namespace zrb::audio {

// One effect's samples in the output's own form. Shared by every buffer of a slot.
class SampleSet {
 public:
  virtual ~SampleSet() = default;
  virtual double DurationMs() const = 0;
};

// One playback buffer of a slot: plays its samples once from the start.
class Voice {
 public:
  virtual ~Voice() = default;
  virtual bool Start(const ChannelGains& gains) = 0;
  virtual bool IsPlaying() const = 0;
  // Stops and rewinds; the next start plays from the beginning.
  virtual void Stop() = 0;
};

// The current piece of music, played from its bytes in memory.
class MusicPiece {
 public:
  virtual ~MusicPiece() = default;
  // Milliseconds; 0 when the length cannot be read.
  virtual double LengthMs() const = 0;
  virtual void PlayFromStart() = 0;
  // True while the play position lies before the end.
  virtual bool PositionBeforeEnd() const = 0;
  virtual void Stop() = 0;
  virtual void SetVolume(double volume) = 0;
};

class AudioBackend {
 public:
  virtual ~AudioBackend() = default;
  // False when there is no output for effects: every slot then stays empty.
  virtual bool PlaysSounds() const = 0;
  // Nothing when the output cannot take these samples.
  virtual std::shared_ptr<const SampleSet> PrepareSamples(const WaveSound& sound,
                                                          const PcmLayout& layout) = 0;
  // Nothing when no further buffer can be had.
  virtual std::unique_ptr<Voice> CreateVoice(std::shared_ptr<const SampleSet> samples) = 0;
  // Plays straight from `bytes`, which the piece keeps, so no file has to be written
  // anywhere. Nothing, with the reason in `problem`, when the bytes cannot be played as music.
  virtual std::unique_ptr<MusicPiece> OpenMusic(files::MemoryBlock bytes, std::string* problem) = 0;
  // A line for the log: the driver and format, or why there is no device.
  virtual std::string Describe() const = 0;
};

}  // namespace zrb::audio
