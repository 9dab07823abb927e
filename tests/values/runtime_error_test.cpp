#include "engine/values/runtime_error.h"

#include <gtest/gtest.h>

#include "support/fatal_trap.h"

namespace zrb {
namespace {

TEST(RuntimeError, TextIsFourDigitCodeAndMessage) {
  ResetRuntimeErrorRecord();
  SetRuntimeError(kErrorOutOfBounds);
  EXPECT_EQ(RuntimeErrorText(), "0009 out of bounds");
  SetRuntimeError(kErrorAppendToMultiDim);
  EXPECT_EQ(RuntimeErrorText(), "0008 unknown error");
  ClearRuntimeErrorCode();
  EXPECT_EQ(RuntimeErrorText(), "0000 success");
}

TEST(RuntimeError, SettingCopiesCurrentLineIntoErrorLine) {
  ResetRuntimeErrorRecord();
  RuntimeError().currentLine = 42;
  SetRuntimeError(kErrorNoSuchFile);
  EXPECT_EQ(RuntimeError().errorLine, 42);
  EXPECT_EQ(RuntimeError().code, kErrorNoSuchFile);
}

TEST(RuntimeError, FatalErrorReachesTheInstalledHandlerWithItsCode) {
  ResetRuntimeErrorRecord();
  EXPECT_FATAL(FatalRuntimeError(kErrorOutOfData), kErrorOutOfData);
  EXPECT_EQ(RuntimeError().code, kErrorOutOfData);
}

}  // namespace
}  // namespace zrb
