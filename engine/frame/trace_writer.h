// The per-frame trace: one JSON object per presented frame. The engine writes "frame" and
// "ms", the game adds its own fields through a TraceWriter, and the engine closes the object
// with the "sounds" and "music" started or stopped since the previous frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zrb {

class TraceWriter {
 public:
  TraceWriter();

  // A named field of the current object. Inside an array the name is not written.
  void Int(std::string_view name, int64_t value);
  // Shortest text that reads back as the same double; NaN and infinities are written as null.
  void Double(std::string_view name, double value);
  void String(std::string_view name, std::string_view value);

  // Nested objects and arrays; each Begin needs its End (Finish closes what is left open).
  void BeginObject(std::string_view name = {});
  void EndObject();
  void BeginArray(std::string_view name);
  void EndArray();

  // Engine side: a field with a fixed number of decimals (the frame time).
  void Fixed(std::string_view name, double value, int decimals);
  // Closes every open scope and hands out the text; the writer is empty afterwards.
  std::string Finish();

 private:
  void Key(std::string_view name);
  void Open(char bracket, std::string_view name);
  void Close(char bracket);

  std::string text_;
  std::vector<char> scopes_;  // '{' or '['
  bool firstInScope_ = true;
};

// JSON string literal of an 8-bit text (bytes 0x80 and up are taken as Latin-1).
std::string JsonQuoted(std::string_view text);

}  // namespace zrb
