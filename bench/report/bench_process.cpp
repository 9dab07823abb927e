// Runs a program and measures it from the outside, the way a player's machine sees it:
// wall time, processor time of all its threads (llvmpipe's and the audio thread's too), peak
// resident memory, and on request the processor share over a window of the run, resident
// memory sampled as it runs, and the time until a line with a given text appears in a file
// the program writes (a trace). The scripts in scripts/ read its output.
//
//   bench_process [--cpu-window FROM:TO] [--rss-every MS] [--first-line FILE TEXT]
//                 [--timeout SECONDS] [--log FILE] [--pass-status] -- PROGRAM [ARGUMENTS...]
//
// The processor share over a window counts the program's own threads; the totals at the end
// also count the programs it started and waited for.
// --first-line removes FILE before the program starts, so an old file cannot answer.
// The program runs in a process group of its own. --timeout kills that group (SIGKILL) when
// the program runs longer, so helpers it started do not outlive it; the exit status line then
// reads "timeout". An interrupt or termination of bench_process is passed on to the group.
// bench_process itself exits 0 when it could run the program (with --pass-status: the
// program's own exit status, 124 after a timeout, 128 + N after signal N), 2 on a bad command
// line or a program that could not be started.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/report/process_figures.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using zrb::report::RssSample;

struct Options {
  double windowFrom = -1, windowTo = -1;
  int rssEveryMs = 0;
  std::string watchFile, watchText;
  double timeoutSeconds = 0;
  std::string logFile;
  bool passStatus = false;
  std::vector<std::string> command;
};

// The signal that asked bench_process to stop, passed on to the program's group.
volatile sig_atomic_t g_stopSignal = 0;

void OnStopSignal(int number) {
  g_stopSignal = number;
}

