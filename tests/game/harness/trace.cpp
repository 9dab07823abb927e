#include "game/harness/trace.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace tundrel::testing {
namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value();
    Blanks();
    if (at_ != text_.size()) Fail("text after the value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string("JSON: ") + what + " at " + std::to_string(at_));
  }
  void Blanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r'))
      ++at_;
  }
  bool Take(char c) {
    Blanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail("unexpected character");
  }
  bool Word(const char* word) {
    const std::string w(word);
    if (text_.compare(at_, w.size(), w) != 0) return false;
    at_ += w.size();
    return true;
  }

  std::string String() {
    Expect('"');
    std::string out;
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (c == '\\') {
        if (at_ >= text_.size()) Fail("cut escape");
        const char e = text_[at_++];
        switch (e) {
          case 'n':
            c = '\n';
            break;
          case 't':
            c = '\t';
            break;
          case 'r':
            c = '\r';
            break;
          case 'u':
            if (at_ + 4 > text_.size()) Fail("cut escape");
            c = static_cast<char>(std::strtol(text_.substr(at_, 4).c_str(), nullptr, 16));
            at_ += 4;
            break;
          default:
            c = e;
            break;
        }
      }
      out += c;
    }
    Expect('"');
    return out;
  }

  JsonValue Value() {
    Blanks();
    if (at_ >= text_.size()) Fail("missing value");
    JsonValue value;
    const char c = text_[at_];
    if (c == '{') {
      value.kind = JsonValue::Kind::kObject;
      ++at_;
      if (Take('}')) return value;
      do {
        std::string name = String();
        Expect(':');
        value.fields[name] = Value();
      } while (Take(','));
      Expect('}');
    } else if (c == '[') {
      value.kind = JsonValue::Kind::kArray;
      ++at_;
      if (Take(']')) return value;
      do
        value.items.push_back(Value());
      while (Take(','));
      Expect(']');
    } else if (c == '"') {
      value.kind = JsonValue::Kind::kString;
      value.text = String();
    } else if (Word("true") || Word("false")) {
      value.kind = JsonValue::Kind::kBool;
      value.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
    } else if (Word("null")) {
      value.kind = JsonValue::Kind::kNull;
    } else {
      char* end = nullptr;
      value.number = std::strtod(text_.c_str() + at_, &end);
      if (end == text_.c_str() + at_) Fail("not a value");
      value.kind = JsonValue::Kind::kNumber;
      at_ = static_cast<size_t>(end - text_.c_str());
    }
    return value;
  }

  const std::string& text_;
  size_t at_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& name) const {
  static const JsonValue kNone;
  const auto found = fields.find(name);
  return found == fields.end() ? kNone : found->second;
}

bool JsonValue::Contains(const std::string& value) const {
  for (const JsonValue& item : items) {
    if (item.kind == Kind::kString && item.text == value) return true;
  }
  return false;
}

JsonValue ParseJson(const std::string& text) {
  return Parser(text).Document();
}

std::vector<TraceFrame> ReadTrace(const std::string& path) {
  std::vector<TraceFrame> frames;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) frames.push_back(ParseJson(line));
  }
  return frames;
}

}  // namespace tundrel::testing
