// Reading a --trace file back: one JSON object per presented frame.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tundrel::testing {

// Just enough JSON for trace lines: objects, arrays, strings, numbers, true/false/null.
struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  double number = 0;
  bool boolean = false;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> fields;

  // The field, or a null value when there is none.
  const JsonValue& operator[](const std::string& name) const;
  bool Has(const std::string& name) const { return fields.count(name) != 0; }
  long Int() const { return static_cast<long>(number); }
  // True when an array holds the string.
  bool Contains(const std::string& value) const;
};

// Throws std::runtime_error on malformed text.
JsonValue ParseJson(const std::string& text);

using TraceFrame = JsonValue;
std::vector<TraceFrame> ReadTrace(const std::string& path);

}  // namespace tundrel::testing
