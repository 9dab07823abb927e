// <windows.h> first: the other system headers build on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/platform/console.h"
#include "engine/platform/windows_text.h"

namespace zrb::platform {
namespace {

bool Connected(DWORD stream) {
  const HANDLE handle = ::GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void PrepareCommandLine(int* argc, char*** argv) {
  const bool outConnected = Connected(STD_OUTPUT_HANDLE);
  const bool errConnected = Connected(STD_ERROR_HANDLE);
  if ((!outConnected || !errConnected) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
    if (!outConnected) std::freopen("CONOUT$", "w", stdout);
    if (!errConnected) std::freopen("CONOUT$", "w", stderr);
  }
  ::_setmode(_fileno(stdout), _O_BINARY);
  ::_setmode(_fileno(stderr), _O_BINARY);

  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return;
  static std::vector<std::string> arguments;
  static std::vector<char*> pointers;
  arguments.clear();
  for (int i = 0; i < count; ++i)
    arguments.push_back(Utf8(wide[i]));
  ::LocalFree(wide);
  pointers.clear();
  for (std::string& argument : arguments)
    pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  *argc = count;
  *argv = pointers.data();
}

}  // namespace zrb::platform
