#include "engine/files/resolver.h"

#include <memory>

#include "engine/files/archive_format.h"
#include "engine/files/archive_slots.h"
#include "engine/files/byte_source.h"
#include "engine/files/disk_file.h"
#include "engine/files/memory_files.h"
#include "engine/platform/paths.h"

namespace zrb {

void SetMediaArchive(std::string_view primaryArchive, std::string_view secondaryArchive) {
  const std::string_view names[] = {primaryArchive, secondaryArchive};
  const files::ArchiveSlot slots[] = {files::ArchiveSlot::kPrimary, files::ArchiveSlot::kSecondary};
  for (int i = 0; i < 2; ++i) {
    files::SlotState& slot = files::Slot(slots[i]);
    slot.enabled = true;
    slot.ReleaseItem();
    slot.archiveName.assign(names[i]);
  }
}

}  // namespace zrb

namespace zrb::files {
namespace {

// The archive could not be used: lookups skip this slot until it is named again.
bool Disable(SlotState& slot) {
  slot.enabled = false;
  return false;
}

bool NotInArchive(std::string& result) {
  result.clear();
  return false;
}

}  // namespace

bool Resolve(ArchiveSlot which, std::string_view name, std::string& result, bool asMemory) {
  SlotState& slot = Slot(which);
  slot.ReleaseItem();
  result.clear();
  if (name.empty()) return false;
  result.assign(name);
  if (IsMemoryName(name)) return true;
  if (OpenLoadableFile(name)) return true;  // files on disk take precedence
  if (!slot.enabled) return false;
  if (slot.archiveName.empty()) return Disable(slot);

  std::unique_ptr<ByteSource> source = OpenByteSource(slot.archiveName);
  if (!source) return Disable(slot);
  archive::Layout layout;
  switch (archive::ReadTrailer(*source, layout)) {
    case archive::TrailerStatus::kUnreadable:
      return NotInArchive(result);
    case archive::TrailerStatus::kNoSignature:
      return Disable(slot);
    case archive::TrailerStatus::kFound:
      break;
  }
  const auto entry = archive::FindEntry(*source, layout, archive::FinalComponent(name));
  if (!entry) return NotInArchive(result);
  // A damaged item is handed out as an empty file.
  archive::Item item = archive::ReadItem(*source, layout, *entry);
  source.reset();

  if (asMemory) {
    slot.memoryImage =
        MemoryFile(std::make_shared<const std::vector<uint8_t>>(std::move(item.data)));
    result = slot.memoryImage.Name();
    return true;
  }
  const std::string path = platform::TemporaryDirectory() + TemporaryItemName(*entry);
  if (!WriteTemporaryFile(path, item.data)) return NotInArchive(result);
  slot.temporaryFile = path;
  result = path;
  return true;
}

std::optional<std::vector<uint8_t>> ReadResolvedFile(std::string_view resolvedName) {
  if (IsMemoryName(resolvedName)) {
    MemoryBlock block = FindMemoryFile(resolvedName);
    if (!block) return std::nullopt;
    return *block;
  }
  return ReadWholeFile(resolvedName);
}

MemoryBlock ShareResolvedFile(std::string_view resolvedName) {
  if (IsMemoryName(resolvedName)) return FindMemoryFile(resolvedName);
  auto bytes = ReadWholeFile(resolvedName);
  if (!bytes) return nullptr;
  return std::make_shared<const std::vector<uint8_t>>(std::move(*bytes));
}

void ReleaseArchiveSlots() {
  Slot(ArchiveSlot::kPrimary).ReleaseItem();
  Slot(ArchiveSlot::kSecondary).ReleaseItem();
}

}  // namespace zrb::files
