#include "tools/mediagen/png_io.h"

#include <png.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>

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
}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
  if (image.empty()) throw std::runtime_error("cannot encode an empty picture");
  std::vector<uint8_t> raw = Flatten(image);
  PngImagePtr img = NewPngImage();
  img->width = static_cast<png_uint_32>(image.width());
  img->height = static_cast<png_uint_32>(image.height());
  img->format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(img.get(), nullptr, &size, 0, raw.data(), 0, nullptr)) {
    throw std::runtime_error(std::string("PNG encoding failed: ") + img->message);
  }
  std::vector<uint8_t> out(size);
  if (!png_image_write_to_memory(img.get(), out.data(), &size, 0, raw.data(), 0, nullptr)) {
    throw std::runtime_error(std::string("PNG encoding failed: ") + img->message);
  }
  out.resize(size);
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
