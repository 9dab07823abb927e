// (Windows units only) UTF-8 inside the program, UTF-16 at the system's calls; the system's
// error codes told as errno values, so the shared code reports them as it does on POSIX.
#pragma once
#include <string>

namespace zrb::platform {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// errno set from GetLastError(); returns false, for `return FailWithLastError();`.
bool FailWithLastError();
// A C runtime descriptor owning `handle` (closed with it); -1, with the handle closed, when
// none can be made.
int DescriptorFor(void* handle, int flags);

}  // namespace zrb::platform
