#include "tools/mediagen/picture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "tools/mediagen/noise.h"

namespace mediagen {

namespace {

// The font the "text" command sets big lettering from, and its character order.
constexpr const char* kFontSheet = "font1.png";
constexpr std::string_view kFontChars =
    " !|=%##,#####+*/0123456789:.-()?'abcdefghijklmnopqrstuvwxyz&";

class Args {
 public:
  Args(const SourceText& src, size_t line, std::vector<std::string> words)
      : src_(src), line_(line), words_(std::move(words)) {}
  size_t count() const { return words_.size() - 1; }
  void Need(size_t n) const {
    if (count() < n)
      src_.Fail(line_, "\"" + words_[0] + "\" needs " + std::to_string(n) + " values");
  }
  int Int(size_t i, int lo = -100000, int hi = 100000) const {
    return ParseInt(src_, line_, words_.at(i), lo, hi);
  }
  double Num(size_t i, double lo = -1e6, double hi = 1e6) const {
    return ParseNumber(src_, line_, words_.at(i), lo, hi);
  }
  Rgba Col(size_t i) const {
    auto c = ParseColour(words_.at(i));
    if (!c)
      src_.Fail(line_, "\"" + words_.at(i) + "\" is not a colour (#rrggbb, #rrggbbaa or none)");
    return *c;
  }
  const std::string& Word(size_t i) const { return words_.at(i); }
  bool Has(size_t i) const { return i < words_.size(); }
  [[noreturn]] void Fail(const std::string& msg) const { src_.Fail(line_, msg); }

 private:
  const SourceText& src_;
  size_t line_;
  std::vector<std::string> words_;
};

Rgba Shade(Rgba c, double factor) {
  auto ch = [&](uint8_t v) { return static_cast<uint8_t>(std::clamp(v * factor, 0.0, 255.0)); };
  return {ch(c.r), ch(c.g), ch(c.b), c.a};
}

Rgba WithAlpha(Rgba c, double a) {
  return {c.r, c.g, c.b, static_cast<uint8_t>(std::clamp(a, 0.0, 1.0) * c.a)};
}

void Gradient(Image& img, int x, int y, int w, int h, Rgba top, Rgba bottom) {
  for (int j = 0; j < h; ++j) {
    Rgba c = Mix(top, bottom, h > 1 ? double(j) / (h - 1) : 0.0);
    for (int i = 0; i < w; ++i)
      img.Blend(x + i, y + j, c);
  }
}

void Texture(Image& img, int x, int y, int w, int h, double amount, double cell, uint32_t seed) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      if (!img.Contains(i, j) || img.at(i, j).a == 0) continue;
      double n = FractalNoise(i, j, cell, seed, 3) * 2 - 1;
      img.at(i, j) = Shade(img.at(i, j), 1.0 + amount * n);
    }
}

void Ellipse(Image& img, double cx, double cy, double rx, double ry, Rgba c) {
  for (int j = static_cast<int>(cy - ry) - 1; j <= cy + ry + 1; ++j)
    for (int i = static_cast<int>(cx - rx) - 1; i <= cx + rx + 1; ++i) {
      double dx = (i + 0.5 - cx) / rx, dy = (j + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) img.Blend(i, j, c);
    }
}

void Glow(Image& img, double cx, double cy, double r, Rgba c) {
  for (int j = static_cast<int>(cy - r); j <= cy + r; ++j)
    for (int i = static_cast<int>(cx - r); i <= cx + r; ++i) {
      double d = std::hypot(i + 0.5 - cx, j + 0.5 - cy) / r;
      if (d < 1.0) img.Blend(i, j, WithAlpha(c, (1 - d) * (1 - d)));
    }
}

