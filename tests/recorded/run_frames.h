// What a headless run leaves, frame by frame: the trace's fields (nested objects flattened to
// "p1.x", arrays kept as their JSON text) and the draw calls of the draw log, one text each.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tundrel::recorded {

using Fields = std::vector<std::pair<std::string, std::string>>;

struct Frame {
  Fields fields;
  std::vector<std::string> calls;

  const std::string* Field(const std::string& name) const;
};

struct Outcome {
  // What the run left besides its frames, one line each: "exit N", "file NAME HEX" for each
  // file the run is checked for, and "out TEXT" and "err TEXT" for its output.
  std::vector<std::string> facts;
  std::vector<Frame> frames;
};

// One trace line as fields; false when it is not a JSON object.
bool ReadTraceLine(const std::string& line, Fields& fields);

// The trace and the draw log of one run, joined frame by frame (the draw log's frames are
// closed by "frame N" lines; calls after the last one were never presented).
std::vector<Frame> ReadRunFrames(const std::string& tracePath, const std::string& drawLogPath);

}  // namespace tundrel::recorded
