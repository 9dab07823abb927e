// The archive reader on arbitrary bytes held in memory: the trailer, the whole directory walk,
// every entry's item (bounded), lookups by name, and the item codec on the raw input.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/files/archive_format.h"
#include "engine/files/byte_source.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace zrb::files;

constexpr int kMaxEntriesVisited = 64;

void CheckItem(const archive::Item& item) {
  // A damaged item is empty, a whole one never exceeds the bound the reader promises.
  if (item.fault != archive::ItemFault::kNone) FUZZ_CHECK(item.data.empty());
  FUZZ_CHECK(item.data.size() <= archive::kMaxItemSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto block = std::make_shared<const std::vector<uint8_t>>(data, data + size);
  MemorySource source(block);

  CheckItem(archive::DecompressItem(*block));

  archive::Layout layout;
  if (archive::ReadTrailer(source, layout) != archive::TrailerStatus::kFound) return 0;
  FUZZ_CHECK(layout.fileSize == static_cast<int64_t>(size));

  archive::DirectoryReader reader(source, layout);
  int visited = 0;
  while (auto entry = reader.Next()) {
    FUZZ_CHECK(!entry->name.empty() && entry->name.size() <= archive::kMaxNameLength);
    const archive::Item item = archive::ReadItem(source, layout, *entry);
    CheckItem(item);
    const auto claimed = archive::ReadItemSize(source, layout, *entry);
    if (item.fault == archive::ItemFault::kNone) {
      FUZZ_CHECK(claimed && *claimed == item.data.size());
    }
    // The first entry of that name wins: looking it up again finds an entry of the same name.
    const auto found = archive::FindEntry(source, layout, entry->name);
    FUZZ_CHECK(found && archive::NamesMatch(found->name, entry->name));
    if (++visited == kMaxEntriesVisited) break;
  }
  return 0;
}
