// The name resolver over an archive file on disk built from the fuzz bytes: every name in
// its directory (bounded) and one that is not there, through both slots, then the bytes read
// back as the game would read them.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/archive_format.h"
#include "engine/files/byte_source.h"
#include "engine/files/memory_files.h"
#include "engine/files/resolver.h"
#include "engine/platform/paths.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace zrb::files;

constexpr int kMaxNamesResolved = 16;
// A folder that does not exist, so no name can be found on disk and the archive is consulted.
constexpr const char* kAbsentFolder = "zrb-fuzz-no-such-folder/";

const std::string& ArchivePath() {
  static const std::string path = zrb::platform::TemporaryDirectory() + "zrb-fuzz-archive-" +
                                  std::to_string(::getpid()) + ".sbx";
  return path;
}

void RemoveArchive() {
  std::remove(ArchivePath().c_str());
}

bool WriteArchive(const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(ArchivePath().c_str(), "wb");
  if (!file) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

std::vector<std::string> NamesInArchive(const std::string& path) {
  std::vector<std::string> names;
  std::unique_ptr<ByteSource> source = OpenByteSource(path);
  if (!source) return names;
  archive::Layout layout;
  if (archive::ReadTrailer(*source, layout) != archive::TrailerStatus::kFound) return names;
  archive::DirectoryReader reader(*source, layout);
  while (auto entry = reader.Next()) {
    if (names.size() == kMaxNamesResolved) break;
    names.push_back(entry->name);
  }
  return names;
}

void ResolveThroughBothSlots(const std::string& name) {
  std::string result;
  const bool inMemory = Resolve(ArchiveSlot::kPrimary, name, result, /*asMemory=*/true);
  if (inMemory) {
    FUZZ_CHECK(IsMemoryName(result));
    const auto bytes = ReadResolvedFile(result);
    FUZZ_CHECK(bytes.has_value());
    FUZZ_CHECK(bytes->size() <= archive::kMaxItemSize);
  } else {
    FUZZ_CHECK(result.empty() || result == name);
  }
  const bool onDisk = Resolve(ArchiveSlot::kSecondary, name, result, /*asMemory=*/false);
  if (onDisk) {
    FUZZ_CHECK(ReadResolvedFile(result).has_value());
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(RemoveArchive);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteArchive(data, size)) return 0;
  zrb::SetMediaArchive(ArchivePath(), ArchivePath());
  for (const std::string& name : NamesInArchive(ArchivePath())) {
    ResolveThroughBothSlots(kAbsentFolder + name);
  }
  ResolveThroughBothSlots(std::string(kAbsentFolder) + "zrb-fuzz-absent.png");
  ReleaseArchiveSlots();
  FUZZ_CHECK(PublishedMemoryFileCount() == 0);
  return 0;
}
