// Times the engine's random draws (each one a whole ISAAC generation round) and the
// number-to-text conversions the game uses every frame.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "engine/values/engine_string.h"
#include "engine/values/number_text.h"
#include "engine/values/random.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  // An optional argument sets the number of draws and conversions per figure.
  const int kDraws = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
  zrb::SeedRandom(12345);
  long long sum = 0;
  auto start = Clock::now();
  for (int i = 0; i < kDraws; ++i)
    sum += zrb::Random(1000);
  double seconds = SecondsSince(start);
  std::printf("Random(1000) x %d: %.3f s, %.1f ns per draw (mean %.2f)\n", kDraws, seconds,
              seconds * 1e9 / kDraws, static_cast<double>(sum) / kDraws);

  const int kTexts = kDraws;
  size_t length = 0;
  start = Clock::now();
  for (int i = 0; i < kTexts; ++i)
    length += zrb::ToText(i * 37).Length();
  seconds = SecondsSince(start);
  std::printf("ToText(whole) x %d: %.1f ns each\n", kTexts, seconds * 1e9 / kTexts);

  start = Clock::now();
  for (int i = 0; i < kTexts; ++i)
    length += zrb::ToText(i * 0.37).Length();
  seconds = SecondsSince(start);
  std::printf("ToText(double) x %d: %.1f ns each\n", kTexts, seconds * 1e9 / kTexts);

  zrb::EngineString line;
  start = Clock::now();
  for (int i = 0; i < kTexts; ++i) {
    line = "score|" + zrb::ToText(i) + "|lives|" + zrb::ToText(i % 5);
    length += line.Length();
  }
  seconds = SecondsSince(start);
  std::printf("status line \"score|\" + n + \"|lives|\" + m x %d: %.1f ns each (%zu chars)\n",
              kTexts, seconds * 1e9 / kTexts, length);
  return 0;
}
