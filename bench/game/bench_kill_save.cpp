// Kills the game's settings save (SaveSettings, as the game calls it at exit) at random moments
// and checks what each kill leaves: settings.cfg must always be the old file or the new one,
// whole, and the next save must leave no unfinished file behind.
//
// Usage: bench_kill_save [kills] [folder]
//   kills   how many saves to kill (default 200)
//   folder  where settings.cfg lives during the run (default: a fresh folder in the current
//           one, so that the saves go to a real disk and every fsync costs what it costs)
// Exit status 0 when every kill left a whole file and every next save cleaned up.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "game/settings_file.h"
#include "game/state.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int32_t kOldScore = 1111111;
constexpr int32_t kNewScore = 2222222;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Encoded(int32_t score) {
  std::string bytes = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 4; ++i)
    bytes[4 + i] = static_cast<char>((static_cast<uint32_t>(score) >> (8 * i)) & 0xFF);
  return bytes;
}

int Leftovers() {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(".")) {
    if (entry.path().filename().string().rfind("settings.cfg.", 0) == 0) ++count;
  }
  return count;
}

// The save as the game does it at exit, with the high score given.
void Save(int32_t score) {
  tundrel::SetDefaultSettings();
  tundrel::highScore = score;
  tundrel::SaveSettings();
}

double MedianSaveMs() {
  std::vector<double> times;
  for (int i = 0; i < 21; ++i) {
    const auto start = Clock::now();
    Save(i % 2 ? kNewScore : kOldScore);
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  Save(kOldScore);
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int kills = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  fs::path folder;
  if (argc > 2) {
    folder = argv[2];
    fs::create_directories(folder);
  } else {
    std::string pattern = (fs::current_path() / "kill-save-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      return 2;
    }
    folder = pattern;
  }
  if (::chdir(folder.c_str()) != 0) {
    std::perror("chdir");
    return 2;
  }
  const std::string oldFile = Encoded(kOldScore);
  const std::string newFile = Encoded(kNewScore);

  const double saveMs = MedianSaveMs();
  // Kill moments spread over the whole save and a little either side of it.
  const double windowMs = saveMs * 1.5 + 0.05;
  std::mt19937 random(std::random_device{}());
  std::uniform_real_distribution<double> delay(0.0, windowMs);

  int keptOld = 0, becameNew = 0, broken = 0, unfinishedAfterKill = 0, leftAfterNextSave = 0;
  int notKilled = 0;
  for (int trial = 0; trial < kills; ++trial) {
    int ready[2];
    if (::pipe(ready) != 0) return 2;
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(ready[0]);
      tundrel::SetDefaultSettings();
      tundrel::highScore = kNewScore;
      const char mark = 'r';
      if (::write(ready[1], &mark, 1) != 1) _exit(3);
      tundrel::SaveSettings();
      for (;;)
        ::pause();  // the kill ends it, before or after the save
    }
    ::close(ready[1]);
    char mark = 0;
    if (::read(ready[0], &mark, 1) != 1) return 2;
    ::close(ready[0]);
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(delay(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFSIGNALED(status)) ++notKilled;

    const std::string now = Read("settings.cfg");
    if (now == oldFile) {
      ++keptOld;
    } else if (now == newFile) {
      ++becameNew;
    } else {
      ++broken;
      std::fprintf(stderr, "kill %d: settings.cfg holds %zu bytes, neither file\n", trial + 1,
                   now.size());
    }
    if (Leftovers() > 0) ++unfinishedAfterKill;
    // The next run's save: it must take away what the killed one left.
    Save(kOldScore);
    if (Leftovers() > 0) ++leftAfterNextSave;
    if (Read("settings.cfg") != oldFile) ++broken;
  }

  std::printf("kill-save: %d SIGKILLs during the settings save (folder %s)\n", kills,
              folder.c_str());
  std::printf(
      "  median save %.3f ms (create, write, fsync, rename, folder fsync); kills spread "
      "over 0..%.3f ms after the save began\n",
      saveMs, windowMs);
  std::printf("  settings.cfg after the kill: old file %d, new file %d, anything else %d\n",
              keptOld, becameNew, broken);
  std::printf("  kills that left an unfinished temporary file: %d; left after the next save: %d\n",
              unfinishedAfterKill, leftAfterNextSave);
  if (notKilled > 0) std::printf("  children that ended before the kill: %d\n", notKilled);
  if (argc <= 2) fs::remove_all(folder);
  return broken == 0 && leftAfterNextSave == 0 ? 0 : 1;
}
