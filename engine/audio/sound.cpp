#include "engine/audio/sound.h"

#include <cstdio>
#include <string>

#include "engine/audio/audio_state.h"
#include "engine/audio/pcm_layout.h"
#include "engine/audio/wave_file.h"
#include "engine/files/resolver.h"
#include "engine/platform/log_file.h"
#include "engine/platform/replay.h"
#include "engine/values/shown_text.h"

namespace zrb {
namespace {

using audio::SoundSlot;
using audio::State;

constexpr int32_t kChannelsPerSlot = 256;

int32_t ClampSlot(int32_t slot) {
  return slot > kSoundSlotCount - 1 ? kSoundSlotCount - 1 : slot;
}

// The slot a channel number names, or nothing for numbers outside the table.
SoundSlot* SlotOfChannel(int32_t channel) {
  if (channel < 0) return nullptr;
  const int32_t slot = channel / kChannelsPerSlot;
  if (slot >= kSoundSlotCount) return nullptr;
  return &State().slots[slot];
}

void RecordSound(const char* what, int32_t slot) {
  State().soundEvents.Add(std::string(what) + " " + std::to_string(slot));
}

void ReportRefused(std::string_view name, const char* why) {
  const std::string text = "sound " + ShownText(name) + " not loaded: " + why;
  std::fprintf(stderr, "%s\n", text.c_str());
  platform::AppendLogLine(text);
}

// Decodes the file into the slot's first buffer and duplicates it; the slot stays empty when
// any step fails.
void FillSlot(SoundSlot& slot, std::string_view file, const std::string& resolvedName,
              int32_t bufferCount) {
  audio::AudioBackend& backend = *State().backend;
  const auto bytes = files::ReadResolvedFile(resolvedName);
  if (!bytes) return;
  const auto wave = audio::ParseWave(*bytes);
  if (!wave) return;
  const auto layout = audio::DescribePcm(*wave);
  if (!layout) return;
  if (layout->frameCount > uint64_t{audio::kMaxSoundSeconds} * layout->sampleRate) {
    ReportRefused(file, "longer than 60 seconds");
    return;
  }
  auto samples = backend.PrepareSamples(*wave, *layout);
  if (!samples) return;
  for (int32_t i = 0; i < bufferCount; ++i) {
    auto voice = backend.CreateVoice(samples);
    if (!voice) break;  // fewer duplicates than asked for: the slot keeps what it got
    slot.buffers.push_back(std::move(voice));
  }
  slot.durationMs = samples->DurationMs();
}

// Whether a buffer the game stops still sounded follows real time (or the device): the trace
// shows it, so a replay keeps the answer.
bool StillSounding(int32_t channel, audio::Voice& buffer) {
  return platform::StoppedSoundAnswer(channel, buffer.IsPlaying());
}

}  // namespace

void LoadSound(std::string_view file, int32_t slot, int32_t bufferCount) {
  if (slot < 0) return;  // no such slot; the game never asks for one
  std::string resolved;
  // When the resolver answers 0 its result is used as it stands: the read then fails.
  files::Resolve(files::ArchiveSlot::kPrimary, file, resolved, /*asMemory=*/true);
  slot = ClampSlot(slot);
  SoundSlot& target = State().slots[slot];
  if (audio::EmptySlot(target)) RecordSound("stop", slot);
  if (bufferCount < 1) bufferCount = 1;
  if (bufferCount > kMaxSoundBuffers) bufferCount = kMaxSoundBuffers;
  if (!State().backend || !State().backend->PlaysSounds()) return;
  FillSlot(target, file, resolved, bufferCount);
  if (!target.buffers.empty()) target.sourceName.assign(file);
}

int32_t PlaySound(int32_t slot, double pan, double volume) {
  const audio::ChannelGains gains = audio::GainsFor(audio::LevelsFor(pan, volume));
  if (slot < 0) return -1;
  slot = ClampSlot(slot);
  SoundSlot& target = State().slots[slot];
  const auto count = static_cast<int32_t>(target.buffers.size());
  if (count == 0) return -1;
  int32_t index = target.nextBuffer;
  // Whether the buffer still sounds follows real time: a replay keeps the answer.
  const bool busy =
      platform::AnswerForReplay(platform::ReplayAnswerKind::kSound, slot * kChannelsPerSlot + index,
                                target.buffers[index]->IsPlaying() ? 1 : 0) != 0;
  if (busy) {
    if (count == 1) return -1;  // the one buffer keeps sounding
    index = (index + 1) % count;
    target.nextBuffer = index;
    target.buffers[index]->Stop();  // a busy buffer starts over
  }
  if (!target.buffers[index]->Start(gains)) return -1;
  RecordSound("play", slot);
  return slot * kChannelsPerSlot + index;
}

int32_t SoundPlaying(int32_t channel) {
  const SoundSlot* slot = SlotOfChannel(channel);
  if (!slot) return 0;
  const auto index = static_cast<size_t>(channel % kChannelsPerSlot);
  if (index >= slot->buffers.size()) return 0;
  // Whether a sound still plays follows real time (or the device): a replay keeps the answer.
  const int32_t playing = slot->buffers[index]->IsPlaying() ? 1 : 0;
  return static_cast<int32_t>(
      platform::AnswerForReplay(platform::ReplayAnswerKind::kSound, channel, playing));
}

void StopSound(int32_t channel) {
  SoundSlot* slot = SlotOfChannel(channel);
  if (!slot || slot->buffers.empty()) return;
  const auto index = static_cast<size_t>(channel % kChannelsPerSlot);
  const int32_t first = channel - channel % kChannelsPerSlot;
  bool stoppedSound = false;
  for (size_t i = 0; i < slot->buffers.size(); ++i) {
    if (index < slot->buffers.size() && i != index) continue;
    if (StillSounding(first + static_cast<int32_t>(i), *slot->buffers[i])) stoppedSound = true;
    slot->buffers[i]->Stop();
  }
  // Only a buffer that was heard makes an event: the game stops idle channels every frame.
  if (stoppedSound) RecordSound("stop", channel / kChannelsPerSlot);
}

void StopAllSounds() {
  for (int32_t slot = 0; slot < kSoundSlotCount; ++slot) {
    bool stoppedSound = false;
    auto& buffers = State().slots[slot].buffers;
    for (size_t i = 0; i < buffers.size(); ++i) {
      if (StillSounding(slot * kChannelsPerSlot + static_cast<int32_t>(i), *buffers[i]))
        stoppedSound = true;
      buffers[i]->Stop();
    }
    if (stoppedSound) RecordSound("stop", slot);
  }
}

int32_t FreeSoundSlot() {
  for (int32_t slot = 0; slot < kSoundSlotCount; ++slot) {
    if (State().slots[slot].buffers.empty()) return slot;
  }
  return -1;
}

}  // namespace zrb

namespace zrb::audio {

SoundSlotInfo DescribeSoundSlot(int32_t slot) {
  if (slot < 0 || slot >= kSoundSlotCount) return {};
  const SoundSlot& target = State().slots[slot];
  return {static_cast<int32_t>(target.buffers.size()), target.sourceName, target.durationMs};
}

}  // namespace zrb::audio
