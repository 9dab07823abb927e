// The bitmap-font printer, zero-padded numbers and the three status lines.
#include "game/text.h"

#include <array>
#include <string>

#include "engine/graphics/draw.h"
#include "engine/values/number_text.h"
#include "game/catalogue.h"
#include "game/state.h"

namespace tundrel {
namespace {

// fontChars looked up once: for every byte, the first frame that shows it.
std::array<int16_t, 256> BuildFrameTable() {
  std::array<int16_t, 256> table;
  table.fill(-1);
  const std::string_view order = fontChars;
  for (size_t frame = order.size(); frame-- > 0;) {
    table[static_cast<unsigned char>(order[frame])] = static_cast<int16_t>(frame);
  }
  return table;
}

char LowerCased(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const char* const makerNotice = "(c) frostmoss software";

int32_t FontFrame(char character) {
  static const std::array<int16_t, 256> table = BuildFrameTable();
  return table[static_cast<unsigned char>(LowerCased(character))];
}

void PrintText(std::string_view text, int32_t column, int32_t y) {
  for (size_t i = 0; i < text.size(); ++i) {
    const int32_t frame = FontFrame(text[i]);
    if (frame < 0) continue;
    zrb::DrawAnim(imgFont, frame, 16 * (column + static_cast<int32_t>(i)), y);
  }
}

EngineString PadDigits(int32_t value, int32_t n) {
  if (n <= 0) return EngineString();
  std::string padded(static_cast<size_t>(n), '0');
  padded += std::string_view(zrb::ToText(value));
  return EngineString(std::string_view(padded).substr(padded.size() - static_cast<size_t>(n)));
}

EngineString FrontStatusText() {
  return "score|" + PadDigits(score, 6) + " round|" + PadDigits(round, 2) + " high|" +
         PadDigits(highScore, 7);
}

EngineString QuitStatusText() {
  return "score|" + PadDigits(score, 6) + " time|" + PadDigits(timer / 60, 3) + " round|" +
         PadDigits(round, 2);
}

EngineString InGameStatusText() {
  return "score|" + PadDigits(score, 6) + " lives|" + lives + " time|" + timeText + " round|" +
         roundText;
}

void UpdateStatusDigits() {
  timeText = zrb::ToText(timer / 60);
  if (timeText.Length() == 1) timeText = "00" + timeText;
  if (timeText.Length() == 2) timeText = "0" + timeText;
  roundText = zrb::ToText(round);
  if (roundText.Length() == 1) roundText = "0" + roundText;
}

void DrawFrontStatus() {
  PrintText(FrontStatusText(), 3, 16);
}

void DrawQuitStatus() {
  PrintText(QuitStatusText(), 5, 16);
}

}  // namespace tundrel
