// Soak: the whole game, headless, under random input for 200 000 frames across several
// seeds. Even runs play the game from its title; odd runs start the stage program in a round
// between 1 and 60 (birds, flames, bonus rounds, mixed mazes), as random play seldom gets
// far. Each run is a program of its own; the bench checks that every run
// ends in order (exit status 0, no runtime error), that every traced frame holds sane values,
// that no penguin stays half-way into a web, and that memory stays flat: a run 5 times as
// long must not need noticeably more.
//
// Run from the build folder: ./bench/game/bench_soak [total-frames]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr long kFramesPerRun = 25000;
// A penguin on its way into a web reaches it within 32 frames; far longer means it is stuck.
constexpr int kLongestPull = 200;

// Random play: mostly the arrow keys and fire, held for a while, with Enter and Space to get
// through the menus, and now and then Escape with an answer.
std::string RandomScript(uint32_t seed, long frames) {
  std::mt19937 random(seed);
  std::ostringstream script;
  const char* keys[] = {"Left", "Right", "Up", "Down", "Space", "LCtrl", "Enter"};
  const double endMs = frames * 1000.0 / 60.0;
  double t = 1500;
  while (t < endMs) {
    const int pick = static_cast<int>(random() % 100);
    const double hold = 30 + random() % 900;
    if (pick < 2) {
      // Escape, then an answer: mostly "no", sometimes "yes".
      script << t << " key Escape down\n" << t + 60 << " key Escape up\n";
      const char* answer = random() % 4 == 0 ? "Y" : "N";
      script << t + 700 << " key " << answer << " down\n"
             << t + 760 << " key " << answer << " up\n";
      t += 1000;
    } else {
      const char* key = keys[pick % 7];
      script << t << " key " << key << " down\n" << t + hold << " key " << key << " up\n";
      // Sometimes a second key overlaps the first (diagonals, fire while walking).
      if (random() % 3 == 0) {
        const char* other = keys[random() % 6];
        script << t + hold / 3 << " key " << other << " down\n"
               << t + hold << " key " << other << " up\n";
      }
      t += hold + random() % 200;
    }
  }
  return script.str();
}

struct RunResult {
  int exitStatus = -1;
  long maxRssKb = 0;
  double seconds = 0;
  long frames = 0;
  std::vector<std::string> problems;
  std::map<std::string, long> screens;
  int gamesOver = 0;
  int highestRound = 0;
};

long FieldInt(const std::string& line, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const size_t at = line.find(key);
  if (at == std::string::npos) return LONG_MIN;
  return std::strtol(line.c_str() + at + key.size(), nullptr, 10);
}

std::string FieldString(const std::string& line, const std::string& name) {
  const std::string key = "\"" + name + "\":\"";
  const size_t at = line.find(key);
  if (at == std::string::npos) return "";
  const size_t end = line.find('"', at + key.size());
  return line.substr(at + key.size(), end - at - key.size());
}

// "p1":{"x":..,"y":..,"webState":..}
long PenguinField(const std::string& line, const char* penguin, const char* name) {
  const size_t at = line.find(std::string("\"") + penguin + "\":{");
  if (at == std::string::npos) return LONG_MIN;
  return FieldInt(line.substr(at), name);
}

void CheckTrace(const fs::path& trace, RunResult& result) {
  static const std::set<std::string> kScreens = {
      "start",        "title",        "menu",     "instructions", "settings",    "credits",
      "confirm-exit", "confirm-quit", "select",   "easy-notice",  "round",       "swap",
      "celebration",  "bonus-tally",  "no-bonus", "title-card",   "out-of-time", "quit-screen",
      "freeze",       "nets",         "caught",   "game-over"};
  std::ifstream in(trace);
  std::string line;
  int pulling[2] = {0, 0};
  std::string previous;
  while (std::getline(in, line)) {
    ++result.frames;
    const std::string screen = FieldString(line, "screen");
    ++result.screens[screen];
    auto problem = [&](const std::string& what) {
      if (result.problems.size() < 10) {
        result.problems.push_back("frame " + std::to_string(FieldInt(line, "frame")) + ": " + what);
      }
    };
    if (!kScreens.count(screen)) problem("unknown screen " + screen);
    if (screen == "game-over" && previous != "game-over") ++result.gamesOver;
    previous = screen;
    const long lives = FieldInt(line, "lives");
    const long score = FieldInt(line, "score");
    const long timer = FieldInt(line, "timer");
    const long round = FieldInt(line, "round");
    if (lives < -1 || lives > 99) problem("lives " + std::to_string(lives));
    if (score < 0) problem("score " + std::to_string(score));
    if (timer > 54059 || timer < -1) problem("timer " + std::to_string(timer));
    if (round < 0) problem("round " + std::to_string(round));
    if (round > result.highestRound) result.highestRound = static_cast<int>(round);
    for (int p = 0; p < 2; ++p) {
      const char* name = p == 0 ? "p1" : "p2";
      const long webState = PenguinField(line, name, "webState");
      const long x = PenguinField(line, name, "x");
      const long y = PenguinField(line, name, "y");
      if (webState < 0 || webState > 2) problem("webState " + std::to_string(webState));
      if (screen == "round" && (x < 48 || x > 560 || y < 48 || y > 400)) {
        problem(std::string(name) + " off the field");
      }
      pulling[p] = screen == "round" && webState == 1 ? pulling[p] + 1 : 0;
      if (pulling[p] == kLongestPull) problem(std::string(name) + " stuck on its way into a web");
    }
  }
}

