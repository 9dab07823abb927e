#include "recorded/recording.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <stdexcept>

namespace tundrel::recorded {
namespace {

// Numbers agree when they differ by less than this: predicted sums of printed decimals carry
// binary rounding, the trace prints at most three decimals.
constexpr double kSameNumber = 1e-6;
// Steps of a steady run may differ by the rounding of the last printed decimal.
constexpr double kSteadyStep = 0.0015;
constexpr size_t kHistory = 4;

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return *end == '\0' && std::isfinite(value);
}

std::string FormatNumber(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.10g", value);
  return buffer;
}

bool SameValue(const std::string& a, const std::string& b) {
  if (a == b) return true;
  double x = 0, y = 0;
  return ParseNumber(a, x) && ParseNumber(b, y) && std::fabs(x - y) < kSameNumber;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

bool SameCall(const std::string& a, const std::string& b) {
  if (a == b) return true;
  const auto x = Words(a);
  const auto y = Words(b);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i) {
    if (!SameValue(x[i], y[i])) return false;
  }
  return true;
}

// The next value of a series (oldest first): the last one, or, after three equal steps, the
// last one moved by the step of three frames back (which repeats a printed rounding pattern
// such as the clock's 16.666, 16.667, 16.667).
std::string PredictValue(const std::vector<const std::string*>& series) {
  const std::string& last = *series.back();
  if (series.size() < kHistory || *series[series.size() - 2] == last) return last;
  double v[kHistory];
  for (size_t i = 0; i < kHistory; ++i) {
    if (!ParseNumber(*series[series.size() - kHistory + i], v[i])) return last;
  }
  const double s1 = v[1] - v[0], s2 = v[2] - v[1], s3 = v[3] - v[2];
  if (std::fabs(s1 - s2) > kSteadyStep || std::fabs(s2 - s3) > kSteadyStep) return last;
  return FormatNumber(v[3] + s1);
}

std::string PredictCall(const std::vector<const std::string*>& series) {
  const std::string& last = *series.back();
  if (series.size() < kHistory || *series[series.size() - 2] == last) return last;
  std::vector<std::vector<std::string>> words;
  for (const std::string* call : series)
    words.push_back(Words(*call));
  for (const auto& w : words) {
    if (w.size() != words.back().size() || w[0] != words.back()[0]) return last;
  }
  std::string predicted = words.back()[0];
  for (size_t i = 1; i < words.back().size(); ++i) {
    std::vector<const std::string*> values;
    for (const auto& w : words)
      values.push_back(&w[i]);
    predicted += " " + PredictValue(values);
  }
  return predicted;
}

const std::string* FindField(const Fields& fields, size_t hint, const std::string& name) {
  if (hint < fields.size() && fields[hint].first == name) return &fields[hint].second;
  for (const auto& [key, value] : fields) {
    if (key == name) return &value;
  }
  return nullptr;
}

class Predictor {
 public:
  Frame Predict() const {
    if (history_.empty()) return {};
    const Frame& last = history_.back();
    Frame next;
    for (size_t i = 0; i < last.fields.size(); ++i) {
      const auto& [name, value] = last.fields[i];
      if (!value.empty() && value[0] == '[') {
        next.fields.emplace_back(name, "[]");
        continue;
      }
      std::vector<const std::string*> series;
      for (const Frame& frame : history_) {
        if (const std::string* v = FindField(frame.fields, i, name)) series.push_back(v);
      }
      next.fields.emplace_back(name, PredictValue(series));
    }
    // Calls line up with earlier frames only while the number of calls stays the same.
    size_t first = history_.size() - 1;
    while (first > 0 && history_[first - 1].calls.size() == last.calls.size())
      --first;
    for (size_t c = 0; c < last.calls.size(); ++c) {
      std::vector<const std::string*> series;
      for (size_t f = first; f < history_.size(); ++f)
        series.push_back(&history_[f].calls[c]);
      next.calls.push_back(PredictCall(series));
    }
    return next;
  }

