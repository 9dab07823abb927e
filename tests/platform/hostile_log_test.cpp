// The log in a temporary folder shared with other users: what another user put at its name
// (a link to one of the player's files, a FIFO) neither receives the lines nor blocks the
// program; the lines go to a fresh file of the player's own beside it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "engine/platform/log_file.h"

namespace zrb::platform {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class HostileLog : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/hostilelogXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    const char* old = std::getenv("TMPDIR");
    hadTmp_ = old != nullptr;
    oldTmp_ = old ? old : "";
    ::setenv("TMPDIR", dir_.c_str(), 1);
  }
  void TearDown() override {
    DeleteLogFile();  // back to the usual name for whatever runs next in this process
    if (hadTmp_) {
      ::setenv("TMPDIR", oldTmp_.c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
    fs::remove_all(dir_);
  }

  // The one fresh log file beside the usual name, and its content.
  std::string FreshLog() const {
    std::string content;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("ErrorLog-", 0) == 0 && name.size() == 19 && entry.is_regular_file()) {
        content = Slurp(entry.path());
        ++count;
      }
    }
    return count == 1 ? content : "<" + std::to_string(count) + " fresh logs>";
  }

  fs::path dir_;
  std::string oldTmp_;
  bool hadTmp_ = false;
};

TEST_F(HostileLog, ALinkAtTheLogsNameLeadsNowhere) {
  std::ofstream(dir_ / "victim.txt") << "keep";
  fs::create_symlink(dir_ / "victim.txt", dir_ / "ErrorLog.txt");
  EXPECT_TRUE(AppendLogLine("Init GFX"));
  EXPECT_TRUE(AppendLogLine("Init Finalized"));
  EXPECT_EQ(Slurp(dir_ / "victim.txt"), "keep");
  EXPECT_TRUE(fs::is_symlink(dir_ / "ErrorLog.txt"));
  EXPECT_EQ(FreshLog(), "Init GFX\r\nInit Finalized\r\n");
}

TEST_F(HostileLog, AFifoAtTheLogsNameDoesNotBlock) {
  const fs::path fifo = dir_ / "ErrorLog.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto appended = std::async(std::launch::async, [] { return AppendLogLine("Init GFX"); });
  if (appended.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    // Give the blocked writer a reader, so that the test ends and reports it.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    appended.wait();
    ::close(reader);
    FAIL() << "writing the log blocked on a FIFO";
  }
  EXPECT_TRUE(appended.get());
  EXPECT_EQ(FreshLog(), "Init GFX\r\n");
}

}  // namespace
}  // namespace zrb::platform
