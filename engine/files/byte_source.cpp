#include "engine/files/byte_source.h"

#include <cstring>

namespace zrb::files {
namespace {

bool InRange(int64_t offset, size_t count, int64_t size) {
  return offset >= 0 && offset <= size && static_cast<uint64_t>(size - offset) >= count;
}

}  // namespace

bool FileSource::ReadAt(int64_t offset, void* buffer, size_t count) {
  return InRange(offset, count, size_) && ReadFullyAt(fd_.Get(), offset, buffer, count);
}

bool MemorySource::ReadAt(int64_t offset, void* buffer, size_t count) {
  if (!InRange(offset, count, Size())) return false;
  if (count > 0) std::memcpy(buffer, block_->data() + offset, count);
  return true;
}

std::unique_ptr<ByteSource> OpenByteSource(std::string_view name) {
  if (IsMemoryName(name)) {
    MemoryBlock block = FindMemoryFile(name);
    if (!block) return nullptr;
    return std::make_unique<MemorySource>(std::move(block));
  }
  UniqueFd fd = OpenExistingFile(name);
  if (!fd) return nullptr;
  const int64_t size = FileSizeOf(fd.Get());
  if (size < 0) return nullptr;
  return std::make_unique<FileSource>(std::move(fd), size);
}

}  // namespace zrb::files
