#include "game/check_media.h"

#include <cstdio>
#include <string_view>

#include "engine/audio/audio_system.h"
#include "engine/graphics/sprites.h"
#include "game/catalogue.h"

namespace tundrel {
namespace {

bool IsMusicFile(std::string_view name) {
  if (name.size() < 4) return false;
  std::string ending(name.substr(name.size() - 4));
  for (char& c : ending)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ending == ".mp3";
}

std::string Seconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", ms / 1000.0);
  return text;
}

std::string Size(int32_t width, int32_t height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

MediaCheckLine CheckImage(const ImageEntry& image) {
  MediaCheckLine line{"image", image.slot, image.file, false, ""};
  const zrb::SpriteDimensions size = zrb::SpriteSize(image.slot);
  if (size.width <= 0 || size.height <= 0) {
    line.detail = "missing or unreadable";
    return line;
  }
  line.detail = Size(size.width, size.height);
  if (image.frameWidth <= 0) {
    line.good = true;
    return line;
  }
  const int32_t frames = (size.width / image.frameWidth) * (size.height / image.frameHeight);
  if (frames <= 0) {
    line.detail += ", smaller than one " + Size(image.frameWidth, image.frameHeight) + " frame";
    return line;
  }
  line.good = true;
  line.detail +=
      ", " + std::to_string(frames) + " frames of " + Size(image.frameWidth, image.frameHeight);
  return line;
}

MediaCheckLine CheckSound(const SoundEntry& sound) {
  MediaCheckLine line{"sound", sound.slot, sound.file, false, ""};
  const zrb::audio::SoundSlotInfo info = zrb::audio::DescribeSoundSlot(sound.slot);
  if (info.bufferCount <= 0) {
    line.detail = "missing, or not a WAVE the sound slots take";
    return line;
  }
  line.good = true;
  line.detail = Seconds(info.durationMs);
  return line;
}

MediaCheckLine CheckMusic(const SoundEntry& sound) {
  MediaCheckLine line{"music", sound.slot, sound.file, false, ""};
  const zrb::audio::MusicProbe probe = zrb::audio::ProbeMusic(sound.file);
  if (!probe.found) {
    line.detail = "not found";
  } else if (!probe.playable || probe.lengthMs <= 0) {
    line.detail = "found, not playable";
  } else {
    line.good = true;
    line.detail = "found, playable, " + Seconds(probe.lengthMs);
  }
  return line;
}

}  // namespace

std::vector<MediaCheckLine> CheckLoadedMedia() {
  std::vector<MediaCheckLine> lines;
  for (const ImageEntry& image : ImageCatalogue())
    lines.push_back(CheckImage(image));
  for (const SoundEntry& sound : SoundCatalogue()) {
    lines.push_back(IsMusicFile(sound.file) ? CheckMusic(sound) : CheckSound(sound));
  }
  return lines;
}

std::string FormatMediaCheckLine(const MediaCheckLine& line) {
  char head[96];
  std::snprintf(head, sizeof head, "%-5s %2d  %-22s %-4s ", line.kind, line.slot, line.name.c_str(),
                line.good ? "ok" : "BAD");
  return head + line.detail;
}

bool ReportMediaCheck() {
  const std::vector<MediaCheckLine> lines = CheckLoadedMedia();
  int bad = 0;
  for (const MediaCheckLine& line : lines) {
    std::printf("%s\n", FormatMediaCheckLine(line).c_str());
    if (!line.good) ++bad;
  }
  const std::string device = zrb::audio::DescribeAudio();
  if (device.rfind("none", 0) == 0) {
    std::printf("sound device: %s (effects cannot be loaded; --headless checks them without one)\n",
                device.c_str());
  }
  std::printf("%zu entries, %d bad\n", lines.size(), bad);
  std::fflush(stdout);
  return bad == 0;
}

int32_t CountMissingImages() {
  int32_t missing = 0;
  for (const ImageEntry& image : ImageCatalogue()) {
    if (!CheckImage(image).good) ++missing;
  }
  return missing;
}

void WarnAboutMissingImages() {
  const int32_t missing = CountMissingImages();
  if (missing == 0) return;
  std::fprintf(stderr,
               "tundrel: %d of %zu pictures could not be loaded; is Media.sbx in the game's "
               "folder? (tundrel --check-media lists them)\n",
               missing, ImageCatalogue().size());
}

}  // namespace tundrel
