// Resolving a 1 MiB archive item (open, trailer, directory, read, decompress, publish) against
// liblzo2's bare safe decompressor on the same bytes.
//
// Run from the build folder: ./bench/files/bench_archive
#include <lzo/lzo1x.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/files/archive_format.h"
#include "engine/files/resolver.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kItemSize = 1u << 20;

// Game-like data: words from a small vocabulary with some noise, or pure noise.
Bytes MakeItem(bool compressible) {
  static const char* kWords[] = {"penguin ", "maze ", "web ",   "spider ",
                                 "flame ",   "bird ", "heart ", "cage "};
  Bytes out;
  uint32_t state = 12345;
  while (out.size() < kItemSize) {
    state = state * 1664525u + 1013904223u;
    if (!compressible || (state >> 28) == 0) {
      out.push_back(static_cast<uint8_t>(state >> 16));
    } else {
      for (const char* c = kWords[(state >> 24) & 7]; *c; ++c)
        out.push_back(static_cast<uint8_t>(*c));
    }
  }
  out.resize(kItemSize);
  return out;
}

// Seconds per call, repeating for at least half a second.
double SecondsPerCall(const std::function<void()>& call) {
  using Clock = std::chrono::steady_clock;
  call();  // warm caches
  int calls = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    call();
    ++calls;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < 0.5);
  return elapsed / calls;
}

void Measure(const char* label, bool compressible, const std::string& folder) {
  const Bytes item = MakeItem(compressible);
  zrb::files::archive::ArchiveBuilder builder;
  builder.Add("item.bin", item);
  const Bytes archive = builder.Finish(zrb::files::archive::OffsetBase::kFileStart);
  const std::string path = folder + "/bench.sbx";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()),
             static_cast<std::streamsize>(archive.size()));
  zrb::SetMediaArchive(path, path);

  const Bytes blob = zrb::files::archive::CompressItem(item);
  Bytes out(kItemSize);
  const double raw = SecondsPerCall([&] {
    lzo_uint length = out.size();
    lzo1x_decompress_safe(blob.data() + 4, blob.size() - 4, out.data(), &length, nullptr);
  });
  std::string result;
  const double memory = SecondsPerCall(
      [&] { zrb::files::Resolve(zrb::files::ArchiveSlot::kPrimary, "item.bin", result, true); });
  const double temporary = SecondsPerCall(
      [&] { zrb::files::Resolve(zrb::files::ArchiveSlot::kSecondary, "item.bin", result, false); });
  zrb::files::ReleaseArchiveSlots();

  const double mib = static_cast<double>(kItemSize) / (1 << 20);
  std::printf("%s: 1 MiB item stored in %zu bytes (%.2f:1)\n", label, blob.size(),
              static_cast<double>(kItemSize) / static_cast<double>(blob.size()));
  std::printf("  lzo1x_decompress_safe alone     %8.3f ms  %7.0f MiB/s\n", raw * 1e3, mib / raw);
  std::printf(
      "  resolve as memory file          %8.3f ms  %7.0f MiB/s  %.2fx the bare decompressor\n",
      memory * 1e3, mib / memory, memory / raw);
  std::printf(
      "  resolve as temporary file       %8.3f ms  %7.0f MiB/s  %.2fx the bare decompressor\n",
      temporary * 1e3, mib / temporary, temporary / raw);
}

}  // namespace

int main() {
  if (lzo_init() != LZO_E_OK) return 1;
  std::string folder = (std::filesystem::temp_directory_path() / "bench-archive-XXXXXX").string();
  if (!::mkdtemp(folder.data())) return 1;
  ::setenv("TMPDIR", folder.c_str(), 1);
  Measure("game-like data", true, folder);
  Measure("incompressible data", false, folder);
  std::filesystem::remove_all(folder);
  return 0;
}
