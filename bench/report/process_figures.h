// What bench_process reads about a program it runs: processor time and resident memory from
// /proc, the memory samples taken over the run, and lines appearing in a file the program
// writes as it goes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrb::report {

// utime + stime of /proc/PID/stat, in clock ticks: every thread of the process, the ones
// that have ended included.
std::optional<uint64_t> ProcessorTicksFromStat(std::string_view statText);

// A "Name:   1234 kB" field of /proc/PID/status, in KiB.
std::optional<long> KibFromStatus(std::string_view statusText, std::string_view field);

struct RssSample {
  double seconds = 0;  // since the program started
  long kib = 0;
};

// Resident memory over a run. `settled` is the sample a quarter of the way through the run,
// after start-up has loaded what it keeps; growth is counted from there to the last sample.
struct RssSummary {
  size_t samples = 0;
  long firstKib = 0;
  long settledKib = 0;
  long lastKib = 0;
  long highestKib = 0;
  long GrowthKib() const { return lastKib - settledKib; }
  double GrowthPercent() const {
    return settledKib > 0 ? 100.0 * static_cast<double>(GrowthKib()) / settledKib : 0.0;
  }
};

RssSummary SummarizeRss(const std::vector<RssSample>& samples);

// Watches a file that another process appends lines to, for the first complete line that
// holds a text. The file may not exist yet, and a read may end in the middle of a line.
class LineWatcher {
 public:
  LineWatcher(std::string path, std::string text);
  // Reads what was added since the last call; true once a matching line has been seen.
  bool Poll();
  bool Found() const { return found_; }
  // The matching line, without its line end.
  const std::string& Line() const { return line_; }

 private:
  std::string path_;
  std::string text_;
  uint64_t offset_ = 0;
  std::string partial_;
  std::string line_;
  bool found_ = false;
};

}  // namespace zrb::report
