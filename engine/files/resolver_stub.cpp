// Placeholder until the files subsystem lands: resolves names on disk only.
#include <fstream>
#include <iterator>

#include "engine/files/resolver.h"

namespace zrb {

void SetMediaArchive(std::string_view, std::string_view) {}

}  // namespace zrb

namespace zrb::files {

bool Resolve(ArchiveSlot, std::string_view name, std::string& result, bool) {
  result.assign(name);
  return !name.empty() && std::ifstream(result).good();
}

std::optional<std::vector<uint8_t>> ReadResolvedFile(std::string_view resolvedName) {
  std::ifstream in{std::string(resolvedName), std::ios::binary};
  if (!in) return std::nullopt;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void ReleaseArchiveSlots() {}

}  // namespace zrb::files
