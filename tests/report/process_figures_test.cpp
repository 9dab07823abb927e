// What bench_process reads: /proc fields, memory samples, lines of a file still being written.
#include "bench/report/process_figures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zrb::report {
namespace {

std::string ReadSelf(const char* name) {
  std::ifstream in(std::string("/proc/self/") + name);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ProcessorTicks, AddsUserAndSystemTimeAfterANameWithBlanksAndParentheses) {
  // Fields 14 and 15 are utime and stime; the name holds ") " to mislead a naive split.
  const std::string stat =
      "4242 (a) b (c) S 1 4242 4242 0 -1 4194560 100 0 0 0 1234 567 0 0 20 0 3 0 99 1000 250";
  EXPECT_EQ(ProcessorTicksFromStat(stat), 1234u + 567u);
  EXPECT_EQ(ProcessorTicksFromStat("7 (x) R 1 7 7 0 -1 0 0 0 0 0 5 6\n"), 11u);
}

TEST(ProcessorTicks, RefusesShortOrDamagedText) {
  EXPECT_FALSE(ProcessorTicksFromStat(""));
  EXPECT_FALSE(ProcessorTicksFromStat("4242 (no closing parenthesis S 1 2 3"));
  EXPECT_FALSE(ProcessorTicksFromStat("4242 (short) S 1 4242 4242 0 -1 4194560 100 0 0 0 12"));
  EXPECT_FALSE(ProcessorTicksFromStat("1 (x) S 1 1 1 0 -1 0 0 0 0 0 12a 3"));
  EXPECT_FALSE(ProcessorTicksFromStat("1 (x) S 1 1 1 0 -1 0 0 0 0 0 -12 3"));
}

TEST(ProcessorTicks, ReadsThisProcessAndCountsWorkDone) {
  const auto before = ProcessorTicksFromStat(ReadSelf("stat"));
  ASSERT_TRUE(before);
  // Burn processor time until the kernel has charged at least one tick more.
  volatile uint64_t sink = 0;
  std::optional<uint64_t> after = before;
  for (int round = 0; round < 2000 && after == before; ++round) {
    for (int i = 0; i < 1000000; ++i)
      sink = sink + static_cast<uint64_t>(i);
    after = ProcessorTicksFromStat(ReadSelf("stat"));
  }
  ASSERT_TRUE(after);
  EXPECT_GT(*after, *before);
}

TEST(StatusKib, FindsTheNamedFieldOnly) {
  const std::string status =
      "Name:\tbench\nVmPeak:\t  200000 kB\nVmHWM:\t   48000 kB\nVmRSS:\t   41234 kB\n"
      "RssAnon:\t   30000 kB\n";
  EXPECT_EQ(KibFromStatus(status, "VmRSS"), 41234);
  EXPECT_EQ(KibFromStatus(status, "VmHWM"), 48000);
  EXPECT_FALSE(KibFromStatus(status, "VmRS"));    // a prefix of a name is not the name
  EXPECT_FALSE(KibFromStatus(status, "VmSwap"));  // absent
  EXPECT_FALSE(KibFromStatus("VmRSS:\t 12 MB\n", "VmRSS"));
  EXPECT_FALSE(KibFromStatus("VmRSS:\t\n", "VmRSS"));
  EXPECT_EQ(KibFromStatus("VmRSS: 7 kB", "VmRSS"), 7);  // last line without its line end
  const auto own = KibFromStatus(ReadSelf("status"), "VmRSS");
  ASSERT_TRUE(own);
  EXPECT_GT(*own, 0);
}

TEST(RssSummary, GrowthCountsFromAQuarterOfTheRun) {
  // Start-up fills memory in the first second; after that 1 KiB per second is a slow leak.
  std::vector<RssSample> samples;
  for (int s = 0; s <= 8; ++s)
    samples.push_back({1.0 + s, s == 0 ? 1000L : 5000L + s});
  const RssSummary summary = SummarizeRss(samples);
  EXPECT_EQ(summary.samples, 9u);
  EXPECT_EQ(summary.firstKib, 1000);
  EXPECT_EQ(summary.settledKib, 5002);  // the sample at 3 s, a quarter of 1..9 s
  EXPECT_EQ(summary.lastKib, 5008);
  EXPECT_EQ(summary.highestKib, 5008);
  EXPECT_EQ(summary.GrowthKib(), 6);
  EXPECT_NEAR(summary.GrowthPercent(), 100.0 * 6 / 5002, 1e-9);
}

TEST(RssSummary, ShrinkingAndEmptyRuns) {
  const RssSummary shrinking = SummarizeRss({{0, 100}, {1, 900}, {2, 400}, {3, 300}, {4, 200}});
  EXPECT_EQ(shrinking.settledKib, 900);
  EXPECT_EQ(shrinking.highestKib, 900);
  EXPECT_EQ(shrinking.GrowthKib(), -700);
  const RssSummary empty = SummarizeRss({});
  EXPECT_EQ(empty.samples, 0u);
  EXPECT_EQ(empty.GrowthPercent(), 0.0);
}

class LineWatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("line_watcher_" + std::to_string(getpid()) + ".txt"))
                .string();
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  void Append(const std::string& text) {
    std::ofstream(path_, std::ios::binary | std::ios::app) << text;
  }
  std::string path_;
};

TEST_F(LineWatcherTest, WaitsForTheFileAndForTheWholeLine) {
  LineWatcher watcher(path_, "\"screen\":\"title\"");
  EXPECT_FALSE(watcher.Poll());  // no file yet
  Append("{\"frame\":1,\"screen\":\"start\"}\n{\"frame\":2,\"screen\":\"ti");
  EXPECT_FALSE(watcher.Poll());
  Append("tle\"");
  EXPECT_FALSE(watcher.Poll());  // the text is there, but its line is not finished
  Append(",\"lives\":3}\n{\"frame\":3,\"screen\":\"title\",\"lives\":3}\n");
  EXPECT_TRUE(watcher.Poll());
  EXPECT_TRUE(watcher.Found());
  EXPECT_EQ(watcher.Line(), "{\"frame\":2,\"screen\":\"title\",\"lives\":3}");
  Append("{\"frame\":4}\n");
  EXPECT_TRUE(watcher.Poll());  // stays with the first match
  EXPECT_EQ(watcher.Line(), "{\"frame\":2,\"screen\":\"title\",\"lives\":3}");
}

TEST_F(LineWatcherTest, FindsALineThatStraddlesTwoReads) {
  // Lines of filler up to 8 bytes short of the second 64 KiB boundary, then the match.
  std::string content;
  for (int i = 0; content.size() < 2 * 65536 - 60; ++i)
    content += "{\"frame\":" + std::to_string(i) + ",\"screen\":\"start\"}\n";
  content += std::string(2 * 65536 - 8 - 1 - content.size(), 'x') + "\n";
  ASSERT_EQ(content.size(), 2 * 65536u - 8);
  Append(content + "{\"screen\":\"menu\"}\n{\"screen\":\"menu\",\"frame\":9}\n");
  LineWatcher watcher(path_, "\"screen\":\"menu\"");
  EXPECT_TRUE(watcher.Poll());
  EXPECT_EQ(watcher.Line(), "{\"screen\":\"menu\"}");
}

}  // namespace
}  // namespace zrb::report
