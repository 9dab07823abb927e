#include <lzo/lzo1x.h>

#include "engine/files/archive_format.h"
#include "engine/files/little_endian.h"

namespace zrb::files::archive {
namespace {

bool LzoReady() {
  static const bool ready = lzo_init() == LZO_E_OK;
  return ready;
}

}  // namespace

std::vector<uint8_t> CompressItem(std::span<const uint8_t> data) {
  const size_t size = data.size();
  // LZO1X's worst case for data that does not compress.
  std::vector<uint8_t> blob(kItemHeaderSize + size + size / 16 + 64 + 3);
  StoreLittleEndian(size, blob.data(), kItemHeaderSize);
  // A zeroed work area keeps the output the same from run to run.
  std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS, 0);
  lzo_uint packed = 0;
  if (!LzoReady() || lzo1x_1_compress(data.data(), size, blob.data() + kItemHeaderSize, &packed,
                                      work.data()) != LZO_E_OK) {
    return {};
  }
  blob.resize(kItemHeaderSize + packed);
  return blob;
}

Item DecompressItem(std::span<const uint8_t> blob) {
  if (blob.size() < kItemHeaderSize) return {{}, ItemFault::kTooSmall};
  const uint64_t claimed = LoadLe32(blob.data());
  const uint64_t compressed = blob.size() - kItemHeaderSize;
  if (claimed > kMaxItemSize || claimed > compressed * kMaxExpansionPerByte) {
    return {{}, ItemFault::kTooLarge};
  }
  Item item;
  item.data.resize(static_cast<size_t>(claimed));
  uint8_t none = 0;  // the decompressor wants somewhere to write even for an empty item
  lzo_uint produced = item.data.size();
  const int status =
      LzoReady()
          ? lzo1x_decompress_safe(blob.data() + kItemHeaderSize, compressed,
                                  item.data.empty() ? &none : item.data.data(), &produced, nullptr)
          : LZO_E_ERROR;
  if (status != LZO_E_OK) return {{}, ItemFault::kUndecodable};
  if (produced != claimed) return {{}, ItemFault::kWrongLength};
  return item;
}

}  // namespace zrb::files::archive
