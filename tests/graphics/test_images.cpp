#include "test_images.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>

namespace zrb::testing {
namespace {

void PutU16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = value & 0xFF;
  out[at + 1] = (value >> 8) & 0xFF;
}
void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[at + i] = (value >> (8 * i)) & 0xFF;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Picture& picture, const BmpOptions& options) {
  const int bits = options.bitCount;
  const size_t stride = ((size_t(picture.width) * bits + 31) / 32) * 4;
  const size_t paletteBytes = options.palette.size() * 4;
  const size_t pixelOffset = 14 + 40 + paletteBytes;
  std::vector<uint8_t> out(pixelOffset + stride * picture.height, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<uint32_t>(out.size()));
  PutU32(out, 10, static_cast<uint32_t>(pixelOffset));
  PutU32(out, 14, 40);
  PutU32(out, 18, static_cast<uint32_t>(picture.width));
  PutU32(out, 22, static_cast<uint32_t>(options.topDown ? -picture.height : picture.height));
  PutU16(out, 26, 1);
  PutU16(out, 28, static_cast<uint32_t>(bits));
  PutU32(out, 46, static_cast<uint32_t>(options.palette.size()));
  for (size_t i = 0; i < options.palette.size(); ++i) {
    out[54 + i * 4] = options.palette[i].blue;
    out[54 + i * 4 + 1] = options.palette[i].green;
    out[54 + i * 4 + 2] = options.palette[i].red;
  }
  for (int y = 0; y < picture.height; ++y) {
    const int fileRow = options.topDown ? y : picture.height - 1 - y;
    uint8_t* row = out.data() + pixelOffset + stride * fileRow;
    for (int x = 0; x < picture.width; ++x) {
      const Rgb& c = picture.At(x, y);
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          const int perByte = 8 / bits;
          const unsigned index = options.indexes[size_t(y) * picture.width + x];
          row[x / perByte] |= static_cast<uint8_t>(index << (8 - bits * (x % perByte + 1)));
          break;
        }
        case 16: {
          const unsigned value = (c.red >> 3) << 10 | (c.green >> 3) << 5 | (c.blue >> 3);
          row[x * 2] = value & 0xFF;
          row[x * 2 + 1] = value >> 8;
          break;
        }
        default:  // 24 and 32 bits: blue, green, red, and in 32 a fourth byte that is not alpha
          row[x * bits / 8] = c.blue;
          row[x * bits / 8 + 1] = c.green;
          row[x * bits / 8 + 2] = c.red;
          if (bits == 32) row[x * 4 + 3] = 0x5A;  // must be ignored
          break;
      }
    }
  }
  return out;
}

namespace {

void AppendToVector(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}

// Samples per pixel, by PNG colour type: grey, -, RGB, palette, grey + alpha, -, RGBA.
constexpr int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};

}  // namespace

std::vector<uint8_t> EncodePng(const PngContent& content) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  // No jump buffer: an encoding error here is a broken test and aborts it.
  png_set_write_fn(png, &out, AppendToVector, NoFlush);
  png_set_IHDR(png, info, content.width, content.height, content.bitDepth, content.colourType,
               content.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (const Rgb& c : content.palette)
    palette.push_back(png_color{c.red, c.green, c.blue});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!content.paletteAlpha.empty()) {
    png_set_tRNS(png, info, content.paletteAlpha.data(),
                 static_cast<int>(content.paletteAlpha.size()), nullptr);
  }
  png_write_info(png, info);

  // Pack each row at the declared depth.
  const int channels = kChannels[content.colourType];
  const size_t rowBits = size_t(content.width) * channels * content.bitDepth;
  std::vector<std::vector<uint8_t>> rows(content.height, std::vector<uint8_t>((rowBits + 7) / 8));
  for (int y = 0; y < content.height; ++y) {
    for (int s = 0; s < content.width * channels; ++s) {
      const uint16_t value = content.samples[size_t(y) * content.width * channels + s];
      if (content.bitDepth == 16) {
        rows[y][s * 2] = value >> 8;
        rows[y][s * 2 + 1] = value & 0xFF;
      } else if (content.bitDepth == 8) {
        rows[y][s] = static_cast<uint8_t>(value);
      } else {
        const size_t bit = size_t(s) * content.bitDepth;
        rows[y][bit / 8] |= static_cast<uint8_t>(value << (8 - content.bitDepth - bit % 8));
      }
    }
  }
  std::vector<png_bytep> pointers;
  for (auto& row : rows)
    pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<uint8_t> EncodeJpeg(int width, int height, int components,
                                const std::vector<uint8_t>& samples, bool progressive) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row =
        const_cast<uint8_t*>(samples.data()) + size_t(info.next_scanline) * width * components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

}  // namespace zrb::testing
