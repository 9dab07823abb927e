// The careful file operations on real files: what each makes of whatever lies at the name,
// what a save killed half-way leaves for the next one, and the log in a temporary folder
// shared with other users, where another user's link or FIFO at its name neither receives the
// lines nor blocks the program.
#include "engine/platform/file_access.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "engine/platform/log_file.h"
#include "support/scratch_dir.h"
#include "support/temp_folder.h"

namespace zrb::platform {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Names SortedNames(const fs::path& folder) {
  Names names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

TEST(FileAccess, WhatLiesAtTheNameDecidesWhatEachOperationDoes) {
  testing::TempFolder dir;
  dir.Write("file", {'o', 'l', 'd'});
  ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  fs::create_directory(dir.Path("folder"));
  fs::create_symlink(dir.Path("file"), dir.Path("link"));
  fs::create_symlink(dir.Path("nowhere"), dir.Path("dangling"));
  const struct {
    const char* name;
    OpenOutcome read;
    bool replaced;          // ReplaceFile puts the new bytes there
    CreateOutcome created;  // CreateNewFile
  } cases[] = {
      {"missing", OpenOutcome::kMissing, true, CreateOutcome::kCreated},
      {"file", OpenOutcome::kOpened, true, CreateOutcome::kNameTaken},
      {"fifo", OpenOutcome::kNotRegularFile, false, CreateOutcome::kNameTaken},
      {"folder", OpenOutcome::kNotRegularFile, false, CreateOutcome::kNameTaken},
      {"link", OpenOutcome::kOpened, true, CreateOutcome::kNameTaken},
      {"dangling", OpenOutcome::kMissing, true, CreateOutcome::kNameTaken},
  };
  const std::vector<uint8_t> picture = {'n', 'e', 'w'};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(OpenRegularFile(dir.Path(c.name)).outcome, c.read);
    std::string problem;
    EXPECT_EQ(CreateNewFile(dir.Path(c.name), picture, &problem), c.created);
    if (c.created == CreateOutcome::kCreated) {
      EXPECT_EQ(Read(dir.Path(c.name)), "new");
      fs::remove(dir.Path(c.name));
    }
    EXPECT_EQ(ReplaceFile(dir.Path(c.name), picture, &problem), c.replaced) << problem;
    if (c.replaced) {
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.Path(c.name))))
          << "not the link's target";
      EXPECT_EQ(Read(dir.Path(c.name)), "new");
    }
  }
  // A link is replaced, never written through; a dangling one never creates its target.
  EXPECT_EQ(fs::status(dir.Path("fifo")).type(), fs::file_type::fifo);
  EXPECT_EQ(SortedNames(dir.Path("")),
            (Names{"dangling", "fifo", "file", "folder", "link", "missing"}));
}

// A save killed half-way leaves its temporary file; the next save takes it away, but never the
// file of a save still running (it holds a lock) nor anything that is not a file of its own.
TEST(FileAccess, TheNextSaveRemovesWhatAKilledSaveLeft) {
  testing::TempFolder dir;
  dir.Write("settings.cfg.new-Ab3dE9", {'k'});
  dir.Write("settings.cfg.new-Zz0000", {'r'});
  dir.Write("settings.cfg.new", {'s'});
  fs::create_symlink(dir.Path("settings.cfg"), dir.Path("settings.cfg.new-Link00"));
  const int running = ::open(dir.Path("settings.cfg.new-Zz0000").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(running, LOCK_EX), 0);
  std::string problem;
  ASSERT_TRUE(ReplaceFile(dir.Path("settings.cfg"), std::vector<uint8_t>{1, 2}, &problem))
      << problem;
  ::close(running);
  EXPECT_EQ(SortedNames(dir.Path("")),
            (Names{"settings.cfg", "settings.cfg.new", "settings.cfg.new-Link00",
                   "settings.cfg.new-Zz0000"}));
}

TEST(HostileLog, ALinkOrAFifoAtTheLogsNameGetsNoLinesAndDoesNotBlock) {
  for (const bool fifo : {false, true}) {
    SCOPED_TRACE(fifo ? "a FIFO" : "a link");
    testing::ScratchDir scratch;  // the temporary folder the log goes to
    const fs::path usual = scratch.Tmp() / "ErrorLog.txt";
    const fs::path victim = scratch.Tmp() / "victim.txt";
    std::ofstream(victim) << "keep";
    ASSERT_EQ(fifo ? ::mkfifo(usual.c_str(), 0600) : ::symlink(victim.c_str(), usual.c_str()), 0);
    auto appended = std::async(std::launch::async, [] {
      return AppendLogLine("Init GFX") && AppendLogLine("Init Finalized");
    });
    if (appended.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      // Give the blocked writer a reader, so that the test ends and reports it.
      const int reader = ::open(usual.c_str(), O_RDONLY | O_NONBLOCK);
      appended.wait();
      ::close(reader);
      ADD_FAILURE() << "writing the log blocked";
    }
    EXPECT_TRUE(appended.get());
    EXPECT_EQ(Read(victim), "keep");
    EXPECT_EQ(fs::symlink_status(usual).type(),
              fifo ? fs::file_type::fifo : fs::file_type::symlink);
    // The lines went to one fresh log of the player's own beside the usual name.
    EXPECT_EQ(scratch.TmpFiles().size(), 3u);
    EXPECT_EQ(Read(scratch.Tmp() / fs::path(LogFilePath()).filename()),
              "Init GFX\r\nInit Finalized\r\n");
    DeleteLogFile();  // back to the usual name for whatever runs next in this process
  }
}

}  // namespace
}  // namespace zrb::platform
