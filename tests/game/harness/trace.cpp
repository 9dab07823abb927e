#include "game/harness/trace.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace tundrel::testing {
namespace {

std::string Key(std::string_view name) {
  return "\"" + std::string(name) + "\":";
}

}  // namespace

size_t TraceFrame::ValueAt(std::string_view name, std::string_view inside) const {
  size_t from = 0;
  size_t to = line_.size();
  if (!inside.empty()) {
    from = line_.find(Key(inside) + "{");
    if (from == std::string::npos) return std::string::npos;
    to = line_.find('}', from);
  }
  const std::string key = Key(name);
  // A key is preceded by '{' or ',' (a text value can hold neither followed by a key).
  for (size_t at = line_.find(key, from); at != std::string::npos && at < to;
       at = line_.find(key, at + 1)) {
    if (at > 0 && (line_[at - 1] == '{' || line_[at - 1] == ',')) return at + key.size();
  }
  return std::string::npos;
}

double TraceFrame::Number(std::string_view name, std::string_view inside) const {
  const size_t at = ValueAt(name, inside);
  if (at == std::string::npos) return std::nan("");
  return std::strtod(line_.c_str() + at, nullptr);
}

std::string TraceFrame::Text(std::string_view name) const {
  const size_t at = ValueAt(name, {});
  if (at == std::string::npos || line_[at] != '"') return "";
  return line_.substr(at + 1, line_.find('"', at + 1) - at - 1);
}

bool TraceFrame::ListHas(std::string_view list, std::string_view text) const {
  const size_t at = ValueAt(list, {});
  if (at == std::string::npos || line_[at] != '[') return false;
  const std::string items = line_.substr(at, line_.find(']', at) - at);
  return items.find("\"" + std::string(text) + "\"") != std::string::npos;
}

std::vector<TraceFrame> ReadTrace(const std::string& path) {
  std::vector<TraceFrame> frames;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) frames.emplace_back(line);
  }
  return frames;
}

}  // namespace tundrel::testing
