#include "engine/audio/gain.h"

#include <cmath>

namespace zrb::audio {

PlayLevels LevelsFor(double pan, double volume) {
  if (std::isnan(pan)) pan = 0.0;
  if (std::isnan(volume)) volume = 0.0;
  double hundredths = volume * 100.0;
  if (hundredths > 100.0) hundredths = 100.0;
  if (hundredths < 0.0) hundredths = 0.0;
  if (pan < -1.0) pan = -1.0;
  if (pan > 1.0) pan = 1.0;
  PlayLevels levels;
  levels.volumeHundredthsDb = static_cast<int32_t>(hundredths) * 100 - 10000;
  levels.panHundredthsDb = static_cast<int32_t>(pan * 10000.0);
  return levels;
}

double GainFromHundredthsDb(int32_t hundredthsDb) {
  if (hundredthsDb <= kSilentHundredthsDb) return 0.0;
  return std::pow(10.0, hundredthsDb / 2000.0);
}

ChannelGains GainsFor(const PlayLevels& levels) {
  const double overall = GainFromHundredthsDb(levels.volumeHundredthsDb);
  double left = overall;
  double right = overall;
  if (levels.panHundredthsDb > 0) left *= GainFromHundredthsDb(-levels.panHundredthsDb);
  if (levels.panHundredthsDb < 0) right *= GainFromHundredthsDb(levels.panHundredthsDb);
  return {static_cast<float>(left), static_cast<float>(right)};
}

void ApplyGains(int16_t* frames, size_t frameCount, const ChannelGains& gains) {
  // Gains never exceed 1, so the products stay inside the 16-bit range.
  for (size_t i = 0; i < frameCount; ++i) {
    frames[2 * i] = static_cast<int16_t>(std::lrint(frames[2 * i] * gains.left));
    frames[2 * i + 1] = static_cast<int16_t>(std::lrint(frames[2 * i + 1] * gains.right));
  }
}

}  // namespace zrb::audio
