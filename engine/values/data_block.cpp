#include "engine/values/data_block.h"

#include "engine/values/number_text.h"
#include "engine/values/numeric.h"
#include "engine/values/runtime_error.h"

namespace zrb {
namespace {

DataBlock* g_current = nullptr;

const DataItem& TakeDataItem() {
  const DataItem* item = g_current ? g_current->TakeNext() : nullptr;
  if (!item) FatalRuntimeError(kErrorOutOfData);
  return *item;
}

}  // namespace

void RestoreData(DataBlock& block) {
  g_current = &block;
  block.Restart();
}

void ReadData(double& value) {
  const DataItem& item = TakeDataItem();
  value = item.text ? TextToDouble(item.text) : item.number;
}

void ReadData(int32_t& value) {
  const DataItem& item = TakeDataItem();
  value = item.text ? TextToInt(item.text) : TruncateToInt(item.number);
}

void ReadData(EngineString& value) {
  const DataItem& item = TakeDataItem();
  if (item.text) {
    value = item.text;
  } else {
    value = ToText(item.number);
  }
}

}  // namespace zrb
