// A path the program holds as UTF-8 text, as a std::filesystem path and back. A path made from
// a plain std::string is read in the system's own narrow encoding, which on Windows is not
// UTF-8: a folder with letters beyond ASCII would name another. On POSIX both are the bytes.
#pragma once
#include <filesystem>
#include <string>

namespace zrb::platform {

inline std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string TextOf(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace zrb::platform
