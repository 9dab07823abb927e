#include "engine/values/runtime_error.h"

#include <cstdio>
#include <cstdlib>

namespace zrb {
namespace {

RuntimeErrorRecord g_record;

void DefaultFatalHandler(int32_t) {
  std::fprintf(stderr, "runtime error %s\n", RuntimeErrorText().c_str());
  std::exit(1);
}

FatalErrorHandler g_handler = DefaultFatalHandler;

}  // namespace

RuntimeErrorRecord& RuntimeError() {
  return g_record;
}

void SetRuntimeError(int32_t code) {
  g_record.code = code;
  g_record.errorLine = g_record.currentLine;
}

void ClearRuntimeErrorCode() {
  g_record.code = kErrorSuccess;
}

void ResetRuntimeErrorRecord() {
  g_record = RuntimeErrorRecord{};
}

const char* RuntimeErrorMessage(int32_t code) {
  switch (code) {
    case kErrorSuccess:
      return "success";
    case kErrorNoSuchFile:
      return "no such file";
    case kErrorOutOfMemory:
      return "out of memory";
    case kErrorOutOfBounds:
      return "out of bounds";
    case kErrorOutOfData:
      return "out of data";
    default:
      return "unknown error";
  }
}

std::string RuntimeErrorText() {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4d %s", static_cast<int>(g_record.code),
                RuntimeErrorMessage(g_record.code));
  return buffer;
}

FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler) {
  FatalErrorHandler previous = g_handler;
  g_handler = handler ? handler : DefaultFatalHandler;
  return previous;
}

void FatalRuntimeError(int32_t code) {
  SetRuntimeError(code);
  g_handler(code);
  // A handler that returns breaks the contract; never carry on after a fatal condition.
  std::abort();
}

}  // namespace zrb
