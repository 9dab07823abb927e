#include "engine/files/archive_slots.h"

#include <unistd.h>

#include "engine/platform/file_calls.h"
#include "engine/platform/paths.h"

namespace zrb::files {

SlotState::SlotState() : archiveName(platform::ExecutablePath()) {}

void SlotState::ReleaseItem() {
  memoryImage.Withdraw();
  if (!temporaryFile.empty()) platform::RemoveFile(temporaryFile);
  temporaryFile.clear();
}

SlotState& Slot(ArchiveSlot slot) {
  // The registry must outlive the slots, whose memory images withdraw from it when they go at
  // program end: touching it first makes it the later to be destroyed.
  PublishedMemoryFileCount();
  static SlotState slots[2];
  return slots[slot == ArchiveSlot::kSecondary ? 1 : 0];
}

std::string TemporaryItemName(const archive::DirectoryEntry& entry) {
  const auto letter = [](int32_t number) {
    return static_cast<char>('A' + (static_cast<uint32_t>(number) & 0xFF) % 26);
  };
  return std::string("sbx") + letter(entry.offset) + letter(entry.storedSize) + entry.name;
}

bool WriteTemporaryFile(const std::string& path, std::span<const uint8_t> data) {
  if (path.find('\0') != std::string::npos) return false;
  platform::RemoveFile(path);
  // Created anew and exclusively: a link planted at the path is never followed.
  UniqueFd fd = platform::CreateExclusiveFile(path, 0600);
  if (!fd) return false;
  const bool written = WriteFully(fd.Get(), data.data(), data.size());
  const bool closed = ::close(fd.Release()) == 0;
  if (written && closed) return true;
  platform::RemoveFile(path);
  return false;
}

}  // namespace zrb::files
