// Reading a --draw-log file back: the calls of each presented frame, and the texts the
// bitmap-font printer drew in it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tundrel::testing {

struct DrawCall {
  std::string op;  // "DrawAnim", "DrawSprite", "ClearScreen", "SetAlphaMode", ...
  std::vector<double> args;
};

struct DrawFrame {
  long number = 0;
  std::vector<DrawCall> calls;

  // Font glyphs (DrawAnim of slot 3) by pixel row, each row read left to right through
  // fontChars; a column without a glyph reads as a blank. A row starts at its first glyph.
  std::map<int, std::string> TextRows() const;
  // The text printed at pixel row y ("" when none).
  std::string TextAt(int y) const;
  // The column (x / 16) of the first glyph at pixel row y, or -1.
  int TextColumnAt(int y) const;
  bool Has(const std::string& op, const std::vector<double>& args) const;
  int Count(const std::string& op) const;
};

// Frames in order; calls after the last "frame N" line (not presented) are dropped.
std::vector<DrawFrame> ReadDrawLog(const std::string& path);

}  // namespace tundrel::testing
