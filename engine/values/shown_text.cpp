#include "engine/values/shown_text.h"

namespace zrb {

std::string ShownText(std::string_view text, size_t maxLength) {
  const std::string_view kept = text.substr(0, maxLength);
  std::string shown;
  shown.reserve(kept.size() + 16);
  for (const char c : kept) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      shown += "\\\\";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (byte < 0x20 || byte >= 0x7F) {
      constexpr char kDigits[] = "0123456789abcdef";
      shown += "\\x";
      shown += kDigits[byte >> 4];
      shown += kDigits[byte & 15];
    } else {
      shown += c;
    }
  }
  if (kept.size() < text.size()) {
    shown += "... (" + std::to_string(text.size() - kept.size()) + " more bytes)";
  }
  return shown;
}

}  // namespace zrb
