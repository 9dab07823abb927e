// Constant tables the game reads item by item: maze layouts, instruction pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/values/engine_string.h"

namespace zrb {

// One item: a number, or a text when text is not null. Converts implicitly from numbers and
// literals, so a table is a plain constant array:
//   constexpr zrb::DataItem kLayouts[] = {9, 9, 0, 8, ...};
//   constexpr zrb::DataItem kPage[] = {"first line", "second line"};
// Such arrays live in read-only data and cost nothing at start-up.
struct DataItem {
  constexpr DataItem(int value) : number(value), text(nullptr) {}     // NOLINT
  constexpr DataItem(double value) : number(value), text(nullptr) {}  // NOLINT
  constexpr DataItem(const char* value) : number(0), text(value) {}   // NOLINT

  double number;
  const char* text;
};

// A table of items and the position of the next read. The items are not copied: the
// array must outlive the block (constant arrays at namespace scope do).
class DataBlock {
 public:
  constexpr explicit DataBlock(std::span<const DataItem> items)
      : items_(items.data()), count_(static_cast<int32_t>(items.size())) {}
  template <size_t N>
  constexpr explicit DataBlock(const DataItem (&items)[N]) : items_(items), count_(N) {}

  int32_t Count() const { return count_; }
  int32_t NextIndex() const { return next_; }
  void Restart() { next_ = 0; }
  // The next item, advancing past it; null once every item has been taken.
  const DataItem* TakeNext() { return next_ < count_ ? &items_[next_++] : nullptr; }

 private:
  const DataItem* items_;
  int32_t count_;
  int32_t next_ = 0;
};

// Makes the block current and starts reading it from its first item.
void RestoreData(DataBlock& block);

// Each read takes the next item of the current block. Reading with no current block or past
// its last item ends the program with "out of data".
// Number items are taken as they are; text items are read with the atof rules.
void ReadData(double& value);
// Number items are truncated toward zero; text items are read with the atoi rules.
void ReadData(int32_t& value);
// Text items are copied; number items print by the double-to-text rule.
void ReadData(EngineString& value);

}  // namespace zrb
