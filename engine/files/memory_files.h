// In-memory files: blocks of bytes published under "mem://" names.
//
// A name is "mem://%8x.%8x" of the block's size and a registry number: "mem://", the size in
// lower-case hexadecimal right-aligned in 8 characters, ".", then the number in the same form.
// Addresses are 64-bit here and do not fit the second field, so blocks are found through a
// registry instead. A name whose block has been withdrawn, or whose size disagrees with the
// block, finds nothing: a stale name can never reach freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zrb::files {

using MemoryBlock = std::shared_ptr<const std::vector<uint8_t>>;

inline constexpr std::string_view kMemoryNamePrefix = "mem://";

// True when the name begins with "mem://" (exact case).
inline bool IsMemoryName(std::string_view name) {
  return name.substr(0, kMemoryNamePrefix.size()) == kMemoryNamePrefix;
}

// Publishes a block under a fresh name for as long as this object lives. Readers that look
// the block up share it, so what they hold stays valid after the name is withdrawn.
// Blocks of 4 GiB or more get no name.
class MemoryFile {
 public:
  MemoryFile() = default;
  explicit MemoryFile(MemoryBlock block);
  ~MemoryFile() { Withdraw(); }
  MemoryFile(MemoryFile&& other) noexcept;
  MemoryFile& operator=(MemoryFile&& other) noexcept;
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // The "mem://" name; empty when nothing is published.
  const std::string& Name() const { return name_; }
  void Withdraw();

 private:
  uint32_t id_ = 0;
  std::string name_;
};

// The block a "mem://" name stands for, or nullptr.
MemoryBlock FindMemoryFile(std::string_view name);

// Number of blocks currently published (for leak checks).
size_t PublishedMemoryFileCount();

}  // namespace zrb::files
