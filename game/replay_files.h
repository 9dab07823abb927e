// The replays kept for the player beside the settings: the last game, the game of the current
// high score and the one before it, in a "replays" folder.
#pragma once

#include <string>

namespace tundrel {

inline constexpr const char* kLastReplay = "last.tundrel-replay";
inline constexpr const char* kBestReplay = "best.tundrel-replay";
inline constexpr const char* kPreviousBestReplay = "previous-best.tundrel-replay";

// The start of a run, once the settings are in force: they go into the replay, and the high
// score to beat is noted.
void NoteReplayStart();

// The end of each game and of the recorded run: the run so far kept as the last game, and as
// the best when it set a new high score (the best before the run kept as the previous best, once
// a run). Each file is written whole or not at all; a problem is reported and changes nothing
// else.
void KeepReplay(const std::string& replay);

}  // namespace tundrel
