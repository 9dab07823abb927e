#include "game/harness/draw_log.h"

#include <fstream>
#include <sstream>

namespace tundrel::testing {
namespace {

constexpr int kFontSlot = 3;
const std::string kFontChars = " !|=%##,#####+*/0123456789:.-()?'abcdefghijklmnopqrstuvwxyz&";

// Column -> character of the glyphs at one pixel row.
std::map<int, std::map<int, char>> Glyphs(const DrawFrame& frame) {
  std::map<int, std::map<int, char>> rows;
  for (const DrawCall& call : frame.calls) {
    if (call.op != "DrawAnim" || call.args.size() != 4 || call.args[0] != kFontSlot) continue;
    const int glyph = static_cast<int>(call.args[1]);
    const char c =
        glyph >= 0 && glyph < static_cast<int>(kFontChars.size()) ? kFontChars[glyph] : '?';
    rows[static_cast<int>(call.args[3])][static_cast<int>(call.args[2]) / 16] = c;
  }
  return rows;
}

}  // namespace

std::map<int, std::string> DrawFrame::TextRows() const {
  std::map<int, std::string> texts;
  for (const auto& [y, columns] : Glyphs(*this)) {
    std::string text;
    int next = columns.begin()->first;
    for (const auto& [column, c] : columns) {
      text.append(static_cast<size_t>(column - next), ' ');
      text += c;
      next = column + 1;
    }
    texts[y] = text;
  }
  return texts;
}

std::string DrawFrame::TextAt(int y) const {
  const auto rows = TextRows();
  const auto found = rows.find(y);
  return found == rows.end() ? std::string() : found->second;
}

int DrawFrame::TextColumnAt(int y) const {
  const auto rows = Glyphs(*this);
  const auto found = rows.find(y);
  return found == rows.end() ? -1 : found->second.begin()->first;
}

bool DrawFrame::Has(const std::string& op, const std::vector<double>& args) const {
  for (const DrawCall& call : calls) {
    if (call.op == op && call.args == args) return true;
  }
  return false;
}

int DrawFrame::Count(const std::string& op) const {
  int count = 0;
  for (const DrawCall& call : calls)
    count += call.op == op ? 1 : 0;
  return count;
}

std::vector<DrawFrame> ReadDrawLog(const std::string& path) {
  std::vector<DrawFrame> frames;
  std::ifstream in(path);
  std::string line;
  DrawFrame current;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    DrawCall call;
    words >> call.op;
    if (call.op == "frame") {
      words >> current.number;
      frames.push_back(std::move(current));
      current = DrawFrame{};
      continue;
    }
    for (double value; words >> value;)
      call.args.push_back(value);
    current.calls.push_back(std::move(call));
  }
  return frames;
}

}  // namespace tundrel::testing
