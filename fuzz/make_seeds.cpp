// Writes the small starting inputs of the fuzz targets (fuzz/corpus/TARGET/): a few valid
// files of each kind in the shapes our media and the decoders' branches use, plus a few
// hand-made damaged ones. The committed corpus was made with
//   build-asan/fuzz/fuzz_make_seeds fuzz/corpus build-asan/media/files
// and is kept small on purpose: the fuzzers grow their own corpora outside the repository.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <png.h>

#include "engine/files/archive_format.h"
#include "graphics/test_images.h"
#include "tools/mediagen/audio_files.h"

namespace {

using namespace std::string_view_literals;
using Bytes = std::vector<uint8_t>;
using zrb::testing::Picture;
using zrb::testing::Rgb;

std::filesystem::path g_root;

void Save(const std::string& target, const std::string& name, const Bytes& bytes) {
  const std::filesystem::path folder = g_root / target;
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes Text(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

void Append32(Bytes& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Append16(Bytes& bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// A small picture with a colour-keyed corner and a few colours.
Picture Sample(int width, int height) {
  Picture picture(width, height, Rgb{20, 90, 200});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if ((x + y) % 3 == 0) picture.At(x, y) = Rgb{static_cast<uint8_t>(x * 40), 200, 10};
  picture.At(0, 0) = Rgb{255, 0, 128};
  return picture;
}

void BmpSeeds() {
  const Picture picture = Sample(5, 3);
  Save("bmp", "rgb24.bmp", zrb::testing::EncodeBmp(picture));
  Save("bmp", "rgb32_top_down.bmp",
       zrb::testing::EncodeBmp(picture, {.bitCount = 32, .topDown = true}));
  Save("bmp", "rgb16.bmp", zrb::testing::EncodeBmp(picture, {.bitCount = 16}));
  const std::vector<Rgb> palette = {{0, 0, 0}, {255, 0, 128}, {10, 200, 30}};
  std::vector<uint8_t> indexes(15);
  for (size_t i = 0; i < indexes.size(); ++i)
    indexes[i] = static_cast<uint8_t>(i % 3);
  for (int bits : {1, 4, 8}) {
    std::vector<uint8_t> bounded = indexes;
    for (uint8_t& index : bounded)
      index = static_cast<uint8_t>(index % (bits == 1 ? 2 : 3));
    Save("bmp", "palette" + std::to_string(bits) + ".bmp",
         zrb::testing::EncodeBmp(picture,
                                 {.bitCount = bits, .palette = palette, .indexes = bounded}));
  }
  Bytes truncated = zrb::testing::EncodeBmp(Sample(4, 4));
  truncated.resize(truncated.size() - 7);
  Save("bmp", "truncated.bmp", truncated);
}

void PngSeeds() {
  using zrb::testing::PngContent;
  const auto samples = [](int count, int maximum) {
    std::vector<uint16_t> values(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
      values[static_cast<size_t>(i)] = static_cast<uint16_t>((i * 37) % (maximum + 1));
    return values;
  };
  Save("png", "rgb.png",
       zrb::testing::EncodePng({.width = 4,
                                .height = 3,
                                .colourType = PNG_COLOR_TYPE_RGB,
                                .samples = samples(36, 255)}));
  Save("png", "rgba_interlaced.png",
       zrb::testing::EncodePng({.width = 9,
                                .height = 9,
                                .colourType = PNG_COLOR_TYPE_RGBA,
                                .samples = samples(324, 255),
                                .interlaced = true}));
  Save("png", "grey2.png",
       zrb::testing::EncodePng({.width = 5,
                                .height = 2,
                                .colourType = PNG_COLOR_TYPE_GRAY,
                                .bitDepth = 2,
                                .samples = samples(10, 3)}));
  Save("png", "rgb16.png",
       zrb::testing::EncodePng({.width = 2,
                                .height = 2,
                                .colourType = PNG_COLOR_TYPE_RGB,
                                .bitDepth = 16,
                                .samples = samples(12, 65535)}));
  Save("png", "palette_trns.png",
       zrb::testing::EncodePng({.width = 3,
                                .height = 2,
                                .colourType = PNG_COLOR_TYPE_PALETTE,
                                .bitDepth = 4,
                                .samples = samples(6, 2),
                                .palette = {{0, 0, 0}, {255, 0, 128}, {1, 2, 3}},
                                .paletteAlpha = {255, 0}}));
  Save("png", "grey_alpha.png",
       zrb::testing::EncodePng({.width = 2,
                                .height = 2,
                                .colourType = PNG_COLOR_TYPE_GRAY_ALPHA,
                                .samples = samples(8, 255)}));
}

void JpegSeeds() {
  std::vector<uint8_t> rgb(12 * 10 * 3);
  for (size_t i = 0; i < rgb.size(); ++i)
    rgb[i] = static_cast<uint8_t>(i * 7);
  Save("jpeg", "rgb.jpg", zrb::testing::EncodeJpeg(12, 10, 3, rgb));
  Save("jpeg", "rgb_progressive.jpg", zrb::testing::EncodeJpeg(12, 10, 3, rgb, true));
  std::vector<uint8_t> grey(17 * 3);
  for (size_t i = 0; i < grey.size(); ++i)
    grey[i] = static_cast<uint8_t>(i * 13);
  Save("jpeg", "grey.jpg", zrb::testing::EncodeJpeg(17, 3, 1, grey));
}

mediagen::AudioBuffer Tone(int rate, int channels, int frames) {
  mediagen::AudioBuffer audio;
  audio.rate = rate;
  audio.channels = channels;
  for (int i = 0; i < frames * channels; ++i)
    audio.samples.push_back(static_cast<float>(0.5 * std::sin(i * 0.05)));
  return audio;
}

// A WAVE of our own layout: chunks given as they are, so odd shapes can be written.
Bytes Wave(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& extraChunk,
           uint32_t dataFrames) {
  Bytes chunks;
  chunks.insert(chunks.end(), extraChunk.begin(), extraChunk.end());
  const uint16_t blockAlign = static_cast<uint16_t>(channels * bits / 8);
  const Bytes fmt = Text("fmt ");
  chunks.insert(chunks.end(), fmt.begin(), fmt.end());
  Append32(chunks, 16);
  Append16(chunks, 1);
  Append16(chunks, channels);
  Append32(chunks, rate);
  Append32(chunks, rate * blockAlign);
  Append16(chunks, blockAlign);
  Append16(chunks, bits);
  const Bytes data = Text("data");
  chunks.insert(chunks.end(), data.begin(), data.end());
  Append32(chunks, dataFrames * blockAlign);
  for (uint32_t i = 0; i < dataFrames * blockAlign; ++i)
    chunks.push_back(static_cast<uint8_t>(i * 29));
  Bytes file = Text("RIFF");
  Append32(file, static_cast<uint32_t>(chunks.size() + 4));
  const Bytes wave = Text("WAVE");
  file.insert(file.end(), wave.begin(), wave.end());
  file.insert(file.end(), chunks.begin(), chunks.end());
  return file;
}

void WaveSeeds() {
  Save("wave", "mono16.wav", mediagen::EncodeWav(Tone(22050, 1, 200)));
  Save("wave", "stereo8.wav", Wave(2, 11025, 8, {}, 40));
  Bytes list = Text("LIST");
  Append32(list, 3);  // odd size, no pad byte
  list.insert(list.end(), {'a', 'b', 'c'});
  Save("wave", "four_channels_after_list.wav", Wave(4, 8000, 16, list, 10));
  Bytes cut = Wave(1, 44100, 16, {}, 30);
  cut.resize(cut.size() - 11);  // data chunk claims more than is there
  Save("wave", "cut_data.wav", cut);
}

void Mp3Seeds() {
  const Bytes mp3 = mediagen::EncodeMp3(Tone(44100, 2, 4000));
  Save("mp3_length", "stereo.mp3", mp3);
  Bytes tagged = Text("ID3");
  tagged.insert(tagged.end(), {4, 0, 0, 0, 0, 0, 5, 'T', 'I', 'T', '2', 0});
  tagged.insert(tagged.end(), mp3.begin(), mp3.begin() + static_cast<long>(mp3.size() / 2));
  Save("mp3_length", "id3_then_half.mp3", tagged);
  // A layer II header repeated, MPEG-2 at 24 kHz and 8 kbit/s: 48-byte frames.
  Bytes layer2;
  for (int frame = 0; frame < 3; ++frame) {
    layer2.insert(layer2.end(), {0xFF, 0xF5, 0x14, 0xC0});
    layer2.resize(layer2.size() + 44, 0);
  }
  Save("mp3_length", "mpeg2_layer2.mp3", layer2);
}

Bytes Archive(zrb::files::archive::OffsetBase base) {
  zrb::files::archive::ArchiveBuilder builder;
  builder.Add(
      "tiny.png",
      zrb::testing::EncodePng(
          {.width = 2, .height = 1, .colourType = PNG_COLOR_TYPE_GRAY, .samples = {0, 255}}));
  builder.Add("Note.TXT", Text("first line\nsecond line, a little longer than the first\n"));
  builder.Add("zeros.bin", Bytes(600, 0));
  builder.Add("empty", {});
  return builder.Finish(base);
}

void ArchiveSeeds() {
  for (const std::string target : {"archive_format", "archive_resolve"}) {
    Save(target, "from_start.sbx", Archive(zrb::files::archive::OffsetBase::kFileStart));
    Bytes appended = Text("something before the archive");
    const Bytes archive = Archive(zrb::files::archive::OffsetBase::kFileEnd);
    appended.insert(appended.end(), archive.begin(), archive.end());
    Save(target, "appended_from_end.sbx", appended);
    Save(target, "no_entries.sbx",
         zrb::files::archive::ArchiveBuilder().Finish(zrb::files::archive::OffsetBase::kFileStart));
  }
}

// Texts come from the front of the input, numbers from its end: digits, signs, points and
// exponents in front, bytes for the numbers and choices behind.
void NumberSeeds() {
  Save(
      "number_text", "decimal",
      Text("  -12345.678e-3xyz\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10"sv));
  Save(
      "number_text", "huge",
      Text(
          "1e400 and 4294967296\xff\xff\xff\x7f\x00\x00\x00\x00\x00\x00\xf0\x7f\x01\x00\x00\x80"sv));
  Save("number_text", "tie",
       Text("12345678905\x35\x35\x35\x35\x35\x35\x35\x35\x35\x35\x35\x35\x35\x35\x35\x35"sv));
  Save("read_data", "mixed",
       Text("\x02"
            "3.5e2\\"
            "\x01-17 apples\\"
            "\x00\x00\x00\x00\x00\x01\x02\x00\x01\x02\x00\x05"sv));
  Save("read_data", "texts",
       Text("\x02"
            "  +2147483648\\"
            "\x02"
            ".5\\"
            "\x02"
            "0x10\\"
            "\x02"
            "inf\\"
            "\x01\x02\x00\x01\x02\x00\x02\x02\x02\x02\x02\x08"sv));
}

// FuzzedDataProvider takes whole numbers from the end of the input, one byte for each small
// range here, so the values are written in reading order and the bytes reversed.
Bytes Reversed(Bytes values) {
  return Bytes(values.rbegin(), values.rend());
}

void FindPathSeeds() {
  // width, height, start x + 1, start y + 1, goal x + 1, goal y + 1 (end points range from
  // -1), weight choice, result-is-grid flag, then one byte per cell (0x90: cost 10, 0: wall).
  Bytes maze = {17, 12, 1, 1, 17, 12, 0, 0};
  for (int i = 0; i < 17 * 12; ++i)
    maze.push_back(static_cast<uint8_t>((i % 7 == 3) ? 0 : 0x90));
  Save("find_path", "maze", Reversed(maze));
  Bytes mixed = {8, 8, 2, 2, 7, 7, 2, 1};
  for (int i = 0; i < 64; ++i)
    mixed.push_back(static_cast<uint8_t>(i * 37));
  Save("find_path", "mixed_costs", Reversed(mixed));
}

void ScriptAndSettingsSeeds() {
  Save("input_script", "walk.txt",
       Text("# a short walk\n0 key Right down\n250.5 key Right up\n250.5 key 57 down\n"
            "300 joy x -32768\n300 joy button1 128\n400 focus lost\r\n410 focus gained\n"
            "999 close\n"));
  Save("input_script", "bad_line.txt", Text("10 key Space down\n20 jump\n"));
  Save("settings", "stored.cfg", {1, 1, 0, 1, 0x39, 0x30, 0, 0, 1, 0, 0, 0});
  Save("settings", "odd_values.cfg", {0xFF, 7, 0x80, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 9});
  Save("settings", "short.cfg", {0, 1, 0});
}

Bytes ReadMedia(const std::filesystem::path& folder, const std::string& name, size_t limit) {
  Bytes bytes;
  if (std::FILE* file = std::fopen((folder / name).string().c_str(), "rb")) {
    bytes.resize(limit);
    bytes.resize(std::fread(bytes.data(), 1, limit, file));
    std::fclose(file);
  }
  if (bytes.empty()) std::fprintf(stderr, "fuzz_make_seeds: cannot read %s\n", name.c_str());
  return bytes;
}

// A few of the game's own files, as the build generated them (build/media/files): small
// pictures and effects whole, the start of a tune, and an archive of two of them.
void MediaSeeds(const std::filesystem::path& media) {
  Save("png", "particles.png", ReadMedia(media, "particles.png", 1 << 20));
  Save("png", "font1.png", ReadMedia(media, "font1.png", 1 << 20));
  Save("wave", "_blip.wav", ReadMedia(media, "_blip.wav", 1 << 20));
  Save("mp3_length", "_dead_start.mp3", ReadMedia(media, "_dead.mp3", 6000));
  zrb::files::archive::ArchiveBuilder builder;
  builder.Add("webs.png", ReadMedia(media, "webs.png", 1 << 20));
  builder.Add("_blip.wav", ReadMedia(media, "_blip.wav", 1 << 20));
  const Bytes archive = builder.Finish(zrb::files::archive::OffsetBase::kFileStart);
  Save("archive_format", "media.sbx", archive);
  Save("archive_resolve", "media.sbx", archive);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: fuzz_make_seeds OUT_DIR [MEDIA_DIR]\n");
    return 2;
  }
  g_root = argv[1];
  BmpSeeds();
  PngSeeds();
  JpegSeeds();
  WaveSeeds();
  Mp3Seeds();
  ArchiveSeeds();
  NumberSeeds();
  FindPathSeeds();
  ScriptAndSettingsSeeds();
  if (argc == 3) MediaSeeds(argv[2]);
  return 0;
}
