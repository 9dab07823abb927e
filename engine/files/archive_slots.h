// The two archive slots: which archive each looks in, and the one item each holds out.
#pragma once

#include <span>
#include <string>

#include "engine/files/archive_format.h"
#include "engine/files/memory_files.h"
#include "engine/files/resolver.h"

namespace zrb::files {

struct SlotState {
  SlotState();
  ~SlotState() { ReleaseItem(); }
  SlotState(const SlotState&) = delete;
  SlotState& operator=(const SlotState&) = delete;

  // Withdraws the memory image and deletes the temporary file.
  void ReleaseItem();

  bool enabled = true;
  std::string archiveName;
  std::string temporaryFile;
  MemoryFile memoryImage;
};

SlotState& Slot(ArchiveSlot slot);

// "sbx", two letters from the low bytes of the item offset and stored size, the stored name.
std::string TemporaryItemName(const archive::DirectoryEntry& entry);

// Replaces whatever is at `path` with a new file holding `data`. On failure nothing is left.
bool WriteTemporaryFile(const std::string& path, std::span<const uint8_t> data);

}  // namespace zrb::files
