// What the player sets from outside the menus: the joypad from the command line, the display
// mode with Alt+Enter.
#pragma once

namespace tundrel {

// --joypad on|off, once the settings are loaded: sets joypadEnabled and, when that changes it,
// stores the settings at once, so the choice holds however the run ends.
void ApplyJoypadOption();

// Switches between window and full screen as the settings menu's line does; the engine calls
// it for Alt+Enter.
void ToggleFullScreen();

}  // namespace tundrel
