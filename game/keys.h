// The keys the game reads, by the scan code KeyState takes.
#pragma once

#include <cstdint>

namespace tundrel {

inline constexpr int32_t kKeyEscape = 1;
inline constexpr int32_t kKeyTab = 15;
inline constexpr int32_t kKeyY = 21;
inline constexpr int32_t kKeyEnter = 28;
inline constexpr int32_t kKeyLeftCtrl = 29;
inline constexpr int32_t kKeyN = 49;
inline constexpr int32_t kKeySpace = 57;
inline constexpr int32_t kKeyUp = 200;
inline constexpr int32_t kKeyLeft = 203;
inline constexpr int32_t kKeyRight = 205;
inline constexpr int32_t kKeyDown = 208;

// 1 while the key is down.
bool KeyDown(int32_t code);
// Waits, presenting nothing, until the key is up.
void WaitKeyUp(int32_t code);

}  // namespace tundrel
