// Whole runs of the game on a hostile machine: a full disk and a planted link during the save
// at exit, a settings file the player may not read, FIFOs where files belong, no usable
// temporary folder. Faults come from the LD_PRELOAD shim (tests/support/fault_shim.c) or are
// planted by the test itself.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "run_binary.h"

namespace zrb::testing {
namespace {

namespace fs = std::filesystem;

const std::string kHighScoreFile("\0\1\0\0\x87\xD6\x12\0\0\0\0\0", 12);
const std::string kShim = std::string("LD_PRELOAD=") + FAULT_SHIM;

// The game headless in its own folder, past the title and out through the menu; a run that
// blocks is ended from outside, so that it fails instead of hanging the suite.
class HostileRun : public BinaryRun {
 public:
  RunResult Play(const std::string& environment = "") const {
    Write("script.txt",
          "1500 key Space down\n1540 key Space up\n2000 key Escape down\n2040 key Escape up\n"
          "2600 key Y down\n2640 key Y up\n");
    return Run(
        "timeout -s KILL 60 " TUNDREL_BINARY,
        "--headless --dir . --seed 1 --script script.txt --trace trace.jsonl --max-frames 3000",
        environment);
  }
  std::string Read(const std::string& name) const { return ReadWholeFile(Path(name)); }
  bool TraceHas(const std::string& part) const { return Has(Read("trace.jsonl"), part); }
  static bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }
  // Every name in the folder that starts with "settings.cfg" but the settings file itself.
  std::vector<std::string> SettingsLeftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Dir())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("settings.cfg", 0) == 0 && name != "settings.cfg") names.push_back(name);
    }
    return names;
  }
};

