#include "tools/mediagen/png_io.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace mediagen {

namespace {
struct PngImageFree {
  void operator()(png_image* img) const {
    png_image_free(img);
    delete img;
  }
};
using PngImagePtr = std::unique_ptr<png_image, PngImageFree>;

PngImagePtr NewPngImage() {
  PngImagePtr img(new png_image);
  std::memset(img.get(), 0, sizeof(png_image));
  img->version = PNG_IMAGE_VERSION;
  return img;
}

std::vector<uint8_t> Flatten(const Image& image) {
  std::vector<uint8_t> raw(static_cast<size_t>(image.width()) * image.height() * 4);
  size_t k = 0;
  for (const Rgba& p : image.pixels()) {
    raw[k++] = p.r;
    raw[k++] = p.g;
    raw[k++] = p.b;
    raw[k++] = p.a;
  }
  return raw;
}

void FailWrite(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}
void IgnoreWarning(png_structp, png_const_charp) {}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}

// Rows are filtered with none, Sub or Up only: the game decodes every picture at start, and
// those three undo at a fraction of the cost of Average and Paeth (the files come out about
// as small at the highest compression). No object with a destructor lives in this frame.
bool WriteRows(png_structp png, png_infop info, std::vector<png_bytep>& rows, int width, int height,
               std::vector<uint8_t>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_UP);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  return true;
}

bool WriteRgba(std::vector<png_bytep>& rows, int width, int height, std::vector<uint8_t>* out,
               std::string* error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, FailWrite, IgnoreWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    *error = "out of memory";
    return false;
  }
  const bool written = WriteRows(png, info, rows, width, height, out);
  png_destroy_write_struct(&png, &info);
  return written;
}
}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
  if (image.empty()) throw std::runtime_error("cannot encode an empty picture");
  std::vector<uint8_t> raw = Flatten(image);
  std::vector<png_bytep> rows(static_cast<size_t>(image.height()));
  for (int y = 0; y < image.height(); ++y)
    rows[static_cast<size_t>(y)] = raw.data() + static_cast<size_t>(y) * image.width() * 4;
  std::vector<uint8_t> out;
  std::string error;
  if (!WriteRgba(rows, image.width(), image.height(), &out, &error)) {
    throw std::runtime_error("PNG encoding failed: " + error);
  }
  return out;
}

Image DecodePng(const std::vector<uint8_t>& bytes, const std::string& name) {
  PngImagePtr img = NewPngImage();
  if (!png_image_begin_read_from_memory(img.get(), bytes.data(), bytes.size())) {
    throw std::runtime_error(name + ": not a readable PNG (" + img->message + ")");
  }
  img->format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> raw(PNG_IMAGE_SIZE(*img));
  if (!png_image_finish_read(img.get(), nullptr, raw.data(), 0, nullptr)) {
    throw std::runtime_error(name + ": PNG decoding failed (" + img->message + ")");
  }
  Image out(static_cast<int>(img->width), static_cast<int>(img->height));
  size_t k = 0;
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x, k += 4)
      out.at(x, y) = {raw[k], raw[k + 1], raw[k + 2], raw[k + 3]};
  return out;
}

Image ReadPng(const std::filesystem::path& path) {
  return DecodePng(ReadFileBytes(path), path.string());
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error(path.string() + ": cannot be written");
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot be read");
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace mediagen
