#include <algorithm>
#include <cstring>

#include "engine/files/archive_format.h"
#include "engine/files/little_endian.h"

namespace zrb::files::archive {
namespace {

constexpr size_t kDirectoryChunk = 64 * 1024;

}  // namespace

int64_t Layout::DirectoryStart() const {
  return CountsFromEnd() ? fileSize + directoryOffset : directoryOffset;
}

int64_t Layout::ItemStart(const DirectoryEntry& entry) const {
  return CountsFromEnd() ? fileSize + entry.offset : entry.offset;
}

TrailerStatus ReadTrailer(ByteSource& source, Layout& layout) {
  uint8_t trailer[kTrailerSize];
  layout.fileSize = source.Size();
  if (!source.ReadAt(layout.fileSize - kTrailerSize, trailer, sizeof trailer)) {
    return TrailerStatus::kUnreadable;
  }
  if (std::memcmp(trailer, kSignature.data(), kSignature.size()) != 0) {
    return TrailerStatus::kNoSignature;
  }
  layout.directoryOffset = static_cast<int32_t>(LoadLe32(trailer + kSignature.size()));
  return TrailerStatus::kFound;
}

DirectoryReader::DirectoryReader(ByteSource& source, const Layout& layout)
    : source_(source), position_(layout.DirectoryStart()), end_(layout.fileSize - kTrailerSize) {
  if (position_ < 0 || position_ > end_) {
    finished_ = true;
    cutShort_ = true;
  }
}

bool DirectoryReader::Take(void* out, size_t count) {
  if (static_cast<uint64_t>(end_ - position_) < count) return false;
  const int64_t chunkEnd = chunkStart_ + static_cast<int64_t>(chunk_.size());
  if (position_ < chunkStart_ || position_ + static_cast<int64_t>(count) > chunkEnd) {
    // Entries are small; reading the directory a chunk at a time keeps a long one quick.
    const auto length = static_cast<size_t>(
        std::min<int64_t>(end_ - position_, static_cast<int64_t>(kDirectoryChunk)));
    chunk_.resize(length);
    chunkStart_ = position_;
    if (!source_.ReadAt(position_, chunk_.data(), length)) {
      chunk_.clear();
      return false;
    }
  }
  std::memcpy(out, chunk_.data() + (position_ - chunkStart_), count);
  position_ += static_cast<int64_t>(count);
  return true;
}

std::optional<DirectoryEntry> DirectoryReader::Next() {
  if (finished_) return std::nullopt;
  uint8_t length = 0;
  if (position_ == end_ || (Take(&length, 1) && length == 0)) {
    finished_ = true;
    return std::nullopt;
  }
  DirectoryEntry entry;
  entry.name.resize(length);
  uint8_t numbers[8];
  if (length == 0 || !Take(entry.name.data(), length) || !Take(numbers, sizeof numbers)) {
    finished_ = true;
    cutShort_ = true;
    return std::nullopt;
  }
  entry.offset = static_cast<int32_t>(LoadLe32(numbers));
  entry.storedSize = static_cast<int32_t>(LoadLe32(numbers + 4));
  return entry;
}

std::string_view FinalComponent(std::string_view name) {
  const size_t separator = name.find_last_of("/\\");
  return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

bool NamesMatch(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<DirectoryEntry> FindEntry(ByteSource& source, const Layout& layout,
                                        std::string_view wanted) {
  DirectoryReader reader(source, layout);
  while (auto entry = reader.Next()) {
    if (NamesMatch(entry->name, wanted)) return entry;
  }
  return std::nullopt;
}

const char* DescribeItemFault(ItemFault fault) {
  switch (fault) {
    case ItemFault::kNone:
      return "ok";
    case ItemFault::kOutsideFile:
      return "offset or stored size runs outside the file";
    case ItemFault::kTooSmall:
      return "stored size is below the 4-byte header";
    case ItemFault::kTooLarge:
      return "header claims an impossible uncompressed size";
    case ItemFault::kUndecodable:
      return "compressed data does not decompress";
    case ItemFault::kWrongLength:
      return "data decompresses to another length than its header says";
  }
  return "unknown fault";
}

namespace {

ItemFault LocateBlob(const Layout& layout, const DirectoryEntry& entry, int64_t& start) {
  if (entry.storedSize < static_cast<int32_t>(kItemHeaderSize)) return ItemFault::kTooSmall;
  start = layout.ItemStart(entry);
  if (start < 0 || start > layout.fileSize || layout.fileSize - start < entry.storedSize) {
    return ItemFault::kOutsideFile;
  }
  return ItemFault::kNone;
}

}  // namespace

Item ReadItem(ByteSource& source, const Layout& layout, const DirectoryEntry& entry) {
  int64_t start = 0;
  if (const ItemFault fault = LocateBlob(layout, entry, start); fault != ItemFault::kNone) {
    return {{}, fault};
  }
  // Check the header before reading the blob, so a damaged one costs no large allocation.
  uint8_t header[kItemHeaderSize];
  if (!source.ReadAt(start, header, sizeof header)) return {{}, ItemFault::kOutsideFile};
  const uint64_t claimed = LoadLe32(header);
  const uint64_t compressed = static_cast<uint64_t>(entry.storedSize) - kItemHeaderSize;
  if (claimed > kMaxItemSize || claimed > compressed * kMaxExpansionPerByte) {
    return {{}, ItemFault::kTooLarge};
  }
  std::vector<uint8_t> blob(static_cast<size_t>(entry.storedSize));
  if (!source.ReadAt(start, blob.data(), blob.size())) return {{}, ItemFault::kOutsideFile};
  return DecompressItem(blob);
}

std::optional<uint32_t> ReadItemSize(ByteSource& source, const Layout& layout,
                                     const DirectoryEntry& entry) {
  int64_t start = 0;
  uint8_t header[kItemHeaderSize];
  if (LocateBlob(layout, entry, start) != ItemFault::kNone ||
      !source.ReadAt(start, header, sizeof header)) {
    return std::nullopt;
  }
  return LoadLe32(header);
}

}  // namespace zrb::files::archive
