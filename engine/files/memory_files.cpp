#include "engine/files/memory_files.h"

#include <cstdio>
#include <unordered_map>
#include <utility>

namespace zrb::files {
namespace {

struct Registry {
  std::unordered_map<uint32_t, MemoryBlock> blocks;
  uint32_t lastId = 0;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

uint32_t NextFreeId(Registry& registry) {
  // Zero is never handed out; after a wrap-around, numbers still in use are skipped.
  do {
    ++registry.lastId;
  } while (registry.lastId == 0 || registry.blocks.contains(registry.lastId));
  return registry.lastId;
}

// Parses a hexadecimal field the way strtol with base 16 does: blanks first, then digits.
bool ParseHexField(std::string_view text, size_t start, uint64_t& value) {
  size_t i = start;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
  value = 0;
  size_t digits = 0;
  for (; i < text.size(); ++i, ++digits) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      break;
    }
    if (value > (UINT64_MAX >> 4)) return false;
    value = value * 16 + static_cast<uint64_t>(digit);
  }
  return digits > 0;
}

}  // namespace

MemoryFile::MemoryFile(MemoryBlock block) {
  // The size field is 8 hexadecimal characters wide; a larger block cannot be named.
  if (!block || block->size() > UINT32_MAX) return;
  Registry& registry = TheRegistry();
  id_ = NextFreeId(registry);
  char name[48];
  std::snprintf(name, sizeof name, "mem://%8zx.%8x", block->size(), static_cast<unsigned>(id_));
  name_ = name;
  registry.blocks.emplace(id_, std::move(block));
}

MemoryFile::MemoryFile(MemoryFile&& other) noexcept
    : id_(std::exchange(other.id_, 0)), name_(std::move(other.name_)) {
  other.name_.clear();
}

MemoryFile& MemoryFile::operator=(MemoryFile&& other) noexcept {
  if (this != &other) {
    Withdraw();
    id_ = std::exchange(other.id_, 0);
    name_ = std::move(other.name_);
    other.name_.clear();
  }
  return *this;
}

void MemoryFile::Withdraw() {
  if (id_ != 0) TheRegistry().blocks.erase(id_);
  id_ = 0;
  name_.clear();
}

MemoryBlock FindMemoryFile(std::string_view name) {
  // Size from character 6, number from character 15, as every reader of these names does.
  constexpr size_t kSizeField = 6;
  constexpr size_t kNumberField = 15;
  if (!IsMemoryName(name)) return nullptr;
  uint64_t size = 0;
  uint64_t id = 0;
  if (!ParseHexField(name, kSizeField, size) || !ParseHexField(name, kNumberField, id)) {
    return nullptr;
  }
  if (id == 0 || id > UINT32_MAX) return nullptr;
  const Registry& registry = TheRegistry();
  const auto found = registry.blocks.find(static_cast<uint32_t>(id));
  if (found == registry.blocks.end() || found->second->size() != size) return nullptr;
  return found->second;
}

size_t PublishedMemoryFileCount() {
  return TheRegistry().blocks.size();
}

}  // namespace zrb::files
