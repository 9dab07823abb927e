// The screens outside a game: title, main menu, instructions, settings, credits, and the two
// confirmations.
#pragma once

#include <cstdint>

namespace tundrel {

// Runs until the player confirms leaving the program (quitRequested is 1).
void MainMenu();
void InstructionsScreen();
void SettingsMenu();
void CreditsScreen();
// Mode 1: leave the program (from the menu). Mode 2: leave the current game.
void ConfirmExit(int32_t mode);

// The keys released since the previous poll.
int32_t PollReleasedKeys();
// Waits for a complete key press and release.
void KeyReleaseWait();

}  // namespace tundrel
