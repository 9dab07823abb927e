#include "tools/mediagen/score.h"

#include <cmath>
#include <map>

namespace mediagen {

namespace {

struct Token {
  std::string text;
  size_t line;
  int transpose;
};

struct PatternLines {
  std::map<int, std::vector<Token>> voiceTokens;  // voice index -> tokens
  size_t line = 0;
};

bool IsDrumToken(const std::string& t) {
  return t.size() == 1 && std::string("ksohct").find(t[0]) != std::string::npos;
}

void SetVoiceOption(const SourceText& src, size_t line, Voice& v, const std::string& option) {
  size_t eq = option.find('=');
  if (eq == std::string::npos)
    src.Fail(line, "voice options are written key=value, not \"" + option + "\"");
  std::string key = option.substr(0, eq), value = option.substr(eq + 1);
  auto pair = [&](double lo1, double hi1, double lo2, double hi2, char sep, double& a, double& b) {
    size_t s = value.find(sep);
    if (s == std::string::npos) src.Fail(line, key + " is written " + key + "=A" + sep + "B");
    a = ParseNumber(src, line, value.substr(0, s), lo1, hi1);
    b = ParseNumber(src, line, value.substr(s + 1), lo2, hi2);
  };
  if (key == "duty")
    v.duty = ParseNumber(src, line, value, 0.05, 0.95);
  else if (key == "volume")
    v.volume = ParseNumber(src, line, value, 0, 4);
  else if (key == "pan")
    v.pan = ParseNumber(src, line, value, -1, 1);
  else if (key == "attack")
    v.attack = ParseNumber(src, line, value, 0, 10);
  else if (key == "decay")
    v.decay = ParseNumber(src, line, value, 0, 10);
  else if (key == "sustain")
    v.sustain = ParseNumber(src, line, value, 0, 1);
  else if (key == "release")
    v.release = ParseNumber(src, line, value, 0, 10);
  else if (key == "vibrato")
    pair(0, 50, 0, 24, ':', v.vibratoRate, v.vibratoDepth);
  else if (key == "echo")
    pair(0.01, 2, 0, 0.9, ':', v.echoTime, v.echoFeedback);
  else if (key == "detune")
    v.detune = ParseNumber(src, line, value, -100, 100);
  else if (key == "octave")
    v.octave = ParseInt(src, line, value, -4, 4);
  else if (key == "cutoff") {
    if (value.find('>') != std::string::npos) {
      pair(20, 20000, 20, 20000, '>', v.cutoffStart, v.cutoffEnd);
    } else {
      v.cutoffStart = v.cutoffEnd = ParseNumber(src, line, value, 20, 20000);
    }
  } else {
    src.Fail(line, "unknown voice option \"" + key + "\"");
  }
}

Wave ParseWave(const SourceText& src, size_t line, const std::string& w) {
  static const std::map<std::string, Wave> waves = {
      {"square", Wave::kSquare}, {"triangle", Wave::kTriangle}, {"saw", Wave::kSaw},
      {"sine", Wave::kSine},     {"noise", Wave::kNoise},       {"drums", Wave::kDrums}};
  auto it = waves.find(w);
  if (it == waves.end())
    src.Fail(line, "unknown wave \"" + w + "\" (square, triangle, saw, sine, noise, drums)");
  return it->second;
}

}  // namespace

double NoteFrequency(std::string_view name) {
  static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  if (name.size() < 2 || name[0] < 'a' || name[0] > 'g') return -1;
  int semis = base[name[0] - 'a'];
  size_t i = 1;
  if (name[i] == '#')
    ++semis, ++i;
  else if (name[i] == 'b' && i + 1 < name.size())
    --semis, ++i;
  if (i + 1 != name.size() || name[i] < '0' || name[i] > '8') return -1;
  int octave = name[i] - '0';
  int midi = (octave + 1) * 12 + semis;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

Score ParseScore(const SourceText& src) {
  Score score;
  std::map<std::string, int> voiceIndex;
  std::map<std::string, PatternLines> patterns;
  std::vector<std::pair<std::string, size_t>> playOrder;
  std::vector<int> playTranspose;
  PatternLines* current = nullptr;

  for (size_t i = 0; i < src.size(); ++i) {
    if (IsBlankOrComment(src.line(i))) continue;
    std::vector<std::string> w = SplitWords(src.line(i));
    const std::string& key = w[0];
    auto need = [&](size_t n) {
      if (w.size() < n + 1) src.Fail(i, "\"" + key + "\" needs " + std::to_string(n) + " value(s)");
    };
    if (current && voiceIndex.count(key)) {
      auto& tokens = current->voiceTokens[voiceIndex[key]];
      for (size_t k = 1; k < w.size(); ++k) {
        if (w[k] == "|") continue;
        tokens.push_back({w[k], i, 0});
      }
      continue;
    }
    current = nullptr;
    if (key == "output") {
      need(1);
      score.output = w[1];
    } else if (key == "tempo") {
      need(1);
      score.tempo = ParseNumber(src, i, w[1], 10, 2000);
    } else if (key == "steps-per-beat") {
      need(1);
      score.stepsPerBeat = ParseInt(src, i, w[1], 1, 16);
    } else if (key == "volume") {
      need(1);
      score.volume = ParseNumber(src, i, w[1], 0.01, 1);
    } else if (key == "loop") {
      need(1);
      if (w[1] != "yes" && w[1] != "no") src.Fail(i, "loop is \"yes\" or \"no\"");
      score.loop = w[1] == "yes";
    } else if (key == "min-seconds") {
      need(1);
      score.minSeconds = ParseNumber(src, i, w[1], 0, 3600);
    } else if (key == "voice") {
      need(2);
      if (voiceIndex.count(w[1])) src.Fail(i, "voice \"" + w[1] + "\" is defined twice");
      static const std::vector<std::string> reserved = {"output", "tempo",   "steps-per-beat",
                                                        "volume", "loop",    "min-seconds",
                                                        "voice",  "pattern", "play"};
      for (const auto& r : reserved)
        if (w[1] == r) src.Fail(i, "\"" + w[1] + "\" cannot name a voice");
      Voice v;
      v.name = w[1];
      v.wave = ParseWave(src, i, w[2]);
      for (size_t k = 3; k < w.size(); ++k)
        SetVoiceOption(src, i, v, w[k]);
      voiceIndex[v.name] = static_cast<int>(score.voices.size());
      score.voices.push_back(v);
    } else if (key == "pattern") {
      need(1);
      if (patterns.count(w[1])) src.Fail(i, "pattern \"" + w[1] + "\" is defined twice");
      current = &patterns[w[1]];
      current->line = i;
    } else if (key == "play") {
      need(1);
      for (size_t k = 1; k < w.size(); ++k) {
        std::string name = w[k];
        int transpose = 0;
        size_t sign = name.find_first_of("+-", 1);
        if (sign != std::string::npos) {
          transpose = ParseInt(src, i, name.substr(sign + (name[sign] == '+' ? 1 : 0)), -24, 24);
          name = name.substr(0, sign);
        }
        playOrder.emplace_back(name, i);
        playTranspose.push_back(transpose);
      }
    } else {
      src.Fail(i, "unknown keyword or voice \"" + key + "\"");
    }
  }
  if (score.output.empty()) src.FailWhole("no \"output NAME\" line");
  if (score.voices.empty()) src.FailWhole("no voice is defined");
  if (playOrder.empty()) src.FailWhole("no \"play\" line");

  // Every voice of a pattern must cover the same number of steps.
  std::map<std::string, int> patternSteps;
  for (auto& [name, p] : patterns) {
    int steps = -1;
    std::string first;
    for (auto& [v, tokens] : p.voiceTokens) {
      int n = static_cast<int>(tokens.size());
      if (steps < 0) {
        steps = n;
        first = score.voices[v].name;
      } else if (n != steps) {
        src.Fail(tokens.back().line, "voice \"" + score.voices[v].name + "\" has " +
                                         std::to_string(n) + " steps in pattern \"" + name +
                                         "\" but \"" + first + "\" has " + std::to_string(steps));
      }
    }
    if (steps <= 0) src.Fail(p.line, "pattern \"" + name + "\" has no steps");
    patternSteps[name] = steps;
  }

  // Lay the patterns end to end per voice; voices missing from a pattern rest through it.
  std::vector<std::vector<Token>> lanes(score.voices.size());
  for (size_t k = 0; k < playOrder.size(); ++k) {
    auto it = patterns.find(playOrder[k].first);
    if (it == patterns.end())
      src.Fail(playOrder[k].second, "no pattern named \"" + playOrder[k].first + "\"");
    int steps = patternSteps[it->first];
    for (size_t v = 0; v < lanes.size(); ++v) {
      auto t = it->second.voiceTokens.find(static_cast<int>(v));
      if (t == it->second.voiceTokens.end()) {
        lanes[v].insert(lanes[v].end(), steps, Token{"-", playOrder[k].second, 0});
      } else {
        for (Token tok : t->second) {
          tok.transpose = playTranspose[k];
          lanes[v].push_back(tok);
        }
      }
    }
    score.totalSteps += steps;
  }

  for (size_t v = 0; v < lanes.size(); ++v) {
    const Voice& voice = score.voices[v];
    Note* open = nullptr;
    for (size_t s = 0; s < lanes[v].size(); ++s) {
      const Token& tok = lanes[v][s];
      if (tok.text == ".") {
        if (open) ++open->steps;
        continue;
      }
      open = nullptr;
      if (tok.text == "-") continue;
      Note note;
      note.voice = static_cast<int>(v);
      note.startStep = static_cast<int>(s);
      note.steps = 1;
      if (voice.wave == Wave::kDrums) {
        if (!IsDrumToken(tok.text))
          src.Fail(tok.line, "drum voice \"" + voice.name + "\" takes k s h o c t . -, not \"" +
                                 tok.text + "\"");
        note.drum = tok.text[0];
      } else {
        std::string from = tok.text, to = tok.text;
        size_t arrow = tok.text.find('>');
        if (arrow != std::string::npos) {
          from = tok.text.substr(0, arrow);
          to = tok.text.substr(arrow + 1);
        }
        double f0 = NoteFrequency(from), f1 = NoteFrequency(to);
        if (f0 < 0 || f1 < 0)
          src.Fail(tok.line,
                   "\"" + tok.text +
                       "\" is not a note (c4, f#3, bb5, c4>g4), a hold \".\" or a rest \"-\"");
        double shift = std::pow(2.0, tok.transpose / 12.0 + voice.octave);
        note.freqStart = f0 * shift;
        note.freqEnd = f1 * shift;
      }
      score.notes.push_back(note);
      open = &score.notes.back();
    }
  }
  if (score.minSeconds > 0 && score.Seconds() + 1e-9 < score.minSeconds) {
    src.FailWhole("the piece lasts " + std::to_string(score.Seconds()) +
                  " s, less than its min-seconds " + std::to_string(score.minSeconds));
  }
  return score;
}

}  // namespace mediagen