void Stars(Image& img, int x, int y, int w, int h, int count, uint32_t seed, Rgba c, Rgba c2) {
  SeededRandom rnd(seed);
  for (int k = 0; k < count; ++k) {
    int sx = x + rnd.Below(w), sy = y + rnd.Below(h);
    double kind = rnd.Unit();
    Rgba col = Mix(c, c2, rnd.Unit());
    if (kind < 0.75) {
      img.Blend(sx, sy, WithAlpha(col, 0.4 + 0.6 * rnd.Unit()));
    } else if (kind < 0.93) {
      img.Blend(sx, sy, col);
      img.Blend(sx + 1, sy, WithAlpha(col, 0.5));
      img.Blend(sx, sy + 1, WithAlpha(col, 0.5));
      img.Blend(sx + 1, sy + 1, WithAlpha(col, 0.3));
    } else {  // a twinkle: a small cross
      img.Blend(sx, sy, col);
      for (int d = 1; d <= 2; ++d) {
        Rgba arm = WithAlpha(col, d == 1 ? 0.7 : 0.3);
        img.Blend(sx + d, sy, arm);
        img.Blend(sx - d, sy, arm);
        img.Blend(sx, sy + d, arm);
        img.Blend(sx, sy - d, arm);
      }
    }
  }
}

void Aurora(Image& img, int x, int y, int w, int h, Rgba c, uint32_t seed) {
  for (int i = 0; i < w; ++i) {
    double t = double(i) / w;
    double centre = h * (0.45 + 0.3 * std::sin(t * 2 * std::numbers::pi * 1.3 + seed) +
                         0.15 * (FractalNoise(i, 0, 60, seed, 3) - 0.5));
    double thick = h * (0.25 + 0.2 * FractalNoise(i, 7, 40, seed + 3, 2));
    double bright = 0.35 + 0.65 * FractalNoise(i, 3, 24, seed + 9, 3);
    for (int j = 0; j < h; ++j) {
      double d = (j - centre) / thick;
      if (d < -1 || d > 1.6) continue;
      // Curtains: sharp lower edge, long soft upper fade.
      double a = d < 0 ? (1 + d) * (1 + d) : std::max(0.0, 1 - d / 1.6);
      // Fade out towards the box's upper and lower edges so it never ends in a line.
      double edge = std::min(j, h - 1 - j) / (0.2 * h);
      a *= std::min(1.0, edge);
      img.Blend(x + i, y + j, WithAlpha(c, a * bright * 0.55));
    }
  }
}

void Hills(Image& img, int x, int y, int w, int h, Rgba c, uint32_t seed, double rough) {
  for (int i = 0; i < w; ++i) {
    double n = FractalNoise(i, 0, 90 / std::max(rough, 0.1), seed, 4);
    int top = y + static_cast<int>(h * (1 - n));
    for (int j = top; j < y + h; ++j)
      img.Blend(x + i, j, c);
  }
}

// Bevelled blocks in running bond: lit top-left edges, dark bottom-right, mortar joints.
void Bricks(Image& img, int x, int y, int w, int h, int bw, int bh, Rgba face, Rgba light,
            Rgba dark, Rgba mortar, uint32_t seed) {
  SeededRandom rnd(seed);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      int row = j / bh;
      int off = (row % 2) * (bw / 2);
      int bx = (i + off) % bw, by = j % bh;
      int brick = (i + off) / bw + row * 977;
      Rgba c;
      if (bx == bw - 1 || by == bh - 1) {
        c = mortar;
      } else if (bx == 0 || by == 0) {
        c = light;
      } else if (bx == bw - 2 || by == bh - 2) {
        c = dark;
      } else {
        double tint = 0.9 + 0.2 * ValueNoise(brick, 0, 1, seed);
        double grain = 0.94 + 0.12 * FractalNoise(x + i, y + j, 6, seed + 5, 2);
        c = Shade(face, tint * grain);
      }
      img.Set(x + i, y + j, c);
    }
  (void)rnd;
}

void Snow(Image& img, int x, int y, int w, int depth, uint32_t seed) {
  Rgba white{248, 252, 255, 255}, shade{190, 212, 240, 255}, edge{150, 176, 220, 255};
  for (int i = 0; i < w; ++i) {
    double n = FractalNoise(x + i, 0, 14, seed, 3);
    int d = static_cast<int>(depth * (0.55 + 0.45 * n));
    for (int j = 0; j < d; ++j) {
      Rgba c = j >= d - 1 ? edge : (j >= d - 3 ? shade : white);
      if (j == 0 && n > 0.7) c = Rgba{255, 255, 255, 255};
      img.Set(x + i, y + j, c);
    }
  }
}