RunResult RunGame(const fs::path& program, uint32_t seed, long frames,
                  const std::vector<std::string>& extraArgs = {}) {
  RunResult result;
  const fs::path dir = fs::temp_directory_path() / ("tundrel_soak_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::create_symlink(fs::absolute(program).parent_path() / "Media.sbx", dir / "Media.sbx");
  std::ofstream(dir / "input.script") << RandomScript(seed, frames);

  std::vector<std::string> args = {program.string(), "--headless",
                                   "--dir",          dir.string(),
                                   "--seed",         std::to_string(seed),
                                   "--script",       (dir / "input.script").string(),
                                   "--trace",        (dir / "trace.json").string(),
                                   "--max-frames",   std::to_string(frames)};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string errorPath = (dir / "stderr.txt").string();
  posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.maxRssKb = usage.ru_maxrss;
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  CheckTrace(dir / "trace.json", result);
  std::ifstream errors(errorPath);
  std::string line;
  while (std::getline(errors, line)) {
    // A run whose script ran dry while the game waited for a key ends that way, in order.
    if (line.find("script has none left") == std::string::npos) {
      result.problems.push_back("stderr: " + line);
    }
  }
  if (result.exitStatus != 0) {
    result.problems.push_back("exit status " + std::to_string(result.exitStatus));
  }
  fs::remove_all(dir);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const long total = argc > 1 ? std::atol(argv[1]) : 200000;
  const fs::path buildDir = fs::absolute(argv[0]).parent_path().parent_path().parent_path();
  const fs::path program = buildDir / "tundrel";
  const fs::path stage = buildDir / "tundrel_stage";
  if (!fs::exists(program) || !fs::exists(stage)) {
    std::fprintf(stderr, "bench_soak: %s not found (run from the build folder)\n", program.c_str());
    return 1;
  }
  std::printf("soak: %ld frames of random input, %ld-frame runs\n", total, kFramesPerRun);
  long frames = 0;
  double seconds = 0;
  long worstRss = 0;
  int failures = 0;
  uint32_t fullLengthSeed = 0;  // a game run that lasted all its frames
  for (uint32_t seed = 1; frames < total; ++seed) {
    const bool staged = seed % 2 == 1;
    const int startRound = static_cast<int>(seed * 7 % 60) + 1;
    const RunResult run = staged ? RunGame(stage, seed, std::min(kFramesPerRun, total - frames),
                                           {"--round", std::to_string(startRound)})
                                 : RunGame(program, seed, std::min(kFramesPerRun, total - frames));
    frames += run.frames;
    seconds += run.seconds;
    if (!staged && run.frames == kFramesPerRun && fullLengthSeed == 0) fullLengthSeed = seed;
    worstRss = std::max(worstRss, run.maxRssKb);
    if (staged) {
      std::printf("  stage from round %2d,", startRound);
    } else {
      std::printf("  game from the title, ");
    }
    std::printf(
        " seed %2u: %6ld frames in %5.2f s (%6.0f fps), max RSS %6ld KiB, highest round %d, "
        "games over %d, rounds %ld, swaps %ld, catches %ld\n",
        seed, run.frames, run.seconds, run.frames / run.seconds, run.maxRssKb, run.highestRound,
        run.gamesOver, run.screens.count("round") ? run.screens.at("round") : 0L,
        run.screens.count("swap") ? run.screens.at("swap") : 0L,
        run.screens.count("caught") ? run.screens.at("caught") / 150 : 0L);
    for (const std::string& problem : run.problems) {
      std::printf("    PROBLEM: %s\n", problem.c_str());
      ++failures;
    }
    if (run.frames == 0) break;
  }
  std::printf("total: %ld frames in %.2f s: %.0f frames per second; worst max RSS %ld KiB\n",
              frames, seconds, frames / seconds, worstRss);

  // Memory: the same game run for a fifth of its frames and for all of them.
  if (fullLengthSeed == 0) fullLengthSeed = 2;
  const RunResult shortRun = RunGame(program, fullLengthSeed, kFramesPerRun / 5);
  const RunResult longRun = RunGame(program, fullLengthSeed, kFramesPerRun);
  std::printf("memory: max RSS %ld KiB after %ld frames, %ld KiB after %ld frames (%+.1f%%)\n",
              shortRun.maxRssKb, shortRun.frames, longRun.maxRssKb, longRun.frames,
              100.0 * (longRun.maxRssKb - shortRun.maxRssKb) / shortRun.maxRssKb);
  std::printf("%s: %d problem(s)\n", failures == 0 ? "PASS" : "FAIL", failures);
  return failures == 0 ? 0 : 1;
}
