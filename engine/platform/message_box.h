// A modal message for the player, with a warning sign.
#pragma once

#include <string>

namespace zrb::platform {

// Blocks until the player dismisses it. False when no message box could be shown.
bool ShowWarningBox(const std::string& title, const std::string& text);

}  // namespace zrb::platform
