#include "engine/frame/trace_writer.h"

#include <cmath>
#include <cstdio>

#include "engine/values/float_text.h"

namespace zrb {

TraceWriter::TraceWriter() {
  Open('{', {});
}

void TraceWriter::Key(std::string_view name) {
  if (!firstInScope_) text_ += ',';
  firstInScope_ = false;
  if (scopes_.empty() || scopes_.back() == '{') {
    text_ += JsonQuoted(name);
    text_ += ':';
  }
}

void TraceWriter::Int(std::string_view name, int64_t value) {
  Key(name);
  text_ += std::to_string(value);
}

void TraceWriter::Double(std::string_view name, double value) {
  Key(name);
  if (!std::isfinite(value)) {
    text_ += "null";
    return;
  }
  char buffer[32];
  char* end = values::FormatShortest(buffer, buffer + sizeof buffer, value);
  text_.append(buffer, end);
}

void TraceWriter::Fixed(std::string_view name, double value, int decimals) {
  Key(name);
  if (!std::isfinite(value)) {
    text_ += "null";
    return;
  }
  char buffer[64];
  char* end = values::FormatFixed(buffer, buffer + sizeof buffer, value, decimals);
  if (!end) {
    text_ += "null";
    return;
  }
  text_.append(buffer, end);
}

void TraceWriter::String(std::string_view name, std::string_view value) {
  Key(name);
  text_ += JsonQuoted(value);
}

void TraceWriter::Open(char bracket, std::string_view name) {
  if (!scopes_.empty()) Key(name);
  text_ += bracket;
  scopes_.push_back(bracket);
  firstInScope_ = true;
}

void TraceWriter::Close(char bracket) {
  // Only the innermost scope of the matching kind closes; the outermost object stays for
  // Finish, so a game that ends one scope too many cannot break the line.
  if (scopes_.size() <= 1 || scopes_.back() != bracket) return;
  scopes_.pop_back();
  text_ += bracket == '{' ? '}' : ']';
  firstInScope_ = false;
}

void TraceWriter::BeginObject(std::string_view name) {
  Open('{', name);
}

void TraceWriter::EndObject() {
  Close('{');
}

void TraceWriter::BeginArray(std::string_view name) {
  Open('[', name);
}

void TraceWriter::EndArray() {
  Close('[');
}

std::string TraceWriter::Finish() {
  while (!scopes_.empty()) {
    text_ += scopes_.back() == '{' ? '}' : ']';
    scopes_.pop_back();
  }
  std::string done = std::move(text_);
  text_.clear();
  Open('{', {});
  return done;
}

std::string JsonQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c < 0x20 || c >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      quoted += escape;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  quoted += '"';
  return quoted;
}

}  // namespace zrb
