// ReadData over data blocks built from the fuzz input: numbers and texts read as doubles,
// whole numbers and texts, checked against the C library's strtol and strtod (the atoi and
// atof rules), and reading past the end, which must end in "out of data".
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/values/data_block.h"
#include "engine/values/engine_string.h"
#include "engine/values/number_text.h"
#include "engine/values/numeric.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reference_numbers.h"

namespace {

constexpr size_t kMaxItems = 48;
constexpr size_t kMaxTextLength = 96;

using zrb::fuzz::ReferenceDouble;
using zrb::fuzz::ReferenceInt;

bool SameDouble(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using zrb::DataItem;
  FuzzedDataProvider input(data, size);
  std::vector<std::string> texts;
  texts.reserve(kMaxItems);  // items point into these strings
  std::vector<DataItem> items;
  const size_t count = input.ConsumeIntegralInRange<size_t>(0, kMaxItems);
  for (size_t i = 0; i < count && input.remaining_bytes() > 0; ++i) {
    switch (input.ConsumeIntegralInRange(0, 2)) {
      case 0:
        items.emplace_back(input.ConsumeIntegral<int>());
        break;
      case 1:
        items.emplace_back(input.ConsumeFloatingPoint<double>());
        break;
      default:
        texts.push_back(input.ConsumeRandomLengthString(kMaxTextLength));
        items.emplace_back(texts.back().c_str());
        break;
    }
  }

  zrb::DataBlock block(items);
  zrb::RestoreData(block);
  zrb::testing::FatalTrap trap;
  for (const DataItem& item : items) {
    switch (input.ConsumeIntegralInRange(0, 2)) {
      case 0: {
        double value = 0;
        zrb::ReadData(value);
        FUZZ_CHECK(SameDouble(value, item.text ? ReferenceDouble(item.text) : item.number));
        break;
      }
      case 1: {
        int32_t value = 0;
        zrb::ReadData(value);
        FUZZ_CHECK(value ==
                   (item.text ? ReferenceInt(item.text) : zrb::TruncateToInt(item.number)));
        break;
      }
      default: {
        zrb::EngineString value("left over");
        zrb::ReadData(value);
        if (item.text) {
          FUZZ_CHECK(std::strcmp(value.c_str(), item.text) == 0);
        } else {
          FUZZ_CHECK(std::string_view(value) == std::string_view(zrb::ToText(item.number)));
        }
        FUZZ_CHECK(value.Length() == std::strlen(value.c_str()));
        break;
      }
    }
  }
  FUZZ_CHECK(block.NextIndex() == block.Count());
  bool outOfData = false;
  try {
    double value = 0;
    zrb::ReadData(value);
  } catch (const zrb::testing::FatalError& error) {
    outOfData = error.code == zrb::kErrorOutOfData;
  }
  FUZZ_CHECK(outOfData);
  return 0;
}
