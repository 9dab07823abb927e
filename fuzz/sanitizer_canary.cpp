// Does one thing the sanitizers must catch, chosen by the argument, so the sanitized test run
// proves its instrumentation is in place: if a build loses its flags, these tests fail.
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  // Opaque to the optimiser: the values come from the command line's length.
  const int offset = static_cast<int>(std::strlen(argv[1]));
  if (std::strcmp(argv[1], "heap") == 0) {
    auto block = std::make_unique<char[]>(4);
    block[static_cast<size_t>(offset)] = 1;  // "heap" has 4 characters: one past the end
    std::printf("%d\n", block[0]);
  } else if (std::strcmp(argv[1], "overflow") == 0) {
    int value = INT_MAX - 7 + offset;  // "overflow" has 8 characters: INT_MAX + 1
    std::printf("%d\n", value);
  }
  return 0;
}
