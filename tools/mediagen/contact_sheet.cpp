#include "tools/mediagen/contact_sheet.h"

#include <algorithm>
#include <string>

namespace mediagen {

namespace {

// 3 x 5 digits for the frame numbers, one row of bits per line.
constexpr unsigned char kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};

void DrawNumber(Image& img, int x, int y, int value, int scale, Rgba c) {
  std::string text = std::to_string(value);
  for (size_t k = 0; k < text.size(); ++k) {
    const unsigned char* d = kDigits[text[k] - '0'];
    for (int r = 0; r < 5; ++r)
      for (int b = 0; b < 3; ++b)
        if (d[r] & (4 >> b))
          img.FillRect(x + (static_cast<int>(k) * 4 + b) * scale, y + r * scale, scale, scale, c);
  }
}

}  // namespace

Image ContactSheet(const Image& strip, int fw, int fh, int scale, int frames) {
  int perRow = std::max(1, strip.width() / fw);
  int count = perRow * std::max(1, strip.height() / fh);
  if (frames >= 0) count = std::min(count, frames);
  // Wide frames go one to a row; small ones eight to a row.
  int columns = fw * scale >= 256 ? 1 : std::min(count, 8);
  const int label = 16 * 2, gap = 6;
  int cellW = label + fw * scale + gap, cellH = fh * scale + gap;
  int rows = (count + columns - 1) / columns;
  Image sheet(columns * cellW + gap, rows * cellH + gap, Rgba{24, 24, 32, 255});
  for (int n = 0; n < count; ++n) {
    int cx = gap + (n % columns) * cellW, cy = gap + (n / columns) * cellH;
    DrawNumber(sheet, cx, cy + 2, n, 2, Rgba{250, 220, 90, 255});
    int ox = cx + label, oy = cy;
    for (int j = 0; j < fh * scale; ++j)
      for (int i = 0; i < fw * scale; ++i) {
        bool light = ((i / 8) + (j / 8)) % 2 == 0;
        sheet.at(ox + i, oy + j) = light ? Rgba{70, 70, 84, 255} : Rgba{56, 56, 68, 255};
      }
    Image frame = strip.Crop((n % perRow) * fw, (n / perRow) * fh, fw, fh).Scaled(scale);
    sheet.Draw(frame, ox, oy);
  }
  return sheet;
}

}  // namespace mediagen
