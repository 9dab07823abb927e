#include "engine/graphics/png_writer.h"

#include <png.h>

#include <csetjmp>

namespace zrb::graphics {
namespace {

void QuietError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void QuietWarning(png_structp, png_const_charp) {}

class PngWriteHandle {
 public:
  PngWriteHandle()
      : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning)),
        info_(png_ ? png_create_info_struct(png_) : nullptr) {}
  ~PngWriteHandle() {
    if (png_) png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
  }
  PngWriteHandle(const PngWriteHandle&) = delete;
  PngWriteHandle& operator=(const PngWriteHandle&) = delete;

  bool ok() const { return png_ && info_; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
};

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  bytes->insert(bytes->end(), data, data + length);
}
void NothingToFlush(png_structp) {}

// No objects with destructors are created in this frame after setjmp.
bool WriteRows(const PngWriteHandle& handle, std::vector<uint8_t>* out,
               std::vector<png_bytep>& rows, int width, int height) {
  png_structp png = handle.png();
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendToBytes, NothingToFlush);
  png_set_IHDR(png, handle.info(), width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, handle.info());
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodePng(const uint8_t* rgba, int width, int height) {
  if (!rgba || width <= 0 || height <= 0) return std::nullopt;
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0, count = static_cast<size_t>(width) * height; i < count; ++i) {
    rgb[i * 3] = rgba[i * 4];
    rgb[i * 3 + 1] = rgba[i * 4 + 1];
    rgb[i * 3 + 2] = rgba[i * 4 + 2];
  }
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y)
    rows[y] = rgb.data() + static_cast<size_t>(y) * width * 3;

  PngWriteHandle handle;
  if (!handle.ok()) return std::nullopt;
  std::vector<uint8_t> bytes;
  if (!WriteRows(handle, &bytes, rows, width, height)) return std::nullopt;
  return bytes;
}

}  // namespace zrb::graphics
