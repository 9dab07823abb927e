// A replay: everything a run took from outside that decides what the game does, so that
// playing it again reproduces the game exactly whatever the timing of the machine that plays it:
// the seed, the files the game started from, every change of the input placed by the sample at
// which the game met it, and the answers that depend on real time (the clock the key tests
// read, whether a sound or the music still plays).
//
// Positions count the run's samples: every input poll of the game, every frame sample, every
// presented frame and wait, every answer of the clock or the sound. A change of the input is
// placed at the sample whose pump delivered it ("N"), or just after sample N when it came
// between two samples ("N.5"); an answer at the sample that gave it. These counts follow the
// game's own steps, which the replayed input reproduces, so they are the same in every run of
// the replay; real time only ever enters through the recorded answers.
//
// The file is an input script with a header:
//   #replay 1                              first of the header's lines
//   #run tundrel                           the program (as a recorded run names it)
//   #version 1.0 (7d1c9a4e)                the build that recorded it; no other plays it
//   #seed 123
//   #clock real                            or virtual: a headless run, whose answers the
//                                          samples give again by themselves (played headless)
//   #sound none                            only when the run had no sound device
//   #file settings.cfg 0001000000000000    a file the game started from, in hex
//   <pos> key|joy|close|focus ...          as in an input script, at a position
//   <pos> time <ms>                        the sample clock the game read
//   <pos> sound <channel> 0|1              whether that channel still played
//   <pos> music 0|1                        whether the music still played
//   <n> stopped <channel> 0|1              whether a sound the game stopped still played, at
//                                          the game's n-th stop of a channel (stops are counted
//                                          apart from the samples: the trace shows them, the
//                                          game never reads them)
//   <pos> end                              where the run ended
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/platform/input_script.h"

namespace zrb::platform {

// kStopped: whether a sound that the game stopped still played (the trace shows it).
enum class ReplayAnswerKind { kTime, kSound, kMusic, kStopped };

struct ReplayAnswer {
  double position = 0;
  ReplayAnswerKind kind = ReplayAnswerKind::kTime;
  int channel = 0;
  double value = 0;
};

struct Replay {
  std::string program;
  std::string version;
  uint32_t seed = 0;
  // Recorded on the real clock, with its answers; a headless run's virtual clock gives the
  // same answers again by itself when the replay is played headless.
  bool realClock = true;
  // Whether the run played sounds ("#sound none": it had no device).
  bool sound = true;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  std::vector<ScriptEvent> events;  // ms holds the position
  std::vector<ReplayAnswer> answers;
  std::vector<ReplayAnswer> stops;  // kStopped, positioned by the count of stops
  double endPosition = -1;          // -1: none given
};

// Replays larger than this are neither read nor kept (about nine hours of steady play).
inline constexpr size_t kMaxReplayBytes = 64u << 20;

// True when the text has a "#replay" line before its first input line: a replay, not a script.
bool LooksLikeReplay(std::string_view text);

// Parses a whole replay. On the first problem: false, and *error reads "<source>: <what>" or
// "<source>:<line>: <what>".
bool ParseReplay(std::string_view text, std::string_view source, Replay* replay,
                 std::string* error);

// Reads a replay file (a regular file only, never more than kMaxReplayBytes) and parses it.
// `program` and `version` are this build's: a replay of another program or build is refused.
// On a problem: false with a message naming the file.
bool LoadReplayFile(const std::string& path, std::string_view program, std::string_view version,
                    Replay* replay, std::string* error);

// Whether the file is a regular file holding a replay (not a script, a pipe or a missing file:
// the script reader says what is wrong with those). LoadReplayFile reads and checks it whole.
bool IsReplayFile(const std::string& path);

enum class ReplayMode { kOff, kRecording, kPlaying };
ReplayMode CurrentReplayMode();
inline bool PlayingReplay() {
  return CurrentReplayMode() == ReplayMode::kPlaying;
}

// Starts recording from position 0, or playing `replay` from position 0; StopReplay ends both.
void StartRecording(std::string_view program, std::string_view version, uint32_t seed,
                    bool realClock);
void StartPlayback(Replay replay);
void StopReplay();

// The sample counter: a sample's pump runs between BeginSample and EndSample; CountStep counts
// a sample without a pump (a presented frame, a wait).
void BeginSample();
void EndSample();
void CountStep();

// Recording: a change of the input at the current position (within the sample, or after it).
void RecordInput(const ScriptEvent& event);
// Recording: a change the game read at the last sample (the joypad, read after the pump).
void RecordInputAtSample(const ScriptEvent& event);

// An answer that depends on real time, counted as a sample. Recording: notes `live` when it
// differs from the last answer of its kind (and channel) and returns it. Playing: the recorded
// answer (`live` when the replay holds none).
double AnswerForReplay(ReplayAnswerKind kind, int channel, double live);

// Whether a sound the game stops still played: the game never reads it, its trace shows it. The
// stops are counted on their own, so the samples' positions stay as they were.
bool StoppedSoundAnswer(int channel, bool live);

// Playing: the next input change due at the current position; each is delivered once.
bool TakeDueReplayEvent(ScriptEvent* event);
// Playing: every input change delivered (true when not playing).
bool ReplayInputExhausted();
// Playing: the run went on past the position the recorded one ended at.
bool ReplayPassedItsEnd();
// Playing: the run is at the position the recorded one ended at.
bool ReplayAtItsEnd();

// Recording: whether the run plays sounds. Playing: whether the recorded one did.
void NoteReplaySound(bool playsSounds);
bool ReplayHadSound();

// Recording: a file the game started from goes into the header. Playing: that file's bytes.
void KeepStartFile(std::string_view name, std::vector<uint8_t> bytes);
bool ReplayStartFile(std::string_view name, std::vector<uint8_t>* bytes);

// Recording: the whole replay up to now, its end line included. Empty when it outgrew
// kMaxReplayBytes (then it is not kept).
std::string RecordedReplayText();

}  // namespace zrb::platform
