// The careful file operations on real files: what each makes of whatever lies at the name,
// and what a save killed half-way leaves for the next one.
#include "engine/platform/file_access.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zrb::platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class FileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/fileaccessXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string At(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(FileAccess, WhatLiesAtTheNameDecidesWhatEachOperationDoes) {
  Write("file", "old");
  ASSERT_EQ(::mkfifo(At("fifo").c_str(), 0600), 0);
  fs::create_directory(dir_ / "folder");
  fs::create_symlink(dir_ / "file", dir_ / "link");
  fs::create_symlink(dir_ / "nowhere", dir_ / "dangling");
  const Bytes picture = {'n', 'e', 'w'};
  struct Case {
    const char* name;
    OpenOutcome read;
    bool replaced;          // ReplaceFile puts the new bytes there
    CreateOutcome created;  // CreateNewFile
  };
  const Case cases[] = {
      {"missing", OpenOutcome::kMissing, true, CreateOutcome::kCreated},
      {"file", OpenOutcome::kOpened, true, CreateOutcome::kNameTaken},
      {"fifo", OpenOutcome::kNotRegularFile, false, CreateOutcome::kNameTaken},
      {"folder", OpenOutcome::kNotRegularFile, false, CreateOutcome::kNameTaken},
      {"link", OpenOutcome::kOpened, true, CreateOutcome::kNameTaken},
      {"dangling", OpenOutcome::kMissing, true, CreateOutcome::kNameTaken},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(OpenRegularFile(At(c.name)).outcome, c.read);
    std::string problem;
    if (c.created == CreateOutcome::kCreated) {
      EXPECT_EQ(CreateNewFile(At(c.name), picture, &problem), CreateOutcome::kCreated);
      EXPECT_EQ(Read(c.name), "new");
      fs::remove(dir_ / c.name);
    } else {
      EXPECT_EQ(CreateNewFile(At(c.name), picture, &problem), c.created);
    }
    EXPECT_EQ(ReplaceFile(At(c.name), picture, &problem), c.replaced) << problem;
    if (c.replaced) {
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir_ / c.name)))
          << "not the link's target";
      EXPECT_EQ(Read(c.name), "new");
    }
  }
  // A link is replaced, never written through; a dangling one never creates its target.
  EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
  EXPECT_EQ(fs::status(dir_ / "fifo").type(), fs::file_type::fifo);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"dangling", "fifo", "file", "folder", "link", "missing"}));
}

// A save killed half-way leaves its temporary file; the next save takes it away, but never the
// file of a save still running (it holds a lock) nor anything that is not a file of its own.
TEST_F(FileAccess, TheNextSaveRemovesWhatAKilledSaveLeft) {
  Write("settings.cfg.new-Ab3dE9", "killed");
  Write("settings.cfg.new-Zz0000", "running");
  Write("settings.cfg.new", "someone's");
  fs::create_symlink(dir_ / "settings.cfg", dir_ / "settings.cfg.new-Link00");
  const int running = ::open(At("settings.cfg.new-Zz0000").c_str(), O_RDONLY);
  ASSERT_GE(running, 0);
  ASSERT_EQ(::flock(running, LOCK_EX), 0);
  std::string problem;
  ASSERT_TRUE(ReplaceFile(At("settings.cfg"), Bytes{1, 2}, &problem)) << problem;
  ::close(running);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"settings.cfg", "settings.cfg.new", "settings.cfg.new-Link00",
                                      "settings.cfg.new-Zz0000"}));
}

}  // namespace
}  // namespace zrb::platform
