// The output of headless runs: nothing is heard, but every buffer "plays" for its samples'
// duration and every piece of music for its length, measured on the engine clock (virtual in a
// headless run). Without a sound device the same output keeps the music's timing while
// effects stay silent.
#pragma once

#include <memory>

#include "engine/audio/audio_backend.h"

namespace zrb::audio {

std::unique_ptr<AudioBackend> MakeClockBackend(bool playsSounds, std::string description);

}  // namespace zrb::audio
