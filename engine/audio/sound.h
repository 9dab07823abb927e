// Sound effects in 4096 numbered slots, each with one to four playback buffers that share one
// set of samples, so a slot can sound that many times at once.
#pragma once

#include <cstdint>
#include <string_view>

namespace zrb {

inline constexpr int32_t kSoundSlotCount = 4096;
inline constexpr int32_t kMaxSoundBuffers = 4;

// Loads a RIFF WAVE file (name resolved through the primary archive slot) into `slot`
// (above 4095 means 4095) with `bufferCount` buffers (clamped to 1..4). The slot is emptied
// first; it stays empty when there is no device or the file cannot be read or decoded.
void LoadSound(std::string_view file, int32_t slot, int32_t bufferCount = 1);

// Plays the slot once. Pan -1 (left) .. 1 (right), volume 0..1; both clamped. Returns the
// channel number slot × 256 + buffer, or -1 when nothing plays (empty slot, or its only
// buffer still sounding).
int32_t PlaySound(int32_t slot, double pan = 0.0, double volume = 1.0);

// 1 while the buffer named by the channel number plays, else 0 (also for negative numbers).
int32_t SoundPlaying(int32_t channel);

// Stops and rewinds that buffer; a buffer index beyond the slot's buffers stops them all.
// Negative numbers do nothing.
void StopSound(int32_t channel);

// Stops every buffer of every slot.
void StopAllSounds();

// The lowest slot number that holds no sound, or -1 when all are taken.
int32_t FreeSoundSlot();

}  // namespace zrb
