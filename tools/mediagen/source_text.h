// Text sources of the media: line access, word splitting and number parsing, with every
// complaint carrying "file:line" so an artist can find the spot in an editor.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mediagen {

// A malformed source. what() reads "file:line: message" (or "file: message").
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SourceText {
 public:
  static SourceText Load(const std::filesystem::path& path);
  static SourceText FromString(std::string name, std::string_view content);

  const std::string& name() const { return name_; }
  size_t size() const { return lines_.size(); }
  // Line by index (0-based); trailing blanks and carriage returns are already removed.
  const std::string& line(size_t index) const { return lines_.at(index); }

  // Throws SourceError for the line at `index` (reported 1-based).
  [[noreturn]] void Fail(size_t index, const std::string& message) const;
  [[noreturn]] void FailWhole(const std::string& message) const;

 private:
  std::string name_;
  std::vector<std::string> lines_;
};

// True for an empty line and for a comment: "#" followed by a blank or the line's end.
bool IsBlankOrComment(std::string_view line);

// Splits on blanks; "double quoted text" stays one word (quotes removed). A word starting
// with "#" followed by a blank ends the line (trailing comment).
std::vector<std::string> SplitWords(std::string_view line);

// Parsers that report through the source's line.
int ParseInt(const SourceText& src, size_t index, std::string_view word, int min, int max);
double ParseNumber(const SourceText& src, size_t index, std::string_view word, double min,
                   double max);

}  // namespace mediagen
