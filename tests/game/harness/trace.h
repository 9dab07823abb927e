// Reading a --trace file back: one JSON object per presented frame, read by field name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tundrel::testing {

// One trace line. The engine and the game write flat fields, two small objects ("p1",
// "p2") and two arrays of texts ("sounds", "music"); names do not repeat inside an object.
class TraceFrame {
 public:
  explicit TraceFrame(std::string line) : line_(std::move(line)) {}

  // A number field, in the object `inside` ("" for the top level). NaN when absent.
  double Number(std::string_view name, std::string_view inside = {}) const;
  long Int(std::string_view name, std::string_view inside = {}) const {
    return static_cast<long>(Number(name, inside));
  }
  // A text field of the top level ("" when absent).
  std::string Text(std::string_view name) const;
  // True when the array field holds the text.
  bool ListHas(std::string_view list, std::string_view text) const;
  const std::string& Line() const { return line_; }

 private:
  // The text after `"name":` within the scope, or npos.
  size_t ValueAt(std::string_view name, std::string_view inside) const;
  std::string line_;
};

std::vector<TraceFrame> ReadTrace(const std::string& path);

}  // namespace tundrel::testing
