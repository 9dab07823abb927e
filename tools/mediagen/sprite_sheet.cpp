#include "tools/mediagen/sprite_sheet.h"

#include <algorithm>
#include <optional>
#include <set>

namespace mediagen {

namespace {

constexpr char kClear = '.';

struct Grid {
  int width = 0, height = 0;
  std::vector<std::string> rows;
  size_t firstLine = 0;  // source line of the first row, for complaints
  bool fromRows = false;
};

struct Gradient {
  int y0 = 0, y1 = 0;
  Rgba top, bottom;
};

struct Effect {
  char colour = 0;
  int dx = 0, dy = 0;
};

struct Sheet {
  const SourceText* src = nullptr;
  SpriteSheet out;
  int gridWidth = 0, gridHeight = 0, scale = 1, placeX = 0, placeY = 0, frameCount = -1;
  std::map<char, Rgba> palette;
  std::map<char, Gradient> gradients;
  std::optional<Effect> outline, shadow;
  bool outlineDiagonal = false;
  std::map<std::string, Grid> parts;
  std::map<int, Grid> frames;
  std::map<int, size_t> frameLine;
  std::set<int> plain;  // frames drawn without outline and shadow
};

bool IsNumber(const std::string& w) {
  return !w.empty() && std::all_of(w.begin(), w.end(), [](char c) { return c >= '0' && c <= '9'; });
}

char PaletteChar(const SourceText& src, size_t line, const std::string& word) {
  if (word.size() != 1 || word[0] == ' ')
    src.Fail(line, "a colour is named by one character, not \"" + word + "\"");
  return word[0];
}

Rgba Colour(const SourceText& src, size_t line, const std::string& word) {
  auto c = ParseColour(word);
  if (!c) src.Fail(line, "\"" + word + "\" is not a colour (write #rrggbb, #rrggbbaa or none)");
  return *c;
}

// Reads `height` grid rows starting at line `start`.
Grid ReadRows(const SourceText& src, size_t start, int width, int height) {
  Grid g;
  g.width = width;
  g.height = height;
  g.firstLine = start;
  g.fromRows = true;
  for (int r = 0; r < height; ++r) {
    size_t index = start + r;
    if (index >= src.size()) {
      src.Fail(src.size() - 1, "the grid ends after " + std::to_string(r) + " of " +
                                   std::to_string(height) + " rows");
    }
    std::string row = src.line(index);
    size_t lead = row.find_first_not_of(" \t");
    row = lead == std::string::npos ? std::string() : row.substr(lead);
    if (static_cast<int>(row.size()) != width) {
      src.Fail(index, "grid row has " + std::to_string(row.size()) + " characters, expected " +
                          std::to_string(width));
    }
    g.rows.push_back(row);
  }
  return g;
}

Grid Mirror(const Grid& g) {
  Grid out = g;
  for (auto& row : out.rows)
    std::reverse(row.begin(), row.end());
  return out;
}

Grid Flip(const Grid& g) {
  Grid out = g;
  std::reverse(out.rows.begin(), out.rows.end());
  return out;
}

Grid Move(const Grid& g, int dx, int dy) {
  Grid out = g;
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      int sx = x - dx, sy = y - dy;
      bool inside = sx >= 0 && sy >= 0 && sx < g.width && sy < g.height;
      out.rows[y][x] = inside ? g.rows[sy][sx] : kClear;
    }
  return out;
}

void Stamp(Grid& g, const Grid& part, int x0, int y0) {
  for (int y = 0; y < part.height; ++y)
    for (int x = 0; x < part.width; ++x) {
      char c = part.rows[y][x];
      int tx = x0 + x, ty = y0 + y;
      if (c != kClear && tx >= 0 && ty >= 0 && tx < g.width && ty < g.height) g.rows[ty][tx] = c;
    }
}

Grid Blank(int w, int h) {
  Grid g;
  g.width = w;
  g.height = h;
  g.rows.assign(h, std::string(w, kClear));
  return g;
}

// Applies the operations w[from..] to a grid: mirror, flip, move DX DY, swap PAIRS...,
// stamp PART X Y.
Grid ApplyOps(Sheet& s, size_t line, const std::vector<std::string>& w, size_t from, Grid g) {
  const SourceText& src = *s.src;
  g.fromRows = false;
  for (size_t i = from; i < w.size(); ++i) {
    const std::string& op = w[i];
    auto need = [&](size_t n) {
      if (i + n >= w.size()) {
        src.Fail(line, "\"" + op + "\" needs " + std::to_string(n) + " more value(s)");
      }
    };
    if (op == "mirror") {
      g = Mirror(g);
    } else if (op == "flip") {
      g = Flip(g);
    } else if (op == "move") {
      need(2);
      int dx = ParseInt(src, line, w[i + 1], -512, 512);
      int dy = ParseInt(src, line, w[i + 2], -512, 512);
      g = Move(g, dx, dy);
      i += 2;
    } else if (op == "swap") {
      need(1);
      // Every following two-character word is a pair "from to".
      size_t j = i + 1;
      for (; j < w.size() && w[j].size() == 2 && !IsNumber(w[j]); ++j) {
        for (auto& row : g.rows)
          std::replace(row.begin(), row.end(), w[j][0], w[j][1]);
      }
      if (j == i + 1) src.Fail(line, "\"swap\" takes pairs of characters such as \"bB\"");
      i = j - 1;
    } else if (op == "stamp") {
      need(3);
      auto it = s.parts.find(w[i + 1]);
      if (it == s.parts.end()) {
        src.Fail(line, "no part named \"" + w[i + 1] + "\" above this line");
      }
      Stamp(g, it->second, ParseInt(src, line, w[i + 2], -512, 512),
            ParseInt(src, line, w[i + 3], -512, 512));
      i += 3;
    } else {
      src.Fail(line, "unknown operation \"" + op + "\" (mirror, flip, move, swap, stamp)");
    }
  }
  return g;
}

// "frame N = SOURCE op op ..." where SOURCE is an earlier frame number or a part name.
Grid Derive(Sheet& s, size_t line, const std::vector<std::string>& w, size_t at) {
  const SourceText& src = *s.src;
  if (at >= w.size()) src.Fail(line, "nothing after \"=\": name a frame, a part, text or blank");
  Grid g;
  const std::string& from = w[at];
  if (IsNumber(from)) {
    int n = ParseInt(src, line, from, 0, 4095);
    auto it = s.frames.find(n);
    if (it == s.frames.end()) src.Fail(line, "frame " + from + " is not defined above this line");
    g = it->second;
  } else {
    auto it = s.parts.find(from);
    if (it == s.parts.end()) {
      src.Fail(line, "no frame or part named \"" + from + "\" above this line");
    }
    // A part of another size becomes a frame by being stamped at the top-left of an empty grid.
    g = Blank(s.gridWidth, s.gridHeight);
    Stamp(g, it->second, 0, 0);
  }
  return ApplyOps(s, line, w, at + 1, g);
}

// Sets text from glyph parts (one part per character, named by it), one empty column
// between glyphs, centred over `count` frames; returns one grid per frame.
std::vector<Grid> SetText(Sheet& s, size_t line, const std::string& text, int count) {
  const SourceText& src = *s.src;
  if (text.empty()) src.Fail(line, "the text is empty");
  int width = 0, height = 0;
  for (char c : text) {
    auto it = s.parts.find(std::string(1, c));
    if (it == s.parts.end())
      src.Fail(line, std::string("no glyph part named \"") + c + "\" above this line");
    width += it->second.width + (width ? 1 : 0);
    height = std::max(height, it->second.height);
  }
  int spanWidth = s.gridWidth * count;
  if (width > spanWidth || height > s.gridHeight)
    src.Fail(line, "the text \"" + text + "\" does not fit");
  Grid wide = Blank(spanWidth, s.gridHeight);
  int x = (spanWidth - width) / 2, y = (s.gridHeight - height) / 2;
  for (char c : text) {
    const Grid& glyph = s.parts.at(std::string(1, c));
    Stamp(wide, glyph, x, y + (height - glyph.height));
    x += glyph.width + 1;
  }
  std::vector<Grid> out;
  for (int f = 0; f < count; ++f) {
    Grid g = Blank(s.gridWidth, s.gridHeight);
    for (int r = 0; r < s.gridHeight; ++r)
      g.rows[r] = wide.rows[r].substr(f * s.gridWidth, s.gridWidth);
    out.push_back(g);
  }
  return out;
}

void CheckHeader(Sheet& s, size_t line) {
  const SourceText& src = *s.src;
  if (s.out.frameWidth == 0) src.Fail(line, "\"frame-size W H\" must come before the first grid");
  if (s.gridWidth == 0) {
    s.gridWidth = (s.out.frameWidth - s.placeX) / s.scale;
    s.gridHeight = (s.out.frameHeight - s.placeY) / s.scale;
  }
  if (s.placeX + s.gridWidth * s.scale > s.out.frameWidth ||
      s.placeY + s.gridHeight * s.scale > s.out.frameHeight) {
    src.Fail(line, "the scaled grid does not fit into the frame");
  }
}

void Parse(Sheet& s) {
  const SourceText& src = *s.src;
  size_t i = 0;
  while (i < src.size()) {
    if (IsBlankOrComment(src.line(i))) {
      ++i;
      continue;
    }
    std::vector<std::string> w = SplitWords(src.line(i));
    const std::string& key = w[0];
    auto need = [&](size_t n) {
      if (w.size() < n + 1) src.Fail(i, "\"" + key + "\" needs " + std::to_string(n) + " value(s)");
    };
    if (key == "image") {
      need(1);
      s.out.output = w[1];
    } else if (key == "internal") {
      need(1);
      s.out.output = w[1];
      s.out.internal = true;
    } else if (key == "frame-size") {
      need(2);
      s.out.frameWidth = ParseInt(src, i, w[1], 1, 1024);
      s.out.frameHeight = ParseInt(src, i, w[2], 1, 1024);
    } else if (key == "grid-size") {
      need(2);
      s.gridWidth = ParseInt(src, i, w[1], 1, 1024);
      s.gridHeight = ParseInt(src, i, w[2], 1, 1024);
    } else if (key == "scale") {
      need(1);
      s.scale = ParseInt(src, i, w[1], 1, 16);
    } else if (key == "place") {
      need(2);
      s.placeX = ParseInt(src, i, w[1], 0, 1024);
      s.placeY = ParseInt(src, i, w[2], 0, 1024);
    } else if (key == "columns") {
      need(1);
      s.out.columns = ParseInt(src, i, w[1], 1, 256);
    } else if (key == "frames") {
      need(1);
      s.frameCount = ParseInt(src, i, w[1], 1, 4096);
    } else if (key == "colour") {
      need(2);
      char c = PaletteChar(src, i, w[1]);
      if (c == kClear) src.Fail(i, "\".\" is always transparent and cannot be given a colour");
      if (s.palette.count(c)) src.Fail(i, std::string("colour '") + c + "' is defined twice");
      s.palette[c] = Colour(src, i, w[2]);
    } else if (key == "gradient") {
      need(5);
      char c = PaletteChar(src, i, w[1]);
      s.gradients[c] = {ParseInt(src, i, w[2], 0, 1024), ParseInt(src, i, w[3], 0, 1024),
                        Colour(src, i, w[4]), Colour(src, i, w[5])};
    } else if (key == "outline") {
      need(1);
      s.outline = Effect{PaletteChar(src, i, w[1]), 0, 0};
      if (w.size() > 2 && w[2] != "square")
        src.Fail(i, "\"outline C\" may be followed only by \"square\"");
      s.outlineDiagonal = w.size() > 2;
    } else if (key == "shadow") {
      need(3);
      s.shadow = Effect{PaletteChar(src, i, w[1]), ParseInt(src, i, w[2], -8, 8),
                        ParseInt(src, i, w[3], -8, 8)};
    } else if (key == "plain") {
      need(2);
      int first = ParseInt(src, i, w[1], 0, 4095);
      int last = ParseInt(src, i, w[2], first, 4095);
      for (int n = first; n <= last; ++n)
        s.plain.insert(n);
    } else if (key == "part") {
      need(3);
      if (s.parts.count(w[1])) src.Fail(i, "part \"" + w[1] + "\" is defined twice");
      Grid g =
          ReadRows(src, i + 1, ParseInt(src, i, w[2], 1, 1024), ParseInt(src, i, w[3], 1, 1024));
      s.parts[w[1]] = g;
      i += 1 + g.height;
      continue;
    } else if (key == "frame") {
      CheckHeader(s, i);
      need(1);
      int first = ParseInt(src, i, w[1], 0, 4095);
      int last = first;
      size_t at = 2;
      // "frame A B = text ..." spreads one text over frames A to B.
      if (w.size() > 3 && IsNumber(w[2]) && w[3] == "=") {
        last = ParseInt(src, i, w[2], first, 4095);
        at = 3;
      }
      for (int n = first; n <= last; ++n) {
        if (s.frames.count(n)) src.Fail(i, "frame " + std::to_string(n) + " is defined twice");
      }
      bool derived = at < w.size() && w[at] == "=";
      if (!derived) {
        Grid g = ReadRows(src, i + 1, s.gridWidth, s.gridHeight);
        s.frames[first] = g;
        s.frameLine[first] = i;
        i += 1 + g.height;
        continue;
      }
      bool text = at + 1 < w.size() && w[at + 1] == "text";
      if (last != first && !text) src.Fail(i, "only text is spread over several frames");
      if (text) {
        if (at + 2 >= w.size()) src.Fail(i, "\"text\" needs the text in quotes");
        std::vector<Grid> grids = SetText(s, i, w[at + 2], last - first + 1);
        for (int n = first; n <= last; ++n) {
          s.frames[n] = ApplyOps(s, i, w, at + 3, grids[n - first]);
          s.frameLine[n] = i;
        }
      } else if (at + 1 < w.size() && w[at + 1] == "blank") {
        s.frames[first] = Blank(s.gridWidth, s.gridHeight);
        s.frameLine[first] = i;
      } else {
        s.frames[first] = Derive(s, i, w, at + 1);
        s.frameLine[first] = i;
      }
    } else {
      src.Fail(i, "unknown keyword \"" + key + "\"");
    }
    ++i;
  }
  if (s.out.output.empty()) src.FailWhole("no \"image NAME\" line");
  if (s.frameCount < 0) src.FailWhole("no \"frames N\" line");
  for (int n = 0; n < s.frameCount; ++n) {
    if (!s.frames.count(n))
      src.FailWhole("frame " + std::to_string(n) + " is missing (write \"frame " +
                    std::to_string(n) + " = blank\" for an empty one)");
  }
  if (!s.frames.empty() && s.frames.rbegin()->first >= s.frameCount) {
    src.Fail(s.frameLine[s.frames.rbegin()->first],
             "frame " + std::to_string(s.frames.rbegin()->first) + " lies past \"frames " +
                 std::to_string(s.frameCount) + "\"");
  }
  if (s.out.columns == 0) s.out.columns = s.frameCount;
}

Image Render(Sheet& s, int n, Image* shapeOut) {
  const SourceText& src = *s.src;
  const Grid& g = s.frames.at(n);
  SpriteSheet& out = s.out;
  Image shape(out.frameWidth, out.frameHeight);
  for (int y = 0; y < g.height; ++y) {
    for (int x = 0; x < g.width; ++x) {
      char c = g.rows[y][x];
      if (c == kClear) continue;
      auto it = s.palette.find(c);
      if (it == s.palette.end()) {
        size_t line = g.fromRows ? g.firstLine + y : s.frameLine.at(n);
        src.Fail(line,
                 std::string("unknown colour character '") + c + "' in frame " + std::to_string(n));
      }
      for (int j = 0; j < s.scale; ++j) {
        for (int i = 0; i < s.scale; ++i) {
          int px = s.placeX + x * s.scale + i, py = s.placeY + y * s.scale + j;
          Rgba colour = it->second;
          auto grad = s.gradients.find(c);
          if (grad != s.gradients.end()) {
            const Gradient& gr = grad->second;
            double t = gr.y1 == gr.y0 ? 0.0 : double(py - gr.y0) / double(gr.y1 - gr.y0);
            colour = Mix(gr.top, gr.bottom, t);
          }
          shape.Set(px, py, colour);
        }
      }
    }
  }
  *shapeOut = shape;
  Image frame = shape;
  auto colourOf = [&](char c) {
    auto it = s.palette.find(c);
    if (it == s.palette.end())
      src.FailWhole(std::string("effect colour '") + c + "' is not in the palette");
    return it->second;
  };
  if (s.outline && !s.plain.count(n)) {
    Rgba oc = colourOf(s.outline->colour);
    for (int y = 0; y < frame.height(); ++y)
      for (int x = 0; x < frame.width(); ++x) {
        if (shape.at(x, y).a != 0) continue;
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy)
          for (int dx = -1; dx <= 1 && !near; ++dx) {
            if ((dx != 0 && dy != 0 && !s.outlineDiagonal) || (dx == 0 && dy == 0)) continue;
            near = shape.Contains(x + dx, y + dy) && shape.at(x + dx, y + dy).a != 0;
          }
        if (near) frame.at(x, y) = oc;
      }
  }
  if (s.shadow && !s.plain.count(n)) {
    Rgba sc = colourOf(s.shadow->colour);
    Image base = frame;
    for (int y = 0; y < base.height(); ++y)
      for (int x = 0; x < base.width(); ++x) {
        int tx = x + s.shadow->dx, ty = y + s.shadow->dy;
        if (base.at(x, y).a != 0 && frame.Contains(tx, ty) && base.at(tx, ty).a == 0)
          frame.at(tx, ty) = sc;
      }
  }
  return frame;
}

}  // namespace

Image SpriteSheet::Strip() const {
  int rows = (frameCount() + columns - 1) / columns;
  Image strip(columns * frameWidth, rows * frameHeight);
  for (int n = 0; n < frameCount(); ++n) {
    strip.Paste(frames[n], (n % columns) * frameWidth, (n / columns) * frameHeight);
  }
  return strip;
}

SpriteSheet ParseSpriteSheet(const SourceText& src) {
  Sheet s;
  s.src = &src;
  Parse(s);
  for (int n = 0; n < s.frameCount; ++n) {
    Image shape;
    s.out.frames.push_back(Render(s, n, &shape));
    s.out.shapes.push_back(std::move(shape));
  }
  return s.out;
}

}  // namespace mediagen
