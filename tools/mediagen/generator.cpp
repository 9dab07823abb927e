#include "tools/mediagen/generator.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <set>
#include <stdexcept>
#include <thread>

#include "tools/mediagen/audio_files.h"
#include "tools/mediagen/contact_sheet.h"
#include "tools/mediagen/picture.h"
#include "tools/mediagen/png_io.h"
#include "tools/mediagen/score.h"
#include "tools/mediagen/sprite_sheet.h"
#include "tools/mediagen/synth.h"

namespace mediagen {

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> SourcesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::is_directory(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().extension() == ".txt")
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());  // a fixed order keeps the output reproducible
  return files;
}

const CatalogueEntry* Find(const std::vector<CatalogueEntry>& cat, const std::string& name) {
  for (const auto& e : cat)
    if (e.name == name) return &e;
  return nullptr;
}

void Add(MediaSet& set, const std::string& name, GeneratedFile file, const std::string& source,
         const GenerateOptions& options) {
  if (set.files.count(name))
    throw std::runtime_error(source + ": \"" + name + "\" is already made by another source");
  if (!Find(set.catalogue, name))
    throw std::runtime_error(source + ": \"" + name + "\" is not in the catalogue");
  set.files[name] = std::move(file);
  if (options.progress) options.progress(name);
}

}  // namespace

MediaSet GenerateMedia(const fs::path& mediaDir, const GenerateOptions& options) {
  MediaSet set;
  set.catalogue = ParseCatalogue(SourceText::Load(mediaDir / "catalogue.txt"));

  if (options.pictures) {
    std::map<std::string, SpriteSheet> sheets;
    for (const fs::path& path : SourcesIn(mediaDir / "sprites")) {
      SourceText src = SourceText::Load(path);
      SpriteSheet sheet = ParseSpriteSheet(src);
      if (sheets.count(sheet.output)) src.FailWhole("\"" + sheet.output + "\" is made twice");
      GeneratedFile file;
      file.kind = EntryKind::kStrip;
      file.image = sheet.Strip();
      file.frameWidth = sheet.frameWidth;
      file.frameHeight = sheet.frameHeight;
      file.frames = sheet.frameCount();
      if (sheet.internal) {
        set.internal[sheet.output] = std::move(file);
      } else {
        file.bytes = EncodePng(file.image);
        Add(set, sheet.output, std::move(file), src.name(), options);
      }
      sheets[sheet.output] = std::move(sheet);
    }
    for (const fs::path& path : SourcesIn(mediaDir / "pictures")) {
      SourceText src = SourceText::Load(path);
      Picture pic = PaintPicture(src, sheets);
      GeneratedFile file;
      file.kind = pic.stripWidth ? EntryKind::kStrip : EntryKind::kPicture;
      file.image = std::move(pic.image);
      file.frameWidth = pic.stripWidth;
      file.frameHeight = pic.stripHeight;
      file.frames = pic.stripWidth ? (file.image.width() / pic.stripWidth) *
                                         (file.image.height() / pic.stripHeight)
                                   : 1;
      if (pic.internal) {
        set.internal[pic.output] = std::move(file);
      } else {
        file.bytes = EncodePng(file.image);
        Add(set, pic.output, std::move(file), src.name(), options);
      }
    }
  }
  // Sounds and music take most of the time; render them on two threads, in a fixed order
  // of results so the output never depends on timing.
  struct ScoreJob {
    fs::path path;
    EntryKind kind;
    std::string output;
    GeneratedFile file;
    std::exception_ptr error;
  };
  std::vector<ScoreJob> jobs;
  if (options.sounds)
    for (const fs::path& p : SourcesIn(mediaDir / "sounds"))
      jobs.push_back({p, EntryKind::kSound, {}, {}, {}});
  if (options.music)
    for (const fs::path& p : SourcesIn(mediaDir / "music"))
      jobs.push_back({p, EntryKind::kMusic, {}, {}, {}});
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t k = next++; k < jobs.size(); k = next++) {
      ScoreJob& job = jobs[k];
      try {
        SourceText src = SourceText::Load(job.path);
        Score score = ParseScore(src);
        bool mp3 =
            score.output.size() > 4 && score.output.substr(score.output.size() - 4) == ".mp3";
        if (job.kind == EntryKind::kMusic && !mp3) src.FailWhole("music is written as .mp3");
        if (job.kind == EntryKind::kSound && mp3)
          src.FailWhole("sound effects are written as .wav");
        job.output = score.output;
        job.file.kind = job.kind;
        job.file.bytes = mp3 ? EncodeMp3(RenderScore(score, kMusicRate, 2))
                             : EncodeWav(RenderScore(score, kEffectRate, 1));
      } catch (...) {
        job.error = std::current_exception();
      }
    }
  };
  {
    std::vector<std::jthread> threads;
    unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
    for (unsigned t = 0; t < count; ++t)
      threads.emplace_back(worker);
  }
  for (ScoreJob& job : jobs) {
    if (job.error) std::rethrow_exception(job.error);
    Add(set, job.output, std::move(job.file), job.path.string(), options);
  }

  // Everything the catalogue lists must be there, of the right kind and shape.
  std::string missing;
  for (const CatalogueEntry& e : set.catalogue) {
    bool wanted = (e.kind == EntryKind::kStrip || e.kind == EntryKind::kPicture) ? options.pictures
                  : e.kind == EntryKind::kSound                                  ? options.sounds
                                                                                 : options.music;
    if (!wanted) continue;
    auto it = set.files.find(e.name);
    if (it == set.files.end()) {
      missing += " " + e.name;
      continue;
    }
    const GeneratedFile& f = it->second;
    std::string where = "catalogue.txt:" + std::to_string(e.line + 1) + ": " + e.name;
    if (e.kind == EntryKind::kStrip) {
      if (f.frameWidth != e.frameWidth || f.frameHeight != e.frameHeight) {
        throw std::runtime_error(where + " has frames of " + std::to_string(f.frameWidth) + "x" +
                                 std::to_string(f.frameHeight) + ", the game cuts it into " +
                                 std::to_string(e.frameWidth) + "x" +
                                 std::to_string(e.frameHeight));
      }
      if (f.frames < e.minFrames) {
        throw std::runtime_error(where + " has " + std::to_string(f.frames) +
                                 " frames, the game draws " + std::to_string(e.minFrames));
      }
    } else if (f.kind != e.kind) {
      throw std::runtime_error(where + " is made as the wrong kind of file");
    }
  }
  if (!missing.empty() && options.requireAll)
    throw std::runtime_error("no source makes these catalogue files:" + missing);
  return set;
}

void WriteMedia(const MediaSet& set, const fs::path& outDir) {
  fs::create_directories(outDir);
  for (const auto& [name, file] : set.files)
    WriteFileBytes(outDir / name, file.bytes);
}

void WriteContactSheets(const MediaSet& set, const fs::path& dir, int scale) {
  fs::create_directories(dir);
  auto write = [&](const std::string& name, const GeneratedFile& f) {
    if (f.image.empty()) return;
    std::string stem = fs::path(name).stem().string();
    if (f.frameWidth) {
      WriteFileBytes(
          dir / (stem + "_sheet.png"),
          EncodePng(ContactSheet(f.image, f.frameWidth, f.frameHeight, scale, f.frames)));
    } else {
      WriteFileBytes(dir / (stem + "_sheet.png"), EncodePng(f.image));
    }
  };
  for (const auto& [name, file] : set.files)
    write(name, file);
  for (const auto& [name, file] : set.internal)
    write(name, file);
}

}  // namespace mediagen
