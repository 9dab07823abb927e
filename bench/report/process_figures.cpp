#include "bench/report/process_figures.h"

#include <charconv>
#include <fstream>
#include <utility>

namespace zrb::report {

std::optional<uint64_t> ProcessorTicksFromStat(std::string_view statText) {
  // The command name sits in parentheses and may itself hold blanks and parentheses, so the
  // numbered fields start after the last ')'.
  const size_t close = statText.rfind(')');
  if (close == std::string_view::npos) return std::nullopt;
  std::string_view rest = statText.substr(close + 1);
  uint64_t utime = 0, stime = 0;
  // Field 3 (the state) is the first after the name; utime is field 14, stime field 15.
  for (int field = 3; field <= 15; ++field) {
    const size_t start = rest.find_first_not_of(" \n");
    if (start == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(start);
    const size_t end = std::min(rest.find_first_of(" \n"), rest.size());
    const std::string_view value = rest.substr(0, end);
    if (field == 14 || field == 15) {
      uint64_t parsed = 0;
      const auto [ptr, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
      if (error != std::errc() || ptr != value.data() + value.size()) return std::nullopt;
      (field == 14 ? utime : stime) = parsed;
    }
    rest.remove_prefix(end);
  }
  return utime + stime;
}

std::optional<long> KibFromStatus(std::string_view statusText, std::string_view field) {
  size_t at = 0;
  while (at < statusText.size()) {
    const size_t end = std::min(statusText.find('\n', at), statusText.size());
    std::string_view line = statusText.substr(at, end - at);
    at = end + 1;
    if (line.size() <= field.size() || line.substr(0, field.size()) != field ||
        line[field.size()] != ':') {
      continue;
    }
    line.remove_prefix(field.size() + 1);
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    line.remove_prefix(start);
    long kib = 0;
    const auto [ptr, error] = std::from_chars(line.data(), line.data() + line.size(), kib);
    if (error != std::errc() || std::string_view(ptr, line.data() + line.size()) != " kB") {
      return std::nullopt;
    }
    return kib;
  }
  return std::nullopt;
}

RssSummary SummarizeRss(const std::vector<RssSample>& samples) {
  RssSummary summary;
  summary.samples = samples.size();
  if (samples.empty()) return summary;
  summary.firstKib = samples.front().kib;
  summary.lastKib = samples.back().kib;
  const double quarter =
      samples.front().seconds + (samples.back().seconds - samples.front().seconds) / 4;
  summary.settledKib = samples.back().kib;
  for (const RssSample& sample : samples) {
    if (sample.seconds >= quarter) {
      summary.settledKib = sample.kib;
      break;
    }
  }
  for (const RssSample& sample : samples)
    summary.highestKib = std::max(summary.highestKib, sample.kib);
  return summary;
}

LineWatcher::LineWatcher(std::string path, std::string text)
    : path_(std::move(path)), text_(std::move(text)) {}

bool LineWatcher::Poll() {
  if (found_) return true;
  std::ifstream file(path_, std::ios::binary);
  if (!file) return false;
  file.seekg(static_cast<std::streamoff>(offset_));
  char buffer[65536];
  while (!found_) {
    file.read(buffer, sizeof buffer);
    const std::streamsize got = file.gcount();
    if (got <= 0) break;
    offset_ += static_cast<uint64_t>(got);
    partial_.append(buffer, static_cast<size_t>(got));
    size_t lineStart = 0;
    for (size_t end = partial_.find('\n'); end != std::string::npos;
         end = partial_.find('\n', lineStart)) {
      const std::string_view line(partial_.data() + lineStart, end - lineStart);
      if (line.find(text_) != std::string_view::npos) {
        line_ = std::string(line);
        found_ = true;
        break;
      }
      lineStart = end + 1;
    }
    partial_.erase(0, lineStart);
  }
  return found_;
}

}  // namespace zrb::report
