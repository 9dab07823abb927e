#include "recorded/run_frames.h"

#include <fstream>

namespace tundrel::recorded {
namespace {

// Reads the flat JSON the trace writer makes: objects, arrays (kept as text), strings, numbers.
class TraceParser {
 public:
  TraceParser(const std::string& text, Fields& fields) : text_(text), fields_(fields) {}

  bool Object(const std::string& prefix) {
    if (!Take('{')) return false;
    if (Take('}')) return true;
    do {
      std::string key;
      if (!String(key) || !Take(':')) return false;
      const std::string name = prefix.empty() ? key : prefix + "." + key;
      if (Peek() == '{') {
        if (!Object(name)) return false;
        continue;
      }
      std::string value;
      if (!Value(value)) return false;
      fields_.emplace_back(name, value);
    } while (Take(','));
    return Take('}');
  }

 private:
  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  bool String(std::string& out) {
    if (!Take('"')) return false;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      if (text_[pos_] == '\\') ++pos_;
      if (pos_ < text_.size()) out += text_[pos_++];
    }
    return Take('"');
  }
  // A string's contents, or the text of a number or an array as it stands.
  bool Value(std::string& out) {
    if (Peek() == '"') return String(out);
    const size_t start = pos_;
    int depth = 0;
    bool quoted = false;
    for (; pos_ < text_.size(); ++pos_) {
      const char c = text_[pos_];
      if (quoted) {
        if (c == '\\') ++pos_;
        if (c == '"') quoted = false;
      } else if (c == '"') {
        quoted = true;
      } else if (c == '[') {
        ++depth;
      } else if (c == ']') {
        --depth;
      } else if (depth == 0 && (c == ',' || c == '}')) {
        break;
      }
    }
    out = text_.substr(start, pos_ - start);
    return pos_ > start && depth == 0;
  }

  const std::string& text_;
  Fields& fields_;
  size_t pos_ = 0;
};

}  // namespace

const std::string* Frame::Field(const std::string& name) const {
  for (const auto& [key, value] : fields) {
    if (key == name) return &value;
  }
  return nullptr;
}

bool ReadTraceLine(const std::string& line, Fields& fields) {
  return TraceParser(line, fields).Object("");
}

std::vector<Frame> ReadRunFrames(const std::string& tracePath, const std::string& drawLogPath) {
  std::vector<Frame> frames;
  std::ifstream trace(tracePath);
  std::string line;
  while (std::getline(trace, line)) {
    Frame frame;
    if (!ReadTraceLine(line, frame.fields)) frame.fields = {{"unreadable trace line", line}};
    frames.push_back(std::move(frame));
  }
  std::ifstream drawLog(drawLogPath);
  size_t index = 0;
  std::vector<std::string> calls;
  while (std::getline(drawLog, line)) {
    if (line.rfind("frame ", 0) != 0) {
      calls.push_back(line);
      continue;
    }
    if (index == frames.size()) frames.emplace_back();
    frames[index++].calls = std::move(calls);
    calls.clear();
  }
  return frames;
}

}  // namespace tundrel::recorded