void Icicles(Image& img, int x, int y, int w, int count, int length, uint32_t seed, Rgba c) {
  SeededRandom rnd(seed);
  for (int k = 0; k < count; ++k) {
    int ix = x + rnd.Below(w);
    int len = length / 2 + rnd.Below(length / 2 + 1);
    int width = 2 + rnd.Below(2);
    for (int j = 0; j < len; ++j) {
      int half = static_cast<int>(std::ceil(width * (1.0 - double(j) / len)));
      for (int i = -half; i <= half; ++i) {
        Rgba col = i < 0 ? Shade(c, 1.15) : (i > 0 ? Shade(c, 0.8) : c);
        if (i == -half || i == half) col = Shade(c, 0.65);
        img.Set(ix + i, y + j, col);
      }
    }
  }
}

void Panel(Image& img, int x, int y, int w, int h, Rgba fill, Rgba border) {
  const int r = 6;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      int dx = std::max({r - i, i - (w - 1 - r), 0}), dy = std::max({r - j, j - (h - 1 - r), 0});
      double d = std::hypot(dx, dy);
      if (d > r) continue;
      img.Blend(x + i, y + j, d > r - 2 ? border : fill);
    }
}

struct GlyphRun {
  size_t frame;
  int left, right;  // the glyph's inked columns
  int x;            // where its first inked column goes, in glyph pixels
};

// Sets text proportionally: each glyph takes its inked width plus one pixel, a space three.
std::vector<GlyphRun> Layout(const std::string& text, const SpriteSheet& font, const Args& a) {
  std::vector<GlyphRun> runs;
  int x = 0;
  for (char raw : text) {
    char ch = static_cast<char>(std::tolower(static_cast<unsigned char>(raw)));
    size_t frame = kFontChars.find(ch);
    if (frame == std::string_view::npos) a.Fail(std::string("the font has no '") + ch + "'");
    const Image& g = font.shapes.at(frame);
    int left = g.width(), right = 0;
    for (int j = 0; j < g.height(); ++j)
      for (int i = 0; i < g.width(); ++i)
        if (g.at(i, j).a != 0) {
          left = std::min(left, i);
          right = std::max(right, i + 1);
        }
    if (left >= right) {
      x += 6;
      continue;
    }
    runs.push_back({frame, left, right, x});
    x += right - left + 2;
  }
  return runs;
}

// Big lettering from the font's bare glyph shapes: each glyph pixel becomes a scale x scale
// block, filled with a vertical gradient, ringed by an outline and dropped on a shadow.
void Text(Image& img, const std::string& text, int x, int y, int scale, Rgba top, Rgba bottom,
          Rgba outline, int thickness, Rgba shadow, const SpriteSheet& font, const Args& a) {
  std::vector<GlyphRun> runs = Layout(text, font, a);
  int width = runs.empty() ? 0 : runs.back().x + runs.back().right - runs.back().left;
  Image mask(width * scale + 2 * thickness + 8, font.frameHeight * scale + 2 * thickness + 8);
  int pad = thickness + 4;
  int minY = mask.height(), maxY = 0;
  for (const GlyphRun& run : runs) {
    const Image& glyph = font.shapes.at(run.frame);
    for (int j = 0; j < glyph.height(); ++j)
      for (int i = run.left; i < run.right; ++i)
        if (glyph.at(i, j).a != 0) {
          mask.FillRect(pad + (run.x + i - run.left) * scale, pad + j * scale, scale, scale,
                        {255, 255, 255, 255});
          minY = std::min(minY, pad + j * scale);
          maxY = std::max(maxY, pad + j * scale + scale - 1);
        }
  }
  Image out(mask.width(), mask.height());
  auto solid = [&](int i, int j) { return mask.Contains(i, j) && mask.at(i, j).a != 0; };
  // Outline ring: any pixel within `thickness` of the letters.
  for (int j = 0; j < out.height(); ++j)
    for (int i = 0; i < out.width(); ++i) {
      if (solid(i, j)) continue;
      bool near = false;
      for (int dj = -thickness; dj <= thickness && !near; ++dj)
        for (int di = -thickness; di <= thickness && !near; ++di)
          near = di * di + dj * dj <= thickness * thickness + 1 && solid(i + di, j + dj);
      if (near) out.at(i, j) = outline;
    }
  for (int j = 0; j < out.height(); ++j)
    for (int i = 0; i < out.width(); ++i) {
      if (!solid(i, j)) continue;
      double t = maxY > minY ? double(j - minY) / (maxY - minY) : 0;
      Rgba c = Mix(top, bottom, t);
      // A bright rim on the upper edge of every stroke and a darker lower edge give depth.
      if (!solid(i, j - 1) || !solid(i, j - 2))
        c = Mix(c, {255, 255, 255, 255}, 0.45);
      else if (!solid(i, j + 1) || !solid(i, j + 2))
        c = Shade(c, 0.78);
      out.at(i, j) = c;
    }
  int ox = x - pad, oy = y - pad;
  if (shadow.a != 0) {
    for (int j = 0; j < out.height(); ++j)
      for (int i = 0; i < out.width(); ++i)
        if (out.at(i, j).a != 0) img.Blend(ox + i + thickness + 1, oy + j + thickness + 1, shadow);
  }
  img.Draw(out, ox, oy);
}

