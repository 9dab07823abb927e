// The recorded form of a run, kept in the repository beside its script: the exit status, the
// frame count, the files the run is checked for, and per frame only what a prediction from the
// frames before it gets wrong. A value is predicted to stay as it was, or, once it has moved by
// the same step for three frames, to go on moving (the engine clock, the round timer, a walking
// spider); the trace's sound and music lists are predicted empty. A line holds the frame's
// index and tab-separated changes to the prediction:
//
//   name=value   a trace field          @i=CALL   draw call i replaced
//   @i.k=WORD    word k of call i       -i        call i removed
//   +i=CALL      a call inserted before the predicted call i
//
// Call indexes count the predicted calls. Calls are lined up by kind (operation and slot), so a
// sprite that appears costs one token, not the calls after it.
#pragma once

#include <optional>
#include <string>

#include "recorded/run_frames.h"

namespace tundrel::recorded {

std::string Encode(const Outcome& outcome, const std::string& header);

// The outcome a recording holds; nullopt (and the reason in `error`) for a damaged one.
std::optional<Outcome> Decode(const std::string& text, std::string& error);

// Where `actual` first parts from `expected`: the frame, the field or draw call, both values.
// Empty when they agree.
std::string FirstDifference(const Outcome& expected, const Outcome& actual);

}  // namespace tundrel::recorded
