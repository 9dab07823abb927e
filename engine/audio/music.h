// One piece of music at a time, played once or looped. Looping follows the engine clock: the
// piece is restarted when its length has passed (at least 500 ms), by MusicLoopStep.
#pragma once

#include <cstdint>
#include <string_view>

namespace zrb {

// Stops what plays, resolves `file` through the secondary archive slot and plays it from its
// bytes in memory (a file on disk is read whole; no temporary file is written) from the start
// at full volume; loop 0 plays it once, any other value loops it. A name that cannot be found
// or played leaves nothing playing, adds the trace event "fail NAME", and is reported once on
// standard error and in the log.
void PlayMusic(std::string_view file, int32_t loop);

// Stops and closes the current piece; nothing happens when none plays.
void StopMusic();

// 1 for a looping piece until it is stopped; for a piece played once, 1 while its play
// position lies before its end. 0 when nothing plays.
int32_t MusicPlaying();

// 0..1; applied to the current piece when it differs from the last volume set.
void SetMusicVolume(double volume);

}  // namespace zrb
