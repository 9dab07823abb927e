// Shared by the fuzz targets: publishing fuzz bytes as an in-memory file, checks that abort
// with a message (so libFuzzer keeps the input), and (as in the tests) fatal runtime errors
// turned into exceptions the target can catch.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/files/memory_files.h"
#include "tests/support/fatal_trap.h"

namespace zrb::fuzz {

// An invariant of the code under test that the input broke: report and crash, so the input is
// saved as a finding.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

// The fuzz bytes as a "mem://" file for as long as this object lives.
class PublishedBytes {
 public:
  PublishedBytes(const uint8_t* data, size_t size)
      : file_(std::make_shared<const std::vector<uint8_t>>(data, data + size)) {}
  const std::string& Name() const { return file_.Name(); }

 private:
  files::MemoryFile file_;
};

}  // namespace zrb::fuzz