TEST(HostileFiles, FaultsAtTheStartOrDuringTheSaveLeaveTheOldSettingsWhole) {
  struct Case {
    const char* name;
    std::string environment;  // relative to the run's folder: {dir}
    const char* message;      // on standard error, "" for none
  };
  const Case cases[] = {
      // The disk fills up while the new file is written.
      {"disk full", "FAULT_WRITE_ENOSPC=settings.cfg",
       "Settings not stored: settings.cfg: writing failed: No space left on device"},
      // Another user of the folder puts a link where the new file is about to be created.
      {"link planted in the race", "FAULT_PLANT_LINK=settings.cfg.new:{dir}/victim.txt", ""},
      // Left behind by a run under another user (sudo; root reads anything, so the shim
      // refuses it), or on a failing disk, the file may hold a high score: only a missing
      // file means "no settings", and this one is kept.
      {"unreadable", "FAULT_READ_EACCES=settings.cfg",
       "Settings not stored: settings.cfg: it could not be read at start"},
      {"input/output error", "FAULT_READ_EIO=settings.cfg",
       "Settings not stored: settings.cfg: it could not be read at start"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostileRun game;
    game.Write("settings.cfg", kHighScoreFile);
    game.Write("victim.txt", "keep");
    std::string environment = c.environment;
    if (const size_t at = environment.find("{dir}"); at != std::string::npos) {
      environment.replace(at, 5, game.Dir());
    }
    const RunResult run = game.Play(kShim + " " + environment);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    if (*c.message) {
      EXPECT_TRUE(game.Has(run.err, c.message)) << run.err;
    } else {
      EXPECT_FALSE(game.Has(run.err, "Settings not stored")) << run.err;
    }
    EXPECT_FALSE(fs::is_symlink(game.Path("settings.cfg")));
    EXPECT_EQ(game.Read("settings.cfg"), kHighScoreFile);
    EXPECT_EQ(game.Read("victim.txt"), "keep");
    // Nothing of the save is left: only the link the other user planted, as it was.
    for (const std::string& name : game.SettingsLeftovers()) {
      EXPECT_TRUE(fs::is_symlink(game.Path(name))) << name;
    }
  }
}

TEST(HostileFiles, TheSaveSyncsTheNewFileBeforeTheRenameAndTheFolderAfter) {
  HostileRun game;
  game.Write("settings.cfg", kHighScoreFile);
  const std::string log = game.Dir() + ".calls";
  const RunResult run = game.Play(kShim + " FAULT_LOG=" + log);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const std::string calls = ReadWholeFile(log);
  fs::remove(log);
  const std::string folder = fs::canonical(game.Dir()).string();
  const std::string target = folder + "/settings.cfg";
  const size_t rename = calls.find(" " + target + "\n");
  ASSERT_NE(rename, std::string::npos) << calls;
  const size_t renameStart = calls.rfind("rename ", rename);
  const std::string temporary = calls.substr(renameStart + 7, rename - renameStart - 7);
  EXPECT_EQ(temporary.rfind(folder + "/settings.cfg.new", 0), 0u) << calls;
  const size_t fileSync = calls.find("fsync " + temporary + "\n");
  const size_t folderSync = calls.find("fsync " + folder + "\n", rename);
  EXPECT_LT(fileSync, renameStart) << calls;
  EXPECT_NE(folderSync, std::string::npos) << calls;
  EXPECT_EQ(game.Read("settings.cfg"), kHighScoreFile);
}

// 600 KB of 8-bit mono at 100 Hz: 6000 seconds, gigabytes at the device's rate.
const std::string kSlowWave = std::string(
                                  "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0d\0\0\0d\0\0\0\1\0\x08\0"
                                  "data\xC0\x27\x09\0",
                                  44) +
                              std::string(600000, '\x80');

// What stands where a file belongs (a FIFO), or claims more than the game takes (a loose
// picture of 300 MiB, a sound of 6000 seconds), is taken as missing with a message, before
// anything is allocated for it; the game plays on.
TEST(HostileFiles, WhatCannotBeUsedWhereAFileBelongsIsTakenAsMissingWithAMessage) {
  struct Case {
    const char* name;
    const char* kind;
    const char* message;
  };
  const Case cases[] = {
      {"settings.cfg", "fifo", "Settings not read: settings.cfg: not a regular file (a FIFO)"},
      {"Media.sbx", "fifo", "Media.sbx: not a regular file (a FIFO); taken as missing"},
      {"font1.png", "fifo", "font1.png: not a regular file (a FIFO); taken as missing"},
      {"font1.png", "huge", "files: font1.png: larger than 256 MiB; taken as missing"},
      {"_ding.wav", "slow", "sound _ding.wav not loaded: longer than 60 seconds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    HostileRun game;
    const std::string kind = c.kind;
    if (kind == "fifo") {
      ASSERT_EQ(::mkfifo(game.Path(c.name).c_str(), 0600), 0);
    } else if (kind == "huge") {
      game.Write(c.name, "");
      fs::resize_file(game.Path(c.name), uintmax_t{300} << 20);  // sparse: no disk taken
    } else {
      game.Write(c.name, kSlowWave);
    }
    const RunResult run = game.Play();
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(game.Has(run.err, c.message)) << run.err;
    EXPECT_TRUE(game.TraceHas("\"screen\":\"menu\""));
    EXPECT_TRUE(kind != "fifo" || fs::status(game.Path(c.name)).type() == fs::file_type::fifo);
  }
}

// Music comes straight from the archive's memory: without a usable temporary folder the theme
// still plays, and a piece that cannot be played says so.
TEST(HostileFiles, MusicPlaysWithoutATemporaryFolderAndAMissingPieceIsReported) {
  if (!fs::exists(TUNDREL_MEDIA_ARCHIVE)) GTEST_SKIP() << "no Media.sbx built";
  HostileRun game;
  fs::create_symlink(TUNDREL_MEDIA_ARCHIVE, game.Path("Media.sbx"));
  game.Write("a-file", "1");
  for (const std::string tmp : {"missing", "a-file"}) {
    SCOPED_TRACE(tmp);
    const RunResult run = game.Play("TMPDIR=" + game.Path(tmp));
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(game.TraceHas("\"play _theme.mp3 loop\"")) << run.err;
  }

  HostileRun without;
  const RunResult run = without.Play();
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(without.TraceHas("\"fail _theme.mp3\""));
  EXPECT_TRUE(without.Has(run.err, "music _theme.mp3 not played: no such file")) << run.err;
}

}  // namespace
}  // namespace zrb::testing
