// The channel records behind the file channel operations.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/files/disk_file.h"
#include "engine/files/memory_files.h"

namespace zrb::files {

struct Channel {
  UniqueFd handle;     // a disk file
  MemoryBlock memory;  // an in-memory file, shared with the archive slot that made it
  int64_t size = 0;
  int64_t position = 0;

  bool IsFree() const { return !handle && !memory; }
  void Clear() { *this = Channel{}; }
};

// The channel's record; a number outside 0..7 ends the program with code 7.
Channel& CheckedChannel(int32_t channel);

// Reads `count` (at most 8) bytes; fatal (code 3) on a free channel or a short disk read.
void ReadChannelBytes(int32_t channel, uint8_t* bytes, size_t count);
// Writes all bytes; fatal (code 3) without a disk handle or on a short write.
void WriteChannelBytes(int32_t channel, const void* bytes, size_t count);

}  // namespace zrb::files