std::string ReadProcFile(pid_t pid, const char* name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool ParseOptions(int argc, char** argv, Options& options) {
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--cpu-window" && hasValue) {
      if (std::sscanf(argv[++i], "%lf:%lf", &options.windowFrom, &options.windowTo) != 2 ||
          options.windowFrom < 0 || options.windowTo <= options.windowFrom) {
        return false;
      }
    } else if (arg == "--rss-every" && hasValue) {
      options.rssEveryMs = std::atoi(argv[++i]);
      if (options.rssEveryMs <= 0) return false;
    } else if (arg == "--first-line" && i + 2 < argc) {
      options.watchFile = argv[++i];
      options.watchText = argv[++i];
    } else if (arg == "--timeout" && hasValue) {
      options.timeoutSeconds = std::atof(argv[++i]);
      if (options.timeoutSeconds <= 0) return false;
    } else if (arg == "--log" && hasValue) {
      options.logFile = argv[++i];
    } else if (arg == "--pass-status") {
      options.passStatus = true;
    } else {
      return false;
    }
  }
  for (++i; i < argc; ++i)
    options.command.emplace_back(argv[i]);
  return !options.command.empty();
}

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(
        stderr,
        "usage: bench_process [--cpu-window FROM:TO] [--rss-every MS] "
        "[--first-line FILE TEXT] [--timeout SECONDS] [--log FILE] [--pass-status] -- PROGRAM "
        "[ARGS...]\n");
    return 2;
  }
  if (!options.watchFile.empty()) {
    std::error_code ignored;
    std::filesystem::remove(options.watchFile, ignored);
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!options.logFile.empty()) {
    posix_spawn_file_actions_addopen(&actions, 1, options.logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  std::vector<char*> childArgv;
  for (std::string& arg : options.command)
    childArgv.push_back(arg.data());
  childArgv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  for (int number : {SIGINT, SIGTERM, SIGHUP})
    std::signal(number, &OnStopSignal);

  const auto start = Clock::now();
  pid_t pid = 0;
  const int spawnError =
      posix_spawnp(&pid, childArgv[0], &actions, &attributes, childArgv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawnError != 0) {
    std::fprintf(stderr, "bench_process: cannot start %s: %s\n", childArgv[0],
                 std::strerror(spawnError));
    return 2;
  }

  const long ticksPerSecond = sysconf(_SC_CLK_TCK);
  std::optional<zrb::report::LineWatcher> watcher;
  if (!options.watchFile.empty()) watcher.emplace(options.watchFile, options.watchText);
  double foundAt = -1;
  std::optional<uint64_t> windowStartTicks, windowEndTicks;
  double windowStartedAt = 0, windowEndedAt = 0;
  std::vector<RssSample> rss;
  double nextRssAt = 0;
  bool timedOut = false;
  bool stopPassedOn = false;
  int status = 0;
  rusage usage{};
  for (;;) {
    const pid_t done = wait4(pid, &status, WNOHANG, &usage);
    const double now = std::chrono::duration<double>(Clock::now() - start).count();
    if (watcher && foundAt < 0 && watcher->Poll()) foundAt = now;
    if (done == pid) break;
    if (options.windowFrom >= 0) {
      if (!windowStartTicks && now >= options.windowFrom) {
        windowStartTicks = zrb::report::ProcessorTicksFromStat(ReadProcFile(pid, "stat"));
        windowStartedAt = now;
      } else if (windowStartTicks && !windowEndTicks && now >= options.windowTo) {
        windowEndTicks = zrb::report::ProcessorTicksFromStat(ReadProcFile(pid, "stat"));
        windowEndedAt = now;
      }
    }
    if (options.rssEveryMs > 0 && now >= nextRssAt) {
      if (auto kib = zrb::report::KibFromStatus(ReadProcFile(pid, "status"), "VmRSS")) {
        rss.push_back({now, *kib});
      }
      nextRssAt = now + options.rssEveryMs / 1000.0;
    }
    if (options.timeoutSeconds > 0 && now >= options.timeoutSeconds && !timedOut) {
      kill(-pid, SIGKILL);
      timedOut = true;
    }
    if (g_stopSignal != 0 && !stopPassedOn) {
      kill(-pid, g_stopSignal);
      stopPassedOn = true;
    }
    // Fine steps while a first line is awaited, so its time is not blurred by the polling.
    const bool watching = watcher && foundAt < 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(watching ? 1 : 5));
  }
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();

  std::printf("program: %s\n", options.command[0].c_str());
  int passedStatus = 0;
  if (timedOut) {
    std::printf("exit status: timeout (killed after %.1f s)\n", options.timeoutSeconds);
    passedStatus = 124;
  } else if (WIFSIGNALED(status)) {
    std::printf("exit status: signal %d (%s)\n", WTERMSIG(status), strsignal(WTERMSIG(status)));
    passedStatus = 128 + WTERMSIG(status);
  } else {
    std::printf("exit status: %d\n", WEXITSTATUS(status));
    passedStatus = WEXITSTATUS(status);
  }
  const double user = Seconds(usage.ru_utime), system = Seconds(usage.ru_stime);
  std::printf("wall time: %.3f s\n", wall);
  std::printf("processor time: user %.3f s + system %.3f s = %.3f s, %.1f%% of a core\n", user,
              system, user + system, 100.0 * (user + system) / wall);
  std::printf("peak resident memory: %ld KiB (%.1f MiB)\n", usage.ru_maxrss,
              usage.ru_maxrss / 1024.0);
  if (options.windowFrom >= 0) {
    if (windowStartTicks && windowEndTicks) {
      const double cpu = static_cast<double>(*windowEndTicks - *windowStartTicks) /
                         static_cast<double>(ticksPerSecond);
      const double span = windowEndedAt - windowStartedAt;
      std::printf("processor share %.1f-%.1f s: %.3f s in %.3f s, %.1f%% of a core\n",
                  windowStartedAt, windowEndedAt, cpu, span, 100.0 * cpu / span);
    } else {
      std::printf("processor share %.1f-%.1f s: not measured, the program ended at %.1f s\n",
                  options.windowFrom, options.windowTo, wall);
    }
  }
  if (options.rssEveryMs > 0) {
    const zrb::report::RssSummary summary = zrb::report::SummarizeRss(rss);
    std::printf(
        "resident memory: %zu samples every %d ms: first %ld KiB, at a quarter %ld KiB, last %ld "
        "KiB, highest %ld KiB, growth since the quarter %+ld KiB (%+.1f%%)\n",
        summary.samples, options.rssEveryMs, summary.firstKib, summary.settledKib, summary.lastKib,
        summary.highestKib, summary.GrowthKib(), summary.GrowthPercent());
  }
  if (watcher) {
    if (foundAt >= 0) {
      std::printf("first line containing %s: %.3f s after start\n", options.watchText.c_str(),
                  foundAt);
    } else {
      std::printf("first line containing %s: never\n", options.watchText.c_str());
    }
  }
  std::fflush(stdout);
  return options.passStatus ? passedStatus : 0;
}
