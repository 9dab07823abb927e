// The media archive, read by the resolver and written by the sbx tool.
//
//   stored items   each a blob: uncompressed size (4 bytes, unsigned), then the LZO1X stream
//   directory      entries one after another: name length L (1 byte, 0 ends the directory),
//                  L bytes of name, item offset (4 bytes), stored size (4 bytes)
//   size - 7       the signature "sbX"
//   size - 4       the directory offset
//
// Integers are 32-bit little-endian and signed unless noted. A directory offset >= 0 counts
// from the start of the file, and so does every item offset; a negative one counts back from
// the end of the file, and item offsets are then added to the file size too, which lets an
// archive sit at the end of another file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/byte_source.h"

namespace zrb::files::archive {

inline constexpr std::string_view kSignature = "sbX";
inline constexpr int64_t kTrailerSize = 7;
inline constexpr size_t kMaxNameLength = 255;
inline constexpr size_t kItemHeaderSize = 4;
// The largest item we decompress. Media files are far smaller; a header that claims more is
// damage, and we never allocate for it.
inline constexpr uint32_t kMaxItemSize = 256u << 20;
// One LZO1X byte never unpacks to more than 255 bytes (a run-length extension byte adds 255),
// so a header claiming more than this many per compressed byte is damage as well.
inline constexpr uint64_t kMaxExpansionPerByte = 256;
// Offsets are signed 32-bit.
inline constexpr int64_t kMaxArchiveSize = INT32_MAX;

struct DirectoryEntry {
  std::string name;
  int32_t offset = 0;
  int32_t storedSize = 0;
};

struct Layout {
  int64_t fileSize = 0;
  int32_t directoryOffset = 0;

  bool CountsFromEnd() const { return directoryOffset < 0; }
  int64_t DirectoryStart() const;
  // Where an entry's blob starts in the file (it may lie outside; ReadItem checks).
  int64_t ItemStart(const DirectoryEntry& entry) const;
};

enum class TrailerStatus {
  kUnreadable,   // the file is shorter than the trailer
  kNoSignature,  // the last 7 bytes do not begin with "sbX"
  kFound,
};
TrailerStatus ReadTrailer(ByteSource& source, Layout& layout);

// Walks the directory, which lies between its offset and the trailer.
class DirectoryReader {
 public:
  DirectoryReader(ByteSource& source, const Layout& layout);
  // The next entry; nothing at the end of the directory or at an entry that cannot be read.
  std::optional<DirectoryEntry> Next();
  // True when the walk stopped at an entry that runs past the directory's end (or a
  // directory offset outside the file) rather than at a zero length byte or the trailer.
  bool CutShort() const { return cutShort_; }

 private:
  bool Take(void* out, size_t count);

  ByteSource& source_;
  int64_t position_;
  int64_t end_;
  std::vector<uint8_t> chunk_;
  int64_t chunkStart_ = 0;
  bool finished_ = false;
  bool cutShort_ = false;
};

// The part of a name after its last "/" or "\" (all of it when there is none).
std::string_view FinalComponent(std::string_view name);
// Equal ignoring the case of ASCII letters.
bool NamesMatch(std::string_view a, std::string_view b);
// The first entry whose name matches `wanted` ignoring case.
std::optional<DirectoryEntry> FindEntry(ByteSource& source, const Layout& layout,
                                        std::string_view wanted);

enum class ItemFault {
  kNone,
  kOutsideFile,  // offset or stored size runs outside the file
  kTooSmall,     // stored size below the 4-byte header
  kTooLarge,     // the header claims an absurd uncompressed size
  kUndecodable,  // the LZO1X stream is damaged
  kWrongLength,  // the stream unpacks to another length than the header says
};
const char* DescribeItemFault(ItemFault fault);

struct Item {
  std::vector<uint8_t> data;  // empty when damaged
  ItemFault fault = ItemFault::kNone;
};

// Reads and decompresses an entry's item.
Item ReadItem(ByteSource& source, const Layout& layout, const DirectoryEntry& entry);
// The uncompressed size in an item's header, when it can be read.
std::optional<uint32_t> ReadItemSize(ByteSource& source, const Layout& layout,
                                     const DirectoryEntry& entry);

// A blob: the 4-byte size, then LZO1X-1. `data` must not exceed kMaxItemSize.
std::vector<uint8_t> CompressItem(std::span<const uint8_t> data);
Item DecompressItem(std::span<const uint8_t> blob);

enum class OffsetBase { kFileStart, kFileEnd };

// Collects items and lays out a whole archive: the blobs in the order added, the directory,
// a zero byte and the trailer. The same items always give the same bytes.
class ArchiveBuilder {
 public:
  // Compresses and keeps an item; an error text instead when the name cannot be stored (empty,
  // longer than 255 characters, holding "/", "\" or a zero byte, "." or "..", or equal to an
  // earlier name ignoring case), the data exceeds kMaxItemSize, or the archive would pass 2 GiB.
  std::string Add(std::string_view name, std::span<const uint8_t> data);
  std::vector<uint8_t> Finish(OffsetBase base) const;
  size_t ItemCount() const { return items_.size(); }

 private:
  struct StoredItem {
    std::string name;
    std::vector<uint8_t> blob;
  };
  std::vector<StoredItem> items_;
  int64_t size_ = 1 + kTrailerSize;  // the directory's end byte and the trailer
};

}  // namespace zrb::files::archive
