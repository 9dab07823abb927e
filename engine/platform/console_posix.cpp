#include "engine/platform/console.h"

namespace zrb::platform {

// The arguments are the bytes the caller gave; the streams are what it connected.
void PrepareCommandLine(int*, char***) {}

}  // namespace zrb::platform
