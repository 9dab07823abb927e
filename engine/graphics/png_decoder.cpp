#include "engine/graphics/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

namespace zrb::graphics {
namespace {

// Deflate cannot expand data by more than about 1032:1, so a file whose header asks for
// more raw bytes than that is lying about its size, and we refuse it before allocating.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateSlack = 64 * 1024;

struct MemoryReader {
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

void ReadFromMemory(png_structp png, png_bytep data, size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->bytes.size() - reader->position) png_error(png, "truncated");
  std::copy_n(reader->bytes.data() + reader->position, length, data);
  reader->position += length;
}

// libpng's default handlers print to standard error; a damaged image is the caller's
// failure to report, not libpng's.
void QuietError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void QuietWarning(png_structp, png_const_charp) {}

class PngReadHandle {
 public:
  PngReadHandle()
      : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning)),
        info_(png_ ? png_create_info_struct(png_) : nullptr) {}
  ~PngReadHandle() {
    if (png_) png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
  }
  PngReadHandle(const PngReadHandle&) = delete;
  PngReadHandle& operator=(const PngReadHandle&) = delete;

  bool ok() const { return png_ && info_; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
};

enum class Outcome { kDecoded, kCorrupt, kTooLarge, kUnsupportedColourType, kUnsupportedDepth };

struct RawRows {
  int width = 0;
  int height = 0;
  int channels = 0;
  int bitDepth = 0;
};

// Everything between setjmp and a possible longjmp lives here, and only trivially
// destructible locals are declared in this frame, so the jump skips no destructor. The
// buffers are owned by the caller and only resized through references.
Outcome ReadRows(const PngReadHandle& handle, MemoryReader& reader, std::vector<uint8_t>& pixels,
                 std::vector<png_bytep>& rowPointers, RawRows& raw) {
  png_structp png = handle.png();
  png_infop info = handle.info();
  if (setjmp(png_jmpbuf(png))) return Outcome::kCorrupt;

  png_set_read_fn(png, &reader, ReadFromMemory);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_read_info(png, info);

  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  if (!ImageSizeAllowed(width, height)) return Outcome::kTooLarge;
  uint64_t rawBytes = static_cast<uint64_t>(height) * (png_get_rowbytes(png, info) + 1);
  if (rawBytes > reader.bytes.size() * kMaxInflateRatio + kInflateSlack) {
    return Outcome::kTooLarge;
  }

  png_set_expand(png);
  png_set_strip_16(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  raw.width = static_cast<int>(width);
  raw.height = static_cast<int>(height);
  raw.channels = png_get_channels(png, info);
  raw.bitDepth = png_get_bit_depth(png, info);
  if (raw.channels != 1 && raw.channels != 3 && raw.channels != 4) {
    return Outcome::kUnsupportedColourType;
  }
  if (raw.bitDepth != 8) return Outcome::kUnsupportedDepth;

  size_t rowBytes = png_get_rowbytes(png, info);
  pixels.resize(rowBytes * height);
  rowPointers.resize(height);
  for (png_uint_32 y = 0; y < height; ++y)
    rowPointers[y] = pixels.data() + rowBytes * y;
  png_read_image(png, rowPointers.data());
  png_read_end(png, nullptr);
  return Outcome::kDecoded;
}

}  // namespace

bool LooksLikePng(std::span<const uint8_t> bytes) {
  return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

bool DecodePng(std::span<const uint8_t> bytes, Rgb key, std::string_view fileName,
               DecodedImage& out) {
  if (!LooksLikePng(bytes)) return false;
  PngReadHandle handle;
  if (!handle.ok()) return false;

  MemoryReader reader{bytes, 0};
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rowPointers;
  RawRows raw;
  switch (ReadRows(handle, reader, pixels, rowPointers, raw)) {
    case Outcome::kDecoded:
      break;
    case Outcome::kUnsupportedColourType:
      std::printf("File %s has unsupported color type.\n", std::string(fileName).c_str());
      std::fflush(stdout);
      return false;
    case Outcome::kUnsupportedDepth:
      std::printf("File %s has bit depth %d.\n", std::string(fileName).c_str(), raw.bitDepth);
      std::printf("Only bit depth of 8 is supported.\n");
      std::fflush(stdout);
      return false;
    default:
      return false;
  }

  out.Resize(raw.width, raw.height);
  const uint8_t* src = pixels.data();
  uint8_t* dst = out.rgba.data();
  const size_t count = static_cast<size_t>(raw.width) * raw.height;
  for (size_t i = 0; i < count; ++i, dst += 4, src += raw.channels) {
    if (raw.channels == 4) {
      std::copy_n(src, 4, dst);
    } else if (raw.channels == 3) {
      bool keyed = Rgb{src[0], src[1], src[2]} == key;
      dst[0] = keyed ? 0 : src[0];
      dst[1] = keyed ? 0 : src[1];
      dst[2] = keyed ? 0 : src[2];
      dst[3] = keyed ? 0 : 255;
    } else {
      dst[0] = dst[1] = dst[2] = src[0];
      dst[3] = 255;
    }
  }
  return true;
}

}  // namespace zrb::graphics
