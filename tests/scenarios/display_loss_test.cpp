// A display server that goes away must end the program, never leave it spinning.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "run_binary.h"

namespace {

using namespace std::chrono_literals;

// Starts a private Xvfb and returns its pid and display number (-1 when there is no Xvfb).
pid_t StartXvfb(int* display) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  char buffer[16] = {};
  const ssize_t got = pid > 0 ? read(fds[0], buffer, sizeof buffer - 1) : -1;
  close(fds[0]);
  if (got <= 0) {
    if (pid > 0) waitpid(pid, nullptr, 0);
    return -1;
  }
  *display = std::atoi(buffer);
  return pid;
}

// Waits up to `limit` for the child; true when it has ended.
bool WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

TEST(DisplayLoss, TheProgramEndsWhenItsDisplayServerDies) {
  int display = -1;
  const pid_t xvfb = StartXvfb(&display);
  if (xvfb < 0) GTEST_SKIP() << "no Xvfb on this machine";

  zrb::testing::BinaryRun run;
  const pid_t probe = fork();
  if (probe == 0) {
    const std::string displayName = ":" + std::to_string(display);
    setenv("DISPLAY", displayName.c_str(), 1);
    setenv("PROBE_MODE", "keywait", 1);
    setenv("TMPDIR", run.Dir().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(PROBE_BINARY, PROBE_BINARY, "--dir", run.Dir().c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(probe, 0);
  // Let it open its window and settle into the key wait.
  std::this_thread::sleep_for(1500ms);
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);

  const bool ended = WaitForExit(probe, 15s);
  if (!ended) {
    kill(probe, SIGKILL);
    waitpid(probe, nullptr, 0);
  }
  EXPECT_TRUE(ended) << "the program kept running after its display went away";
}

}  // namespace
