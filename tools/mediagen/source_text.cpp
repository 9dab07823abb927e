#include "tools/mediagen/source_text.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace mediagen {

SourceText SourceText::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError(path.string() + ": cannot be read");
  std::ostringstream content;
  content << in.rdbuf();
  return FromString(path.string(), content.str());
}

SourceText SourceText::FromString(std::string name, std::string_view content) {
  SourceText src;
  src.name_ = std::move(name);
  size_t start = 0;
  while (start <= content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string line(content.substr(start, end - start));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
      line.pop_back();
    }
    src.lines_.push_back(std::move(line));
    if (end == content.size()) break;
    start = end + 1;
  }
  return src;
}

void SourceText::Fail(size_t index, const std::string& message) const {
  throw SourceError(name_ + ":" + std::to_string(index + 1) + ": " + message);
}

void SourceText::FailWhole(const std::string& message) const {
  throw SourceError(name_ + ": " + message);
}

bool IsBlankOrComment(std::string_view line) {
  size_t i = line.find_first_not_of(" \t");
  if (i == std::string_view::npos) return true;
  return line[i] == '#' && (i + 1 == line.size() || line[i + 1] == ' ' || line[i + 1] == '\t');
}

std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    if (i >= line.size()) break;
    if (line[i] == '#' && (i + 1 == line.size() || line[i + 1] == ' ' || line[i + 1] == '\t')) {
      break;
    }
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) close = line.size();
      words.emplace_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    size_t end = i;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t')
      ++end;
    words.emplace_back(line.substr(i, end - i));
    i = end;
  }
  return words;
}

int ParseInt(const SourceText& src, size_t index, std::string_view word, int min, int max) {
  int value = 0;
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || ptr != word.data() + word.size()) {
    src.Fail(index, "expected a whole number, found \"" + std::string(word) + "\"");
  }
  if (value < min || value > max) {
    src.Fail(index, "number " + std::to_string(value) + " is outside " + std::to_string(min) +
                        ".." + std::to_string(max));
  }
  return value;
}

double ParseNumber(const SourceText& src, size_t index, std::string_view word, double min,
                   double max) {
  std::string text(word);
  char* end = nullptr;
  errno = 0;
  double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value)) {
    src.Fail(index, "expected a number, found \"" + text + "\"");
  }
  if (value < min || value > max) {
    std::ostringstream msg;
    msg << "number " << text << " is outside " << min << ".." << max;
    src.Fail(index, msg.str());
  }
  return value;
}

}  // namespace mediagen
