#include "recorded/run_frames.h"

#include <fstream>

namespace tundrel::recorded {
namespace {

// Reads the flat JSON the trace writer makes: objects (flattened into "outer.inner" names),
// strings, and numbers and arrays kept as the text they are written in.
bool ReadObject(const std::string& text, size_t& pos, const std::string& prefix, Fields& fields) {
  const auto take = [&](char c) { return pos < text.size() && text[pos] == c && ++pos; };
  const auto quoted = [&](std::string& out) {
    if (!take('"')) return false;
    for (; pos < text.size() && text[pos] != '"'; ++pos)
      out += text[pos == text.size() - 1 || text[pos] != '\\' ? pos : ++pos];
    return take('"');
  };
  if (!take('{')) return false;
  if (take('}')) return true;
  do {
    std::string key, value;
    if (!quoted(key) || !take(':')) return false;
    const std::string name = prefix.empty() ? key : prefix + "." + key;
    if (pos < text.size() && text[pos] == '{') {
      if (!ReadObject(text, pos, name, fields)) return false;
      continue;
    }
    if (pos < text.size() && text[pos] == '"') {
      if (!quoted(value)) return false;
    } else {
      // A number, or an array of texts: up to the comma or brace outside quotes and brackets.
      const size_t start = pos;
      for (int depth = 0, inText = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '\\' && inText)
          ++pos;
        else if (c == '"')
          inText = !inText;
        else if (!inText && (c == '[' || c == ']'))
          depth += c == '[' ? 1 : -1;
        else if (!inText && depth == 0 && (c == ',' || c == '}'))
          break;
      }
      value = text.substr(start, pos - start);
      if (value.empty()) return false;
    }
    fields.emplace_back(name, value);
  } while (take(','));
  return take('}');
}

}  // namespace

const std::string* Frame::Field(const std::string& name) const {
  for (const auto& [key, value] : fields) {
    if (key == name) return &value;
  }
  return nullptr;
}

bool ReadTraceLine(const std::string& line, Fields& fields) {
  size_t pos = 0;
  return ReadObject(line, pos, "", fields);
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
