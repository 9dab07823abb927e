// The real output: SDL's audio device through SDL_mixer. Every slot buffer gets a mixer
// channel of its own; the buffers of one slot share one block of converted samples.
#pragma once

#include <memory>
#include <string>

#include "engine/audio/audio_backend.h"

namespace zrb::audio {

// Opens the device at 22050 Hz, 16-bit stereo (SDL converts when the hardware differs).
// Nothing when SDL's audio cannot be started or no device opens; `failure` says why.
std::unique_ptr<AudioBackend> OpenMixerBackend(std::string& failure);

}  // namespace zrb::audio
