// Renders a Score into samples: band-limited square, saw, triangle and sine (oscillator.h),
// noise and a small drum kit, each note shaped by an ADSR envelope, per-voice filter, echo and
// pan.
#pragma once

#include <vector>

#include "tools/mediagen/score.h"

namespace mediagen {

struct AudioBuffer {
  int rate = 22050;
  int channels = 1;
  std::vector<float> samples;  // interleaved, -1..1

  size_t frames() const { return channels ? samples.size() / channels : 0; }
  double Seconds() const { return rate ? double(frames()) / rate : 0; }
};

// A looping score is rendered to exactly its length with the tails of its last notes
// folded onto its start, so the seam is continuous; both ends get a few milliseconds of fade
// so a restart that does not land sample-exactly never clicks. Otherwise the render runs
// until the last note has died away. The mix loses its DC offset and its few lopsided peaks,
// then is scaled to the score's peak volume.
AudioBuffer RenderScore(const Score& score, int rate, int channels);

}  // namespace mediagen
