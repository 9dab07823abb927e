// The record lists (enemies, webs, items, floaters, sparkles) are engine arrays walked by
// index. A removed record's successors move down one place, so a walk that removes the record
// at index i looks at index i again for the next one.
#pragma once

#include <cstdint>
#include <utility>

#include "engine/values/engine_array.h"

namespace tundrel {

template <typename T>
int32_t RecordCount(const zrb::EngineArray<T>& list) {
  return zrb::ArraySize(list, 0);
}

template <typename T>
void RemoveRecord(zrb::EngineArray<T>& list, int32_t index) {
  const int32_t count = RecordCount(list);
  if (index < 0 || index >= count) return;
  for (int32_t i = index; i + 1 < count; ++i)
    list(i) = std::move(list(i + 1));
  zrb::RedimArray(list, count - 1);
}

template <typename T>
void ClearRecords(zrb::EngineArray<T>& list) {
  zrb::RedimArray(list, 0);
}

}  // namespace tundrel
