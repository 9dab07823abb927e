#include "engine/graphics/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace zrb::graphics {
namespace {

// Progressive files keep every coefficient of the image in memory while decoding; this
// caps what libjpeg may ask for whatever the header declares.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

struct QuietErrorManager {
  jpeg_error_mgr base;  // first member: libjpeg hands us a pointer to it
  std::jmp_buf jump;
};

void JumpOut(j_common_ptr info) {
  std::longjmp(reinterpret_cast<QuietErrorManager*>(info->err)->jump, 1);
}

// Level -1 is a warning about corrupt data (a premature end among them): libjpeg would
// invent the missing pixels, we refuse the file instead. Trace levels are ignored.
void JumpOnWarning(j_common_ptr info, int level) {
  if (level < 0) JumpOut(info);
}

void Silent(j_common_ptr) {}

class JpegReadHandle {
 public:
  JpegReadHandle() {
    info_.err = jpeg_std_error(&errors_.base);
    errors_.base.error_exit = JumpOut;
    errors_.base.emit_message = JumpOnWarning;
    errors_.base.output_message = Silent;
  }
  ~JpegReadHandle() {
    if (created_) jpeg_destroy_decompress(&info_);
  }
  JpegReadHandle(const JpegReadHandle&) = delete;
  JpegReadHandle& operator=(const JpegReadHandle&) = delete;

  jpeg_decompress_struct& info() { return info_; }
  std::jmp_buf& jump() { return errors_.jump; }
  void MarkCreated() { created_ = true; }

 private:
  jpeg_decompress_struct info_{};
  QuietErrorManager errors_{};
  bool created_ = false;
};

struct Scanlines {
  int width = 0;
  int height = 0;
  int components = 0;
};

// Only trivially destructible locals live in this frame, so longjmp skips no destructor;
// the row buffer belongs to the caller. The buffer grows row by row, so a truncated file
// fails before memory for its whole declared size is taken.
bool ReadScanlines(JpegReadHandle& handle, std::span<const uint8_t> bytes,
                   std::vector<uint8_t>& rows, Scanlines& shape) {
  jpeg_decompress_struct& info = handle.info();
  if (setjmp(handle.jump())) return false;

  jpeg_create_decompress(&info);
  handle.MarkCreated();
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
  if (!ImageSizeAllowed(info.image_width, info.image_height)) return false;
  if (info.jpeg_color_space == JCS_GRAYSCALE) {
    info.out_color_space = JCS_GRAYSCALE;
  } else if (info.num_components == 3) {
    info.out_color_space = JCS_RGB;
  } else {
    return false;  // CMYK and the like
  }

  jpeg_start_decompress(&info);
  shape.width = static_cast<int>(info.output_width);
  shape.height = static_cast<int>(info.output_height);
  shape.components = info.output_components;
  const size_t rowBytes = static_cast<size_t>(shape.width) * shape.components;
  while (info.output_scanline < info.output_height) {
    size_t at = rows.size();
    rows.resize(at + rowBytes);
    JSAMPROW row = rows.data() + at;
    if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

bool LooksLikeJpeg(std::span<const uint8_t> bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool DecodeJpeg(std::span<const uint8_t> bytes, DecodedImage& out) {
  if (!LooksLikeJpeg(bytes)) return false;
  JpegReadHandle handle;
  std::vector<uint8_t> rows;
  Scanlines shape;
  if (!ReadScanlines(handle, bytes, rows, shape)) return false;
  if (shape.components != 1 && shape.components != 3) return false;

  out.Resize(shape.width, shape.height);
  const uint8_t* src = rows.data();
  uint8_t* dst = out.rgba.data();
  const size_t count = static_cast<size_t>(shape.width) * shape.height;
  for (size_t i = 0; i < count; ++i, dst += 4, src += shape.components) {
    dst[0] = src[0];
    dst[1] = src[shape.components == 3 ? 1 : 0];
    dst[2] = src[shape.components == 3 ? 2 : 0];
    dst[3] = 255;
  }
  return true;
}

}  // namespace zrb::graphics