  void Push(Frame frame) {
    history_.push_back(std::move(frame));
    if (history_.size() > kHistory) history_.pop_front();
  }

 private:
  std::deque<Frame> history_;
};

// The draw calls' kind: the operation and the picture slot.
std::string KindOf(const std::string& call) {
  const size_t first = call.find(' ');
  return call.substr(0, first == std::string::npos ? first : call.find(' ', first + 1));
}

// Tokens that turn the predicted call at `index` into `actual`: the words that differ, or the
// whole call when more than two do.
void CallTokens(size_t index, const std::string& predicted, const std::string& actual,
                std::vector<std::string>& tokens) {
  if (SameCall(predicted, actual)) return;
  const auto p = Words(predicted);
  const auto a = Words(actual);
  std::vector<std::string> edits;
  if (p.size() == a.size()) {
    for (size_t k = 0; k < a.size(); ++k) {
      if (!SameValue(p[k], a[k]))
        edits.push_back("@" + std::to_string(index) + "." + std::to_string(k) + "=" + a[k]);
    }
  }
  if (edits.empty() || edits.size() > 2) {
    tokens.push_back("@" + std::to_string(index) + "=" + actual);
  } else {
    tokens.insert(tokens.end(), edits.begin(), edits.end());
  }
}

// Lines the calls up by kind (longest common subsequence), so that a call that appears or goes
// away costs one token and the calls around it are compared with their own predictions.
std::vector<std::pair<int, int>> AlignByKind(const std::vector<std::string>& p,
                                             const std::vector<std::string>& a) {
  std::vector<std::string> pk, ak;
  for (const auto& call : p)
    pk.push_back(KindOf(call));
  for (const auto& call : a)
    ak.push_back(KindOf(call));
  const size_t n = p.size(), m = a.size();
  std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
  for (size_t i = n; i-- > 0;) {
    for (size_t j = m; j-- > 0;) {
      common[i][j] =
          pk[i] == ak[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::vector<std::pair<int, int>> steps;  // (predicted, actual); -1 where one side has none
  size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && pk[i] == ak[j]) {
      steps.emplace_back(i++, j++);
    } else if (j < m && (i == n || common[i][j + 1] >= common[i + 1][j])) {
      steps.emplace_back(-1, j++);
    } else {
      steps.emplace_back(i++, -1);
    }
  }
  return steps;
}

std::vector<std::string> Diff(const Frame& predicted, const Frame& actual) {
  std::vector<std::string> tokens;
  for (size_t i = 0; i < actual.fields.size(); ++i) {
    const auto& [name, value] = actual.fields[i];
    const std::string* p = FindField(predicted.fields, i, name);
    if (!p || !SameValue(*p, value)) tokens.push_back(name + "=" + value);
  }
  // A frame the draw log closed after the last trace line (the program ended) has no fields.
  for (size_t i = 0; i < predicted.fields.size(); ++i) {
    const std::string& name = predicted.fields[i].first;
    if (!FindField(actual.fields, i, name)) tokens.push_back(name + "!");
  }
  const auto& p = predicted.calls;
  const auto& a = actual.calls;
  if (p.size() == a.size()) {
    for (size_t i = 0; i < a.size(); ++i)
      CallTokens(i, p[i], a[i], tokens);
    return tokens;
  }
  size_t next = 0;  // the predicted call the next insertion goes before
  for (const auto& [pi, ai] : AlignByKind(p, a)) {
    if (pi >= 0 && ai >= 0) {
      CallTokens(pi, p[pi], a[ai], tokens);
      next = pi + 1;
    } else if (pi >= 0) {
      tokens.push_back("-" + std::to_string(pi));
      next = pi + 1;
    } else {
      tokens.push_back("+" + std::to_string(next) + "=" + a[ai]);
    }
  }
  return tokens;
}

// Applies tokens, whose indexes count the predicted calls, to the predicted frame.
bool Apply(const std::vector<std::string>& tokens, Frame& frame) {
  const size_t count = frame.calls.size();
  std::vector<bool> removed(count, false);
  std::vector<std::vector<std::string>> inserted(count + 1);
  for (const std::string& token : tokens) {
    const char kind = token.empty() ? '\0' : token[0];
    size_t index = 0, word = 0;
    int used = 0;
    if (kind == '-' && std::sscanf(token.c_str(), "-%zu%n", &index, &used) == 1 &&
        used == static_cast<int>(token.size()) && index < count) {
      removed[index] = true;
    } else if (kind == '+' && std::sscanf(token.c_str(), "+%zu=%n", &index, &used) == 1 &&
               used > 0 && index <= count) {
      inserted[index].push_back(token.substr(used));
    } else if (kind == '@' &&
               std::sscanf(token.c_str(), "@%zu.%zu=%n", &index, &word, &used) == 2 && used > 0 &&
               index < count) {
      std::vector<std::string> words = Words(frame.calls[index]);
      if (word >= words.size()) return false;
      words[word] = token.substr(used);
      frame.calls[index] = words[0];
      for (size_t w = 1; w < words.size(); ++w)
        frame.calls[index] += " " + words[w];
    } else if (kind == '@' && std::sscanf(token.c_str(), "@%zu=%n", &index, &used) == 1 &&
               used > 0 && index < count) {
      frame.calls[index] = token.substr(used);
    } else if (kind != '@' && kind != '+' && kind != '-' && token.back() == '!') {
      std::erase_if(frame.fields, [&](const auto& f) { return f.first + "!" == token; });
    } else if (const size_t equals = token.find('=');
               kind != '@' && kind != '+' && kind != '-' && equals != std::string::npos) {
      const std::string name = token.substr(0, equals);
      auto field = std::find_if(frame.fields.begin(), frame.fields.end(),
                                [&](const auto& f) { return f.first == name; });
      if (field == frame.fields.end()) field = frame.fields.insert(field, {name, ""});
      field->second = token.substr(equals + 1);
    } else {
      return false;
    }
  }
  std::vector<std::string> calls;
  for (size_t i = 0; i <= count; ++i) {
    calls.insert(calls.end(), inserted[i].begin(), inserted[i].end());
    if (i < count && !removed[i]) calls.push_back(std::move(frame.calls[i]));
  }
  frame.calls = std::move(calls);
  return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts;
  std::istringstream in(line);
  for (std::string part; std::getline(in, part, '\t');)
    parts.push_back(part);
  return parts;
}

std::string Describe(const Frame& frame, size_t index, size_t count) {
  std::string where = "frame " + std::to_string(index) + " of " + std::to_string(count);
  const std::string* screen = frame.Field("screen");
  const std::string* ms = frame.Field("ms");
  if (screen) where += " (screen \"" + *screen + "\"" + (ms ? ", " + *ms + " ms" : "") + ")";
  return where;
}

std::string FrameDifference(const Frame& expected, const Frame& actual) {
  for (size_t i = 0; i < expected.fields.size(); ++i) {
    const auto& [name, value] = expected.fields[i];
    const std::string* now = FindField(actual.fields, i, name);
    if (!now) return "trace field " + name + ": expected " + value + ", actual (missing)";
    if (!SameValue(value, *now))
      return "trace field " + name + ": expected " + value + ", actual " + *now;
  }
  for (size_t i = 0; i < actual.fields.size(); ++i) {
    const auto& [name, value] = actual.fields[i];
    if (!FindField(expected.fields, i, name))
      return "trace field " + name + ": expected (missing), actual " + value;
  }
  const auto& e = expected.calls;
  const auto& a = actual.calls;
  size_t i = 0;
  while (i < e.size() && i < a.size() && SameCall(e[i], a[i]))
    ++i;
  if (i == e.size() && i == a.size()) return "";
  std::string text;
  if (e.size() != a.size()) {
    text = std::to_string(a.size()) + " draw calls where " + std::to_string(e.size()) +
           " were recorded; first difference at ";
  }
  return text + "draw call " + std::to_string(i) + ": expected \"" +
         (i < e.size() ? e[i] : "(none)") + "\", actual \"" + (i < a.size() ? a[i] : "(none)") +
         "\"";
}

}  // namespace

std::string Encode(const Outcome& outcome, const std::string& header) {
  std::ostringstream out;
  out << header;
  for (const std::string& fact : outcome.facts)
    out << fact << "\n";
  out << "frames " << outcome.frames.size() << "\n";
  Predictor predictor;
  for (size_t i = 0; i < outcome.frames.size(); ++i) {
    const Frame& actual = outcome.frames[i];
    Frame decoded = predictor.Predict();
    const std::vector<std::string> tokens = Diff(decoded, actual);
    if (!tokens.empty()) {
      out << i;
      for (const std::string& token : tokens)
        out << '\t' << token;
      out << '\n';
    }
    Apply(tokens, decoded);
    // What is written must read back as what was played.
    if (!FrameDifference(decoded, outcome.frames[i]).empty())
      throw std::logic_error("frame " + std::to_string(i) + " does not encode");
    predictor.Push(std::move(decoded));
  }
  return out.str();
}

std::optional<Outcome> Decode(const std::string& text, std::string& error) {
  Outcome outcome;
  std::istringstream in(text);
  std::string line;
  long frameCount = -1;
  std::vector<std::pair<long, std::vector<std::string>>> lines;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("frames ", 0) == 0) {
      frameCount = std::atol(line.c_str() + 7);
    } else if (!std::isdigit(static_cast<unsigned char>(line[0]))) {
      outcome.facts.push_back(line);
    } else {
      std::vector<std::string> parts = SplitTabs(line);
      char* end = nullptr;
      const long index = std::strtol(parts[0].c_str(), &end, 10);
      if (*end != '\0' || index < 0 || (!lines.empty() && index <= lines.back().first)) {
        error = "unreadable line: " + line.substr(0, 80);
        return std::nullopt;
      }
      parts.erase(parts.begin());
      lines.emplace_back(index, std::move(parts));
    }
  }
  if (frameCount < 0 || (!lines.empty() && lines.back().first >= frameCount)) {
    error = "the frame count is missing or too small";
    return std::nullopt;
  }
  Predictor predictor;
  size_t next = 0;
  for (long i = 0; i < frameCount; ++i) {
    Frame frame = predictor.Predict();
    if (next < lines.size() && lines[next].first == i) {
      if (!Apply(lines[next].second, frame)) {
        error = "frame " + std::to_string(i) + " does not apply";
        return std::nullopt;
      }
      ++next;
    }
    outcome.frames.push_back(frame);
    predictor.Push(std::move(frame));
  }
  return outcome;
}

std::string FirstDifference(const Outcome& expected, const Outcome& actual) {
  const size_t common = std::min(expected.frames.size(), actual.frames.size());
  for (size_t i = 0; i < common; ++i) {
    const std::string difference = FrameDifference(expected.frames[i], actual.frames[i]);
    if (!difference.empty())
      return Describe(actual.frames[i], i, actual.frames.size()) + ": " + difference;
  }
  if (expected.frames.size() != actual.frames.size()) {
    return "the run presented " + std::to_string(actual.frames.size()) + " frames, " +
           std::to_string(expected.frames.size()) + " were recorded (the first " +
           std::to_string(common) + " agree)";
  }
  for (size_t i = 0; i < std::max(expected.facts.size(), actual.facts.size()); ++i) {
    const std::string e = i < expected.facts.size() ? expected.facts[i] : "(nothing)";
    const std::string a = i < actual.facts.size() ? actual.facts[i] : "(nothing)";
    if (e != a) return "after the run: expected \"" + e + "\", actual \"" + a + "\"";
  }
  return "";
}

}  // namespace tundrel::recorded
