// The name resolver: a file on disk first, then an item of the media archive, handed out as
// an in-memory file ("mem://" name, primary slot) or as a temporary file (secondary slot).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/memory_files.h"

namespace zrb {

// Names the archive of each slot, re-enables both and releases what they hold. The game
// calls it once with "Media.sbx" for both; start-up calls it with the executable's path.
void SetMediaArchive(std::string_view primaryArchive, std::string_view secondaryArchive);

}  // namespace zrb

namespace zrb::files {

enum class ArchiveSlot : int {
  kPrimary = 0,    // images, sounds, file channels opened for reading: in-memory files
  kSecondary = 1,  // music (handed out in memory too, so no temporary file is needed)
};

// Resolves `name` through `slot`. True when the name was found on disk or in the archive.
// `result` receives the name to open: the name itself (on disk, or archive not consulted),
// a "mem://" name (asMemory), a temporary file path (!asMemory), or "" (consulted, absent).
// A "mem://" name or temporary file stays valid until the next lookup through the same slot.
// A damaged archive item is handed out as an empty file. Names may separate folders with "\"
// too; ReadResolvedFile and the file channels turn it into "/" (disk_file.h: PlatformPath).
bool Resolve(ArchiveSlot slot, std::string_view name, std::string& result, bool asMemory);

// The whole content of a resolved name: a memory file's bytes (a copy; FindMemoryFile in
// memory_files.h shares them instead), or a disk file's. Nothing when the file cannot be read
// or the memory file has been released.
std::optional<std::vector<uint8_t>> ReadResolvedFile(std::string_view resolvedName);

// The content of a resolved name as a shared block: a memory file's own bytes (no copy), or a
// disk file's, read whole. Nothing when it cannot be read or the memory file is gone.
MemoryBlock ShareResolvedFile(std::string_view resolvedName);

// Program end: both slots release their items (memory freed, temporary files deleted).
void ReleaseArchiveSlots();

}  // namespace zrb::files
