// Placeholder until the audio subsystem lands: the frame loop can already call it.
#include "engine/audio/audio_system.h"

namespace zrb::audio {

bool InitAudio(bool) { return false; }
void ShutdownAudio() {}
void MusicLoopStep() {}
AudioEvents TakeAudioEvents() { return {}; }

}  // namespace zrb::audio