const SpriteSheet& Sheet(const std::map<std::string, SpriteSheet>& sheets, const Args& a,
                         size_t i) {
  auto it = sheets.find(a.Word(i));
  if (it == sheets.end()) a.Fail("no sprite sheet \"" + a.Word(i) + "\"");
  return it->second;
}

}  // namespace

Picture PaintPicture(const SourceText& src, const std::map<std::string, SpriteSheet>& sheets) {
  Picture pic;
  for (size_t line = 0; line < src.size(); ++line) {
    if (IsBlankOrComment(src.line(line))) continue;
    Args a(src, line, SplitWords(src.line(line)));
    const std::string& cmd = a.Word(0);
    if (cmd == "image" || cmd == "internal") {
      a.Need(1);
      pic.output = a.Word(1);
      pic.internal = cmd == "internal";
      continue;
    }
    if (cmd == "size") {
      a.Need(2);
      pic.image = Image(a.Int(1, 1, 4096), a.Int(2, 1, 4096));
      continue;
    }
    if (cmd == "strip") {
      a.Need(2);
      pic.stripWidth = a.Int(1, 1, 4096);
      pic.stripHeight = a.Int(2, 1, 4096);
      continue;
    }
    if (pic.image.empty()) a.Fail("\"size W H\" must come before drawing");
    Image& img = pic.image;
    if (cmd == "fill") {
      a.Need(1);
      img.FillRect(0, 0, img.width(), img.height(), a.Col(1));
    } else if (cmd == "rect") {
      a.Need(5);
      img.BlendRect(a.Int(1), a.Int(2), a.Int(3), a.Int(4), a.Col(5));
    } else if (cmd == "clear") {
      a.Need(4);
      img.FillRect(a.Int(1), a.Int(2), a.Int(3), a.Int(4), Rgba{0, 0, 0, 0});
    } else if (cmd == "gradient") {
      a.Need(6);
      Gradient(img, a.Int(1), a.Int(2), a.Int(3), a.Int(4), a.Col(5), a.Col(6));
    } else if (cmd == "texture") {
      a.Need(7);
      Texture(img, a.Int(1), a.Int(2), a.Int(3), a.Int(4), a.Num(5, 0, 1), a.Num(6, 1, 1000),
              static_cast<uint32_t>(a.Int(7, 0)));
    } else if (cmd == "stars") {
      a.Need(7);
      Rgba c2 = a.Has(8) ? a.Col(8) : a.Col(7);
      Stars(img, a.Int(1), a.Int(2), a.Int(3, 1), a.Int(4, 1), a.Int(5, 0),
            static_cast<uint32_t>(a.Int(6, 0)), a.Col(7), c2);
    } else if (cmd == "aurora") {
      a.Need(6);
      Aurora(img, a.Int(1), a.Int(2), a.Int(3, 1), a.Int(4, 1), a.Col(5),
             static_cast<uint32_t>(a.Int(6, 0)));
    } else if (cmd == "hills") {
      a.Need(7);
      Hills(img, a.Int(1), a.Int(2), a.Int(3, 1), a.Int(4, 1), a.Col(5),
            static_cast<uint32_t>(a.Int(6, 0)), a.Num(7, 0.1, 10));
    } else if (cmd == "bricks") {
      a.Need(11);
      Bricks(img, a.Int(1), a.Int(2), a.Int(3, 1), a.Int(4, 1), a.Int(5, 3, 512), a.Int(6, 3, 512),
             a.Col(7), a.Col(8), a.Col(9), a.Col(10), static_cast<uint32_t>(a.Int(11, 0)));
    } else if (cmd == "snow") {
      a.Need(5);
      Snow(img, a.Int(1), a.Int(2), a.Int(3, 1), a.Int(4, 1, 200),
           static_cast<uint32_t>(a.Int(5, 0)));
    } else if (cmd == "icicles") {
      a.Need(7);
      Icicles(img, a.Int(1), a.Int(2), a.Int(3, 1), a.Int(4, 0), a.Int(5, 2, 200),
              static_cast<uint32_t>(a.Int(6, 0)), a.Col(7));
    } else if (cmd == "ellipse") {
      a.Need(5);
      Ellipse(img, a.Num(1), a.Num(2), a.Num(3, 0.5), a.Num(4, 0.5), a.Col(5));
    } else if (cmd == "glow") {
      a.Need(4);
      Glow(img, a.Num(1), a.Num(2), a.Num(3, 1), a.Col(4));
    } else if (cmd == "panel") {
      a.Need(6);
      Panel(img, a.Int(1), a.Int(2), a.Int(3, 13), a.Int(4, 13), a.Col(5), a.Col(6));
    } else if (cmd == "lines") {
      a.Need(6);
      int x = a.Int(1), y = a.Int(2), w = a.Int(3, 1), h = a.Int(4, 1), step = a.Int(5, 1, 64);
      for (int j = 0; j < h; j += step)
        img.FillRect(x, y + j, w, 1, a.Col(6));
    } else if (cmd == "sprite") {
      a.Need(4);
      const SpriteSheet& sheet = Sheet(sheets, a, 1);
      int frame = a.Int(2, 0, sheet.frameCount() - 1);
      int scale = a.Has(5) ? a.Int(5, 1, 16) : 1;
      Image f = sheet.frames[frame];
      if (a.Has(6)) {
        if (a.Word(6) != "mirror") a.Fail("\"sprite\" ends with an optional \"mirror\"");
        f = f.Mirrored();
      }
      img.Draw(f.Scaled(scale), a.Int(3), a.Int(4));
    } else if (cmd == "text") {
      a.Need(9);
      auto font = sheets.find(kFontSheet);
      if (font == sheets.end()) a.Fail("\"text\" needs the font sheet font1.png");
      int scale = a.Int(4, 1, 16);
      int x = 0;
      if (a.Word(2) == "centre") {
        std::vector<GlyphRun> runs = Layout(a.Word(1), font->second, a);
        int width = runs.empty() ? 0 : runs.back().x + runs.back().right - runs.back().left;
        x = (img.width() - width * scale) / 2;
      } else {
        x = a.Int(2);
      }
      Text(img, a.Word(1), x, a.Int(3), scale, a.Col(5), a.Col(6), a.Col(7), a.Int(8, 0, 16),
           a.Col(9), font->second, a);
    } else {
      a.Fail("unknown command \"" + cmd + "\"");
    }
  }
  if (pic.output.empty()) src.FailWhole("no \"image NAME\" line");
  if (pic.image.empty()) src.FailWhole("no \"size W H\" line");
  if (pic.stripWidth &&
      (pic.image.width() % pic.stripWidth || pic.image.height() % pic.stripHeight)) {
    src.FailWhole("the picture is not a whole number of strip frames");
  }
  return pic;
}

}  // namespace mediagen
