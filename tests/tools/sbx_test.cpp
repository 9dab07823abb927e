// Runs the real sbx program on real files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "engine/files/archive_format.h"
#include "engine/files/resolver.h"
#include "files/files_test_support.h"

namespace {

using namespace zrb::testing;

struct SbxRun {
  int status = -1;
  std::string out;
  std::string err;
};

SbxRun Sbx(const std::string& arguments, const std::string& environment = "") {
  const std::string command =
      environment + " " + SBX_BINARY + " " + arguments + " >sbx.out 2>sbx.err </dev/null";
  const int raw = std::system(command.c_str());
  const Bytes out = ReadBytes("sbx.out"), err = ReadBytes("sbx.err");
  return {
      WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, {out.begin(), out.end()}, {err.begin(), err.end()}};
}

class SbxTool : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes("in/gfx/player.png", player_);
    WriteBytes("in/theme.mp3", theme_);
    WriteBytes("in/empty.cfg", {});
  }
  void TearDown() override { zrb::files::ReleaseArchiveSlots(); }

  const std::string inputs_ = "in/gfx/player.png in/theme.mp3 in/empty.cfg";
  const Bytes player_ = PatternBytes(300000, 11);
  const Bytes theme_ = PatternBytes(70001, 12);
  zrb::testing::ScratchDir scratch_;
};

TEST_F(SbxTool, VerifyReportsDamagedItemsAndBadArchives) {
  ASSERT_EQ(Sbx("pack Media.sbx in/theme.mp3 in/empty.cfg").status, 0);
  const SbxRun good = Sbx("verify Media.sbx");
  EXPECT_EQ(good.status, 0) << good.err;
  EXPECT_NE(good.out.find("2 items, 0 damaged"), std::string::npos) << good.out;

  Bytes archive = ReadBytes("Media.sbx");
  archive[0] ^= 0x01;  // theme.mp3's header now claims another size
  WriteBytes("damaged.sbx", archive);
  const SbxRun damaged = Sbx("verify damaged.sbx");
  EXPECT_EQ(damaged.status, 1);
  EXPECT_NE(damaged.out.find("damaged theme.mp3"), std::string::npos) << damaged.out;
  EXPECT_EQ(damaged.out.find("damaged empty.cfg"), std::string::npos) << damaged.out;
  EXPECT_EQ(Sbx("extract damaged.sbx theme.mp3 -o out").status, 1);
  EXPECT_FALSE(std::filesystem::exists("out/theme.mp3"));

  archive = ReadBytes("Media.sbx");
  archive.resize(archive.size() / 2);
  WriteBytes("truncated.sbx", archive);
  for (const char* command : {"verify", "list", "extract"}) {
    const SbxRun run = Sbx(std::string(command) + " truncated.sbx");
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.err.find("not an archive"), std::string::npos) << run.err;
  }

  archive = ReadBytes("Media.sbx");
  archive[archive.size() - 1] = 0x20;  // directory offset far beyond the end
  WriteBytes("pointing-out.sbx", archive);
  const SbxRun outside = Sbx("verify pointing-out.sbx");
  EXPECT_EQ(outside.status, 1);
  EXPECT_NE(outside.err.find("points outside the file"), std::string::npos) << outside.err;
  EXPECT_EQ(Sbx("list missing.sbx").status, 1);
}

// Inputs a pack refuses (missing, too large for an item, two names the game could not tell
// apart, a folder) leave the old archive; another user of a shared folder plants a link where
// an output's temporary file goes (the shim, tests/support/fault_shim.c); stored names that
// hold a folder, or would drive the terminal or forge a line of the listing.
TEST_F(SbxTool, HostileInputsAndSurroundingsNeitherRedirectNorExhaustNorDriveTheTerminal) {
  const Bytes blob = zrb::files::archive::CompressItem(TextBytes("item"));
  Bytes archive = blob;
  const auto size = static_cast<int64_t>(blob.size());
  AppendEntry(archive, "\x1b[2Jclear", 0, size);
  AppendEntry(archive, "forged\n          0           0           0  line", 0, size);
  AppendEntry(archive, "../escaped.txt", 0, size);
  AppendEntry(archive, "fine.txt", 0, size);
  AppendTrailer(archive, size);
  WriteBytes("names.sbx", archive);
  WriteBytes("in/other/THEME.MP3", TextBytes("x"));
  ASSERT_EQ(Sbx("pack Media.sbx in/theme.mp3").status, 0);
  const Bytes before = ReadBytes("Media.sbx");
  WriteBytes("in/huge.bin", {});
  std::filesystem::resize_file("in/huge.bin", (uintmax_t{256} << 20) + 1);  // sparse
  const std::string plant = "LD_PRELOAD=" FAULT_SHIM " FAULT_PLANT_LINK=";
  const struct {
    const char* arguments;
    std::string environment;
    int status;
    const char* shown;  // on standard output or error
  } cases[] = {
      {"pack Media.sbx in/theme.mp3", plant + "Media.sbx.:victim", 0, ""},
      {"extract names.sbx fine.txt -o out", plant + "fine.txt.:../victim", 0, ""},
      {"pack Media.sbx in/empty.cfg in/huge.bin", "", 1, "in/huge.bin: larger than 256 MiB"},
      {"pack Media.sbx in/empty.cfg in/absent.png", "", 1, "cannot read in/absent.png"},
      {"pack Media.sbx in/theme.mp3 in/other/THEME.MP3", "", 1, "share the name"},
      {"pack Media.sbx in", "", 1, "cannot read in"},
      {"extract names.sbx -o out/deeper", "", 1, "skipped an item with an unsafe name"},
      {"list names.sbx", "", 0, "  \\x1b[2Jclear\n"},
      {"list names.sbx", "", 0, "  forged\\n          0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    WriteBytes("victim", TextBytes("keep"));
    const SbxRun run = Sbx(c.arguments, c.environment);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE((run.out + run.err).find(c.shown), std::string::npos) << run.out << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(ReadBytes("victim"), TextBytes("keep"));
    EXPECT_TRUE(c.status == 0 || ReadBytes("Media.sbx") == before) << "a refused pack wrote";
  }
  EXPECT_EQ(ReadBytes("out/fine.txt"), TextBytes("item"));
  EXPECT_EQ(ReadBytes("out/deeper/fine.txt"), TextBytes("item"));
  EXPECT_FALSE(std::filesystem::exists("out/escaped.txt"));
  EXPECT_EQ(Sbx("verify Media.sbx").status, 0);
}

}  // namespace
