#include <cstdio>

int main() {
  std::printf("tundrel 1.0\n");
  return 0;
}
