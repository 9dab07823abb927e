#include "tools/mediagen/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/mediagen/oscillator.h"

namespace mediagen {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// 15-bit linear feedback shift register, as the old sound chips had: deterministic noise.
class Lfsr {
 public:
  double Next() {
    unsigned bit = ((state_ >> 0) ^ (state_ >> 1)) & 1u;
    state_ = (state_ >> 1) | (bit << 14);
    return (state_ & 1u) ? 1.0 : -1.0;
  }

 private:
  unsigned state_ = 0x4A3Bu;
};

// Shortest attack and release a tone gets: a faster edge is heard as a click or a thump.
constexpr double kMinEdge = 0.004;

// 0 -> 1 along half a cosine: no corner where the edge starts or ends.
double SmoothStep(double x) {
  return x <= 0 ? 0.0 : x >= 1 ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

double Envelope(const Voice& v, double t, double gate) {
  const double attack = std::max(v.attack, kMinEdge);
  const double release = std::max(v.release, kMinEdge);
  auto held = [&](double time) {
    if (time < attack) return SmoothStep(time / attack);
    time -= attack;
    if (time < v.decay) return 1.0 - (1.0 - v.sustain) * (v.decay > 0 ? time / v.decay : 1.0);
    return v.sustain;
  };
  if (t < gate) return held(t);
  double r = t - gate;
  if (r >= release) return 0.0;
  return held(gate) * SmoothStep(1.0 - r / release);
}

// The highest pitch a note reaches, with its slide, vibrato and detuned twin.
double HighestFrequency(const Voice& v, const Note& n) {
  double f = std::max(n.freqStart, n.freqEnd) * std::exp2(v.vibratoDepth / 12.0);
  if (v.detune > 0) f *= std::pow(2.0, v.detune / 1200.0);
  return f;
}

void RenderTone(const Voice& v, const Note& n, double stepSec, int rate, WaveTables& tables,
                std::vector<double>& out, size_t start) {
  double gate = n.steps * stepSec;
  size_t length = static_cast<size_t>((gate + std::max(v.release, kMinEdge)) * rate) + 1;
  if (out.size() < start + length) out.resize(start + length, 0.0);
  double phase = 0, phase2 = 0.25, lp = 0, noiseHold = 0, noiseClock = 0;
  Lfsr lfsr;
  const WaveTable* table =
      v.wave == Wave::kNoise ? nullptr : &tables.For(v.wave, v.duty, HighestFrequency(v, n));
  double detune = std::pow(2.0, v.detune / 1200.0);
  double fixedCutoff = 1.0 - std::exp(-kTwoPi * v.cutoffStart / rate);
  for (size_t i = 0; i < length; ++i) {
    double t = double(i) / rate;
    double progress = std::min(t / gate, 1.0);
    double freq = n.freqStart == n.freqEnd
                      ? n.freqStart
                      : n.freqStart * std::pow(n.freqEnd / n.freqStart, progress);
    if (v.vibratoDepth > 0) {
      // Vibrato fades in over the first tenth of a second so short notes stay clean.
      double depth = v.vibratoDepth * std::min(t / 0.1, 1.0);
      freq *= std::exp2(depth * std::sin(kTwoPi * v.vibratoRate * t) / 12.0);
    }
    double dt = freq / rate;
    auto oscillate = [&](double& p, double step) {
      double s = table->At(p);
      p += step;
      if (p >= 1.0) p -= 1.0;
      return s;
    };
    double s;
    if (v.wave == Wave::kNoise) {
      // The note's pitch clocks the register: high notes hiss, low notes rumble.
      noiseClock += freq * 8.0 / rate;
      while (noiseClock >= 1.0) {
        noiseHold = lfsr.Next();
        noiseClock -= 1.0;
      }
      s = noiseHold;
    } else {
      s = oscillate(phase, dt);
      if (v.detune != 0) s = 0.6 * s + 0.6 * oscillate(phase2, dt * detune);
    }
    if (v.cutoffStart > 0) {
      double a = fixedCutoff;
      if (v.cutoffStart != v.cutoffEnd) {
        double cutoff = v.cutoffStart * std::pow(v.cutoffEnd / v.cutoffStart, progress);
        a = 1.0 - std::exp(-kTwoPi * cutoff / rate);
      }
      lp += a * (s - lp);
      s = lp;
    }
    out[start + i] += s * Envelope(v, t, gate) * v.volume;
  }
}

void RenderDrum(const Voice& v, char drum, int rate, std::vector<double>& out, size_t start) {
  double length = drum == 'c' ? 1.2 : (drum == 'o' ? 0.35 : 0.3);
  size_t count = static_cast<size_t>(length * rate);
  if (out.size() < start + count) out.resize(start + count, 0.0);
  Lfsr lfsr;
  double phase = 0, lp = 0, lp2 = 0;
  for (size_t i = 0; i < count; ++i) {
    double t = double(i) / rate;
    double noise = lfsr.Next();
    lp += 0.35 * (noise - lp);
    double high = noise - lp;  // a crude high-pass for cymbals
    lp2 += 0.5 * (noise - lp2);
    double s = 0;
    switch (drum) {
      case 'k': {  // kick: a falling sine with a short click
        double f = 45 + 110 * std::exp(-t * 30);
        phase += f / rate;
        s = std::sin(kTwoPi * phase) * std::exp(-t * 9) + (t < 0.004 ? noise * 0.4 : 0);
        break;
      }
      case 't': {  // tom
        double f = 90 + 90 * std::exp(-t * 20);
        phase += f / rate;
        s = std::sin(kTwoPi * phase) * std::exp(-t * 12);
        break;
      }
      case 's': {  // snare: body tone plus rattling noise
        phase += 185.0 / rate;
        s = 0.5 * std::sin(kTwoPi * phase) * std::exp(-t * 25) + 0.7 * lp2 * std::exp(-t * 16);
        break;
      }
      case 'h':
        s = 0.6 * high * std::exp(-t * 70);
        break;
      case 'o':
        s = 0.5 * high * std::exp(-t * 10);
        break;
      case 'c':
        s = 0.45 * high * std::exp(-t * 3.5);
        break;
    }
    // Two milliseconds of fade-in keep the first sample from clicking.
    out[start + i] += s * v.volume * SmoothStep(t / 0.002);
  }
}

// A gentle high-pass well below the lowest note: it takes out the slow offset that short notes,
// drums and echoes leave, which would otherwise push the speaker off centre. A loop is run
// through twice so its start already carries the filter state of its end.
void RemoveDc(std::vector<double>& x, int rate, bool loop) {
  const double pole = 1.0 - kTwoPi * 8.0 / rate;
  double lastIn = 0, lastOut = 0;
  auto step = [&](double in) {
    lastOut = in - lastIn + pole * lastOut;
    lastIn = in;
    return lastOut;
  };
  if (loop)
    for (double s : x)
      step(s);
  for (double& s : x)
    s = step(s);
}

// Evens out the two half-waves: the few peaks of the stronger side that pass the weaker side's
// highest peak are turned down by a smooth gain (ramping down over 3 ms ahead of a peak and back
// up over 60 ms after it), so the finished piece swings about as far either way and no single
// lopsided peak decides how loud the whole piece can be. A gain, not a curve, so it adds no
// harmonics.
void EvenPeaks(std::vector<double>& left, std::vector<double>& right, size_t length, int rate) {
  double up = 1e-9, down = 1e-9;
  for (size_t i = 0; i < length; ++i) {
    up = std::max({up, left[i], right[i]});
    down = std::max({down, -left[i], -right[i]});
  }
  const double ceiling = std::min(up, down);
  std::vector<double> gain(length, 1.0);
  for (size_t i = 0; i < length; ++i) {
    double swing = std::max(std::abs(left[i]), std::abs(right[i]));
    if (swing > ceiling) gain[i] = ceiling / swing;
  }
  const double fall = 1.0 / (0.003 * rate), rise = 1.0 / (0.06 * rate);
  for (size_t i = length; i-- > 1;)
    gain[i - 1] = std::min(gain[i - 1], gain[i] + fall);
  for (size_t i = 1; i < length; ++i)
    gain[i] = std::min(gain[i], gain[i - 1] + rise);
  for (size_t i = 0; i < length; ++i) {
    left[i] *= gain[i];
    right[i] *= gain[i];
  }
}

}  // namespace

AudioBuffer RenderScore(const Score& score, int rate, int channels) {
  const double stepSec = score.StepSeconds();
  const size_t loopLength = static_cast<size_t>(std::llround(score.Seconds() * rate));
  std::vector<double> left(loopLength, 0.0), right(loopLength, 0.0);
  WaveTables tables(rate);

  for (size_t v = 0; v < score.voices.size(); ++v) {
    const Voice& voice = score.voices[v];
    std::vector<double> lane(loopLength, 0.0);
    for (const Note& n : score.notes) {
      if (n.voice != static_cast<int>(v)) continue;
      size_t start = static_cast<size_t>(std::llround(n.startStep * stepSec * rate));
      if (voice.wave == Wave::kDrums)
        RenderDrum(voice, n.drum, rate, lane, start);
      else
        RenderTone(voice, n, stepSec, rate, tables, lane, start);
    }
    if (voice.echoTime > 0 && voice.echoFeedback > 0) {
      size_t delay = static_cast<size_t>(voice.echoTime * rate);
      // Room for the echoes to die away (down to about -40 dB).
      size_t tail =
          static_cast<size_t>(delay * std::ceil(std::log(0.01) / std::log(voice.echoFeedback)));
      lane.resize(lane.size() + tail, 0.0);
      for (size_t i = delay; i < lane.size(); ++i)
        lane[i] += voice.echoFeedback * lane[i - delay];
    }
    double gl = channels == 2 ? std::sqrt(0.5 * (1.0 - voice.pan)) : 1.0;
    double gr = channels == 2 ? std::sqrt(0.5 * (1.0 + voice.pan)) : 0.0;
    if (!score.loop && lane.size() > left.size()) {
      left.resize(lane.size(), 0.0);
      right.resize(lane.size(), 0.0);
    }
    for (size_t i = 0; i < lane.size(); ++i) {
      size_t at = score.loop ? i % loopLength : i;
      left[at] += lane[i] * gl;
      right[at] += lane[i] * gr;
    }
  }

  RemoveDc(left, rate, score.loop);
  RemoveDc(right, rate, score.loop);
  size_t length = left.size();
  if (!score.loop) {
    // Trim the silent end of a one-shot piece.
    while (length > 1 && std::abs(left[length - 1]) < 1e-4 && std::abs(right[length - 1]) < 1e-4)
      --length;
  }
  EvenPeaks(left, right, length, rate);
  double peak = 1e-9;
  for (size_t i = 0; i < length; ++i)
    peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
  double gain = score.volume / peak;
  size_t fade = std::min<size_t>(static_cast<size_t>(0.006 * rate), length / 2);

  AudioBuffer out;
  out.rate = rate;
  out.channels = channels;
  out.samples.resize(length * channels);
  for (size_t i = 0; i < length; ++i) {
    double edge = 1.0;
    if (i < fade && score.loop) edge = double(i) / fade;
    if (length - 1 - i < fade) edge = std::min(edge, double(length - 1 - i) / fade);
    if (channels == 2) {
      out.samples[2 * i] = static_cast<float>(left[i] * gain * edge);
      out.samples[2 * i + 1] = static_cast<float>(right[i] * gain * edge);
    } else {
      out.samples[i] = static_cast<float>(left[i] * gain * edge);
    }
  }
  return out;
}

}  // namespace mediagen
