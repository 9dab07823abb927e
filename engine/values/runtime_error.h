// The engine's last-error record and the one door through which fatal conditions leave.
#pragma once

#include <cstdint>
#include <string>

namespace zrb {

// Error codes the engine sets. 8 (append to a two-dimensional array) has no text of its own.
enum RuntimeErrorCode : int32_t {
  kErrorSuccess = 0,
  kErrorNoSuchFile = 3,
  kErrorOutOfMemory = 7,
  kErrorAppendToMultiDim = 8,
  kErrorOutOfBounds = 9,
  kErrorOutOfData = 20,
};

struct RuntimeErrorRecord {
  int32_t code = 0;
  int32_t errorLine = 0;
  int32_t currentLine = 0;
};

// The process-wide record.
RuntimeErrorRecord& RuntimeError();

// Writes the code and copies the current-line word into the error-line word.
void SetRuntimeError(int32_t code);
// Code back to 0 ("success"); the line words stay.
void ClearRuntimeErrorCode();
// All three words to 0, as before the game's entry runs.
void ResetRuntimeErrorRecord();

// "success", "no such file", ... ; "unknown error" for codes without a text.
const char* RuntimeErrorMessage(int32_t code);
// "%.4d %s" of the current code and its text, e.g. "0009 out of bounds".
std::string RuntimeErrorText();

// Called by FatalRuntimeError after the code is set. It must not return: the application
// frame installs one that ends the program, tests install one that throws.
using FatalErrorHandler = void (*)(int32_t code);
// Installs a handler and returns the previous one. nullptr restores the default, which
// prints the error text to standard error and exits with status 1.
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);

// Sets the code and hands control to the fatal handler. Never returns.
[[noreturn]] void FatalRuntimeError(int32_t code);

}  // namespace zrb
