// The log: CR LF line ends, a fresh file per start, and the retries while another program
// holds the file.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "engine/platform/log_file.h"
#include "engine/platform/paths.h"

namespace zrb::platform {
namespace {

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/logtestXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    const char* old = std::getenv("TMPDIR");
    oldTmp_ = old ? old : "";
    hadTmp_ = old != nullptr;
    setenv("TMPDIR", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (hadTmp_) {
      setenv("TMPDIR", oldTmp_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    std::remove((dir_ + "/ErrorLog.txt").c_str());
    rmdir(dir_.c_str());
  }
  std::string Content() {
    std::ifstream in(LogFilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string dir_;
  std::string oldTmp_;
  bool hadTmp_ = false;
};

TEST_F(LogFileTest, ALineWaitsForAShortLockButIsDroppedAfterFiveTries) {
  DeleteLogFile();
  ASSERT_TRUE(AppendLogLine("first"));
  const int holder = ::open(LogFilePath().c_str(), O_WRONLY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);

  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(AppendLogLine("dropped"));
  const double waited =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(waited, 40.0);  // four pauses of 10 ms between five tries

  std::thread releaser([holder] {
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    ::flock(holder, LOCK_UN);
  });
  EXPECT_TRUE(AppendLogLine("second"));
  releaser.join();
  ::close(holder);
  EXPECT_EQ(Content(), "first\r\nsecond\r\n");
}

TEST_F(LogFileTest, AnUnwritableDirectoryDropsTheLineQuietly) {
  setenv("TMPDIR", "/nonexistent/folder", 1);
  EXPECT_FALSE(AppendLogLine("nowhere"));
}

}  // namespace
}  // namespace zrb::platform
