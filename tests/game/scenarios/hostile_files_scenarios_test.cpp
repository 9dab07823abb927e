// Whole runs of the game on a hostile machine: a full disk and a planted link during the save
// at exit, a settings file the player may not read, FIFOs where files belong, no usable
// temporary folder. Faults come from the LD_PRELOAD shim (tests/support/fault_shim.c) or are
// planted by the test itself.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/harness/game_run.h"

namespace tundrel::testing {
namespace {

namespace fs = std::filesystem;

const Bytes kHighScoreFile = {0, 1, 0, 0, 0x87, 0xD6, 0x12, 0x00, 0, 0, 0, 0};
const std::string kShim = std::string("LD_PRELOAD=") + FAULT_SHIM;
// A run that blocks is ended from outside, so that it fails instead of hanging the suite.
const std::vector<std::string> kHangLimit = {"timeout", "-s", "KILL", "60"};

Script LeaveThroughTheMenu() {
  Script script;
  script.PastTitle().Tap(2000, "Escape").Tap(2600, "Y");
  return script;
}

std::vector<std::string> With(std::vector<std::string> words) {
  words.insert(words.end(), kHangLimit.begin(), kHangLimit.end());
  return words;
}

// Every name in the folder but the settings file that starts with "settings.cfg".
std::vector<std::string> SettingsLeftovers(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("settings.cfg", 0) == 0 && name != "settings.cfg") names.push_back(name);
  }
  return names;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(HostileFiles, FaultsDuringTheSaveLeaveTheOldSettingsWhole) {
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameRun game;
    game.WriteFile("settings.cfg", kHighScoreFile);
    game.WriteFile("victim.txt", {'k', 'e', 'e', 'p'});
    std::string environment = c.environment;
    if (const size_t at = environment.find("{dir}"); at != std::string::npos) {
      environment.replace(at, 5, game.Dir().string());
    }
    const RunResult run = game.Run(LeaveThroughTheMenu(), 3000, {}, With({kShim, environment}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    if (*c.message) {
      EXPECT_TRUE(Has(run.err, c.message)) << run.err;
    } else {
      EXPECT_FALSE(Has(run.err, "Settings not stored")) << run.err;
    }
    EXPECT_FALSE(fs::is_symlink(game.Dir() / "settings.cfg"));
    EXPECT_EQ(game.ReadFile("settings.cfg"), kHighScoreFile);
    EXPECT_EQ(game.ReadFile("victim.txt"), (Bytes{'k', 'e', 'e', 'p'}));
    // Nothing of the save is left: only the link the other user planted, as it was.
    for (const std::string& name : SettingsLeftovers(game.Dir())) {
      EXPECT_TRUE(fs::is_symlink(game.Dir() / name)) << name;
    }
  }
}

TEST(HostileFiles, TheSaveSyncsTheNewFileBeforeTheRenameAndTheFolderAfter) {
  GameRun game;
  game.WriteFile("settings.cfg", kHighScoreFile);
  const fs::path log = game.Dir().parent_path() / (game.Dir().filename().string() + ".calls");
  const RunResult run =
      game.Run(LeaveThroughTheMenu(), 3000, {}, With({kShim, "FAULT_LOG=" + log.string()}));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string calls = Slurp(log);
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
  EXPECT_EQ(game.ReadFile("settings.cfg"), kHighScoreFile);
}

// Left behind by a run under another user (sudo), the file may hold a high score: only a
// missing file means "no settings".
TEST(HostileFiles, ASettingsFileThatCannotBeReadIsReportedAndKept) {
  GameRun game;
  game.WriteFile("settings.cfg", kHighScoreFile);
  fs::permissions(game.Dir() / "settings.cfg", fs::perms::none);
  // Root reads anything, so the shim refuses it as the system would refuse the player.
  const RunResult run =
      game.Run(LeaveThroughTheMenu(), 3000, {}, With({kShim, "FAULT_READ_EACCES=settings.cfg"}));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.err, "Settings not read: settings.cfg: Permission denied")) << run.err;
  EXPECT_TRUE(Has(run.err, "Settings not stored: settings.cfg: it could not be read at start"))
      << run.err;
  fs::permissions(game.Dir() / "settings.cfg", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(game.ReadFile("settings.cfg"), kHighScoreFile);
  EXPECT_TRUE(SettingsLeftovers(game.Dir()).empty());
}

TEST(HostileFiles, AFifoWhereAFileBelongsIsTakenAsMissingWithAMessage) {
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {"settings.cfg", "Settings not read: settings.cfg: not a regular file (a FIFO)"},
      {"Media.sbx", "Media.sbx: not a regular file (a FIFO); taken as missing"},
      {"font1.png", "font1.png: not a regular file (a FIFO); taken as missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameRun game;
    ASSERT_EQ(::mkfifo((game.Dir() / c.name).c_str(), 0600), 0);
    const RunResult run = game.Run(LeaveThroughTheMenu(), 3000, {}, kHangLimit);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.err, c.message)) << run.err;
    EXPECT_GE(run.FirstFrame("menu"), 0);
    EXPECT_EQ(fs::status(game.Dir() / c.name).type(), fs::file_type::fifo);
  }
}

// Music comes straight from the archive's memory: without a usable temporary folder the theme
// still plays, and a piece that cannot be played says so.
TEST(HostileFiles, MusicPlaysWithoutATemporaryFolderAndAMissingPieceIsReported) {
  if (!fs::exists(TUNDREL_MEDIA_ARCHIVE)) GTEST_SKIP() << "no Media.sbx built";
  GameRun game;
  fs::create_symlink(TUNDREL_MEDIA_ARCHIVE, game.Dir() / "Media.sbx");
  game.WriteFile("a-file", {1});
  for (const std::string tmp : {"missing", "a-file"}) {
    SCOPED_TRACE(tmp);
    const RunResult run =
        game.Run(LeaveThroughTheMenu(), 3000, {}, {"TMPDIR=" + (game.Dir() / tmp).string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_GE(run.FirstMusicEvent("play _theme.mp3 loop"), 0) << run.err;
  }

  GameRun without;
  const RunResult run = without.Run(LeaveThroughTheMenu());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_GE(run.FirstMusicEvent("fail _theme.mp3"), 0);
  EXPECT_TRUE(Has(run.err, "music _theme.mp3 not played: no such file")) << run.err;
}

}  // namespace
}  // namespace tundrel::testing
