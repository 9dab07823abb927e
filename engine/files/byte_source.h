// Random-access bytes of an archive: a disk file or a block in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/files/disk_file.h"
#include "engine/files/memory_files.h"

namespace zrb::files {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual int64_t Size() const = 0;
  // Reads exactly `count` bytes at `offset`; false when any of them lies outside.
  virtual bool ReadAt(int64_t offset, void* buffer, size_t count) = 0;
};

class FileSource final : public ByteSource {
 public:
  FileSource(UniqueFd fd, int64_t size) : fd_(std::move(fd)), size_(size) {}
  int64_t Size() const override { return size_; }
  bool ReadAt(int64_t offset, void* buffer, size_t count) override;

 private:
  UniqueFd fd_;
  int64_t size_;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(MemoryBlock block) : block_(std::move(block)) {}
  int64_t Size() const override { return static_cast<int64_t>(block_->size()); }
  bool ReadAt(int64_t offset, void* buffer, size_t count) override;

 private:
  MemoryBlock block_;
};

// A "mem://" name opens the published block, any other name the disk file. Nothing when
// neither can be opened.
std::unique_ptr<ByteSource> OpenByteSource(std::string_view name);

}  // namespace zrb::files
