// Text from outside (a file name, a word of a script, a command-line value) as a message may
// quote it: short, and with every byte a terminal would act on written as an escape, so that
// neither its length nor its control characters reach the player's terminal or log.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zrb {

inline constexpr size_t kShownTextLength = 60;

// Printable ASCII as it stands, a backslash as "\\", tab, newline and carriage return as
// "\t", "\n", "\r", any other byte as "\xNN"; cut after `maxLength` bytes of the text with
// "..." and the number of bytes left out.
std::string ShownText(std::string_view text, size_t maxLength = kShownTextLength);

}  // namespace zrb
