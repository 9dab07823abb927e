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

// A private Xvfb. It announces its display number on a pipe, which stays open for its whole
// life: the server writes there again whenever it resets, and dies if nobody is listening.
class PrivateXvfb {
 public:
  PrivateXvfb() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-screen", "0", "800x600x24",
             "-nolisten", "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    announcements_ = fds[0];
    char buffer[16] = {};
    const ssize_t got = pid_ > 0 ? read(announcements_, buffer, sizeof buffer - 1) : -1;
    if (got > 0) display_ = std::atoi(buffer);
  }
  ~PrivateXvfb() {
    Stop();
    if (announcements_ >= 0) close(announcements_);
  }
  PrivateXvfb(const PrivateXvfb&) = delete;
  PrivateXvfb& operator=(const PrivateXvfb&) = delete;

  bool Running() const { return pid_ > 0 && display_ >= 0; }
  std::string DisplayName() const { return ":" + std::to_string(display_); }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int announcements_ = -1;
  int display_ = -1;
};

// Waits up to `limit` for the child; true (with its wait status) when it has ended, else
// the child is killed.
bool WaitForExit(pid_t pid, std::chrono::milliseconds limit, int* status = nullptr) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid, status, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(50ms);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return false;
}

// Starts the probe program in its key wait against `display` and returns its pid.
pid_t StartProbe(const std::string& display, const std::string& dir) {
  const pid_t probe = fork();
  if (probe == 0) {
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    setenv("PROBE_MODE", "keywait", 1);
    setenv("TMPDIR", dir.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(PROBE_BINARY, PROBE_BINARY, "--dir", dir.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return probe;
}

TEST(DisplayLoss, TheProgramEndsWhenItsDisplayServerDies) {
  PrivateXvfb xvfb;
  if (!xvfb.Running()) GTEST_SKIP() << "no Xvfb on this machine";

  zrb::testing::BinaryRun run;
  const pid_t probe = StartProbe(xvfb.DisplayName(), run.Dir());
  ASSERT_GT(probe, 0);
  // Let it open its window and settle into the key wait.
  std::this_thread::sleep_for(1500ms);
  xvfb.Stop();

  EXPECT_TRUE(WaitForExit(probe, 15s)) << "the program kept running after its display went away";
}

TEST(DisplayLoss, WithoutAnyDisplayTheProgramSaysSoAndEnds) {
  zrb::testing::BinaryRun run;
  // A display number nothing listens on.
  const pid_t probe = StartProbe(":1999", run.Dir());
  ASSERT_GT(probe, 0);
  int status = 0;
  ASSERT_TRUE(WaitForExit(probe, 15s, &status))
      << "the program waited for keys in a window nobody can see";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_NE(run.Log().find("no display"), std::string::npos) << run.Log();
}

}  // namespace
