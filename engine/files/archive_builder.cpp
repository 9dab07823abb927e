#include <algorithm>

#include "engine/files/archive_format.h"
#include "engine/files/little_endian.h"

namespace zrb::files::archive {
namespace {

void AppendLe32(std::vector<uint8_t>& out, int64_t value) {
  uint8_t bytes[4];
  StoreLittleEndian(static_cast<uint64_t>(value), bytes, sizeof bytes);
  out.insert(out.end(), bytes, bytes + sizeof bytes);
}

std::string NameProblem(std::string_view name) {
  if (name.empty()) return "an empty name cannot be stored";
  if (name.size() > kMaxNameLength) return "name is longer than 255 characters";
  if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) {
    return "name holds a folder separator or a zero byte";
  }
  if (name == "." || name == "..") return "name cannot be \".\" or \"..\"";
  return {};
}

}  // namespace

std::string ArchiveBuilder::Add(std::string_view name, std::span<const uint8_t> data) {
  if (std::string problem = NameProblem(name); !problem.empty()) {
    return problem + ": \"" + std::string(name) + "\"";
  }
  const auto same = [&](const StoredItem& item) { return NamesMatch(item.name, name); };
  if (std::ranges::any_of(items_, same)) {
    return "two items would share the name \"" + std::string(name) + "\" (names ignore case)";
  }
  if (data.size() > kMaxItemSize) {
    return "\"" + std::string(name) + "\" is larger than 256 MiB";
  }
  std::vector<uint8_t> blob = CompressItem(data);
  if (blob.empty()) return "\"" + std::string(name) + "\" could not be compressed";
  const int64_t entrySize = 1 + static_cast<int64_t>(name.size()) + 8;
  if (size_ + static_cast<int64_t>(blob.size()) + entrySize > kMaxArchiveSize) {
    return "the archive would be larger than 2 GiB";
  }
  size_ += static_cast<int64_t>(blob.size()) + entrySize;
  items_.push_back({std::string(name), std::move(blob)});
  return {};
}

std::vector<uint8_t> ArchiveBuilder::Finish(OffsetBase base) const {
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(size_));
  std::vector<int64_t> positions;
  for (const StoredItem& item : items_) {
    positions.push_back(static_cast<int64_t>(out.size()));
    out.insert(out.end(), item.blob.begin(), item.blob.end());
  }
  // From the end, every offset is its position minus the archive's size.
  const int64_t shift = base == OffsetBase::kFileEnd ? size_ : 0;
  const auto directoryStart = static_cast<int64_t>(out.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    out.push_back(static_cast<uint8_t>(items_[i].name.size()));
    out.insert(out.end(), items_[i].name.begin(), items_[i].name.end());
    AppendLe32(out, positions[i] - shift);
    AppendLe32(out, static_cast<int64_t>(items_[i].blob.size()));
  }
  out.push_back(0);
  out.insert(out.end(), kSignature.begin(), kSignature.end());
  AppendLe32(out, directoryStart - shift);
  return out;
}

}  // namespace zrb::files::archive
