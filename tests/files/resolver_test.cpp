#include "engine/files/resolver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "engine/files/archive_format.h"
#include "engine/files/archive_slots.h"
#include "engine/files/memory_files.h"
#include "engine/platform/paths.h"
#include "files/files_test_support.h"

namespace zrb::files {
namespace {

using namespace archive;
using namespace testing;

struct NamedBytes {
  std::string name;
  Bytes data;
};

Bytes BuildArchive(const std::vector<NamedBytes>& items, OffsetBase base = OffsetBase::kFileStart) {
  ArchiveBuilder builder;
  for (const auto& item : items)
    EXPECT_EQ(builder.Add(item.name, item.data), "");
  return builder.Finish(base);
}

// The size field of a "mem://" name, read the way every reader of those names does.
uint64_t SizeField(const std::string& memoryName) {
  return std::strtoull(memoryName.substr(6, 8).c_str(), nullptr, 16);
}

class Resolver : public ::testing::Test {
 protected:
  void SetUp() override { SetMediaArchive("Media.sbx", "Media.sbx"); }
  void TearDown() override { ReleaseArchiveSlots(); }

  testing::ScratchDir scratch_;
  std::string result_;
};

TEST_F(Resolver, TemporaryFileNameCarriesTwoLettersFromOffsetAndStoredSize) {
  EXPECT_EQ(TemporaryItemName({"a.wav", -1, 26}), "sbxVAa.wav") << "0xFF is 255, 255 mod 26 = 21";

  // Through the resolver: an item placed by hand at offset 0x1041.
  const Bytes blob = archive::CompressItem(TextBytes("music"));
  Bytes file(0x1041, 0xAA);
  file.insert(file.end(), blob.begin(), blob.end());
  const auto directory = static_cast<int64_t>(file.size());
  AppendEntry(file, "theme.mp3", 0x1041, static_cast<int64_t>(blob.size()));
  AppendTrailer(file, directory);
  WriteBytes("Media.sbx", file);
  ASSERT_TRUE(Resolve(ArchiveSlot::kSecondary, "theme.mp3", result_, false));
  const char storedLetter = static_cast<char>('A' + blob.size() % 26);
  EXPECT_EQ(result_, platform::TemporaryDirectory() + "sbxN" + storedLetter + "theme.mp3");
  EXPECT_EQ(ReadBytes(result_), TextBytes("music"));
}

TEST_F(Resolver, ArchiveAppendedToAnotherFileWorksWithOffsetsFromTheEnd) {
  const Bytes sprite = PatternBytes(9000, 4);
  const Bytes tune = PatternBytes(20000, 5);
  Bytes file = PatternBytes(50000, 6);  // an unrelated file, such as the program itself
  const Bytes appended =
      BuildArchive({{"sprite.png", sprite}, {"tune.mp3", tune}}, OffsetBase::kFileEnd);
  file.insert(file.end(), appended.begin(), appended.end());
  WriteBytes("game.bin", file);
  SetMediaArchive("game.bin", "game.bin");
  ASSERT_TRUE(Resolve(ArchiveSlot::kPrimary, "sprite.png", result_, true));
  EXPECT_EQ(ReadResolvedFile(result_), sprite);
  ASSERT_TRUE(Resolve(ArchiveSlot::kSecondary, "tune.mp3", result_, false));
  EXPECT_EQ(ReadBytes(result_), tune);
}

TEST_F(Resolver, NextLookupThroughASlotReleasesItsItem) {
  WriteBytes("Media.sbx", BuildArchive({{"a.png", TextBytes("aaaa")},
                                        {"b.png", TextBytes("bb")},
                                        {"song.mp3", TextBytes("la la")},
                                        {"other.mp3", TextBytes("dum")}}));
  const size_t published = PublishedMemoryFileCount();
  ASSERT_TRUE(Resolve(ArchiveSlot::kPrimary, "a.png", result_, true));
  const std::string first = result_;
  ASSERT_TRUE(Resolve(ArchiveSlot::kSecondary, "song.mp3", result_, false));
  const std::string firstTemporary = result_;
  EXPECT_NE(FindMemoryFile(first), nullptr) << "the other slot's lookup leaves it alone";

  ASSERT_TRUE(Resolve(ArchiveSlot::kPrimary, "b.png", result_, true));
  EXPECT_EQ(FindMemoryFile(first), nullptr);
  EXPECT_FALSE(ReadResolvedFile(first).has_value());
  EXPECT_EQ(ReadResolvedFile(result_), TextBytes("bb"));
  EXPECT_EQ(PublishedMemoryFileCount(), published + 1);
  EXPECT_TRUE(std::filesystem::exists(firstTemporary));

  ASSERT_TRUE(Resolve(ArchiveSlot::kSecondary, "other.mp3", result_, false));
  EXPECT_FALSE(std::filesystem::exists(firstTemporary));
  EXPECT_EQ(scratch_.TmpFiles().size(), 1u);

  // A lookup that ends on disk releases as well, and so does naming the archive again.
  ASSERT_TRUE(Resolve(ArchiveSlot::kSecondary, "Media.sbx", result_, false));
  EXPECT_TRUE(scratch_.TmpFiles().empty());
  ASSERT_TRUE(Resolve(ArchiveSlot::kPrimary, "a.png", result_, true));
  SetMediaArchive("Media.sbx", "Media.sbx");
  EXPECT_EQ(FindMemoryFile(result_), nullptr);
  EXPECT_EQ(PublishedMemoryFileCount(), published);

  ASSERT_TRUE(Resolve(ArchiveSlot::kSecondary, "song.mp3", result_, false));
  ReleaseArchiveSlots();
  EXPECT_TRUE(scratch_.TmpFiles().empty());
}

TEST_F(Resolver, UnusableArchiveDisablesTheSlotUntilNamedAgain) {
  const Bytes good = BuildArchive({{"player.png", TextBytes("png")}});
  for (const Bytes& bad : {TextBytes("no trailer at all here"), Bytes{}}) {
    WriteBytes("Media.sbx", bad);
    if (bad.empty()) std::filesystem::remove("Media.sbx");  // cannot be opened
    SetMediaArchive("Media.sbx", "Media.sbx");
    EXPECT_FALSE(Resolve(ArchiveSlot::kPrimary, "gfx/player.png", result_, true));
    EXPECT_EQ(result_, "gfx/player.png") << "the result keeps the name";
    WriteBytes("Media.sbx", good);
    EXPECT_FALSE(Resolve(ArchiveSlot::kPrimary, "player.png", result_, true))
        << "a disabled slot does not look at the archive again";
    EXPECT_TRUE(Resolve(ArchiveSlot::kSecondary, "player.png", result_, false))
        << "the other slot was not disabled";
    SetMediaArchive("Media.sbx", "Media.sbx");
    EXPECT_TRUE(Resolve(ArchiveSlot::kPrimary, "player.png", result_, true));
  }
  SetMediaArchive("", "");
  EXPECT_FALSE(Resolve(ArchiveSlot::kPrimary, "player.png", result_, true));
  SetMediaArchive("Media.sbx", "");
  EXPECT_TRUE(Resolve(ArchiveSlot::kPrimary, "player.png", result_, true));
}

TEST_F(Resolver, MissingEntryOrShortArchiveGivesEmptyResultAndKeepsTheSlot) {
  WriteBytes("Media.sbx", BuildArchive({{"player.png", TextBytes("png")}}));
  EXPECT_FALSE(Resolve(ArchiveSlot::kPrimary, "enemy.png", result_, true));
  EXPECT_EQ(result_, "");
  EXPECT_FALSE(Resolve(ArchiveSlot::kPrimary, "gfx/", result_, true));
  EXPECT_TRUE(Resolve(ArchiveSlot::kPrimary, "player.png", result_, true));

  WriteBytes("Media.sbx", TextBytes("sbX"));  // shorter than a trailer
  EXPECT_FALSE(Resolve(ArchiveSlot::kPrimary, "player.png", result_, true));
  EXPECT_EQ(result_, "");
  WriteBytes("Media.sbx", BuildArchive({{"player.png", TextBytes("png")}}));
  EXPECT_TRUE(Resolve(ArchiveSlot::kPrimary, "player.png", result_, true));
}

// Damaged archives: each case is a whole archive file holding an item "x.wav". Which damage
// makes which fault of an item is archive_format_test's; here, what the resolver hands out.
enum class Outcome {
  kEmptyItem,     // the entry can be read, so the item comes out as an empty file
  kNoEntry,       // the directory yields no such entry: empty result
  kNotAnArchive,  // the trailer is gone: the slot is disabled and the result keeps the name
};

struct DamageCase {
  const char* what;
  Outcome outcome;
  Bytes archive;
};

std::vector<DamageCase> DamageCases() {
  const Bytes blob = archive::CompressItem(PatternBytes(3000, 9));
  const auto stored = static_cast<int64_t>(blob.size());
  const auto withEntry = [&](int64_t offset, int64_t size, Bytes items) {
    const auto directory = static_cast<int64_t>(items.size());
    AppendEntry(items, "x.wav", offset, size);
    AppendTrailer(items, directory);
    return items;
  };
  Bytes absurd = blob;
  absurd[3] = 0x7F;  // claims about 2 GiB
  Bytes truncated = withEntry(0, stored, blob);
  truncated.resize(truncated.size() - 3);
  return {
      {"offset past the end", Outcome::kEmptyItem, withEntry(stored * 3, stored, blob)},
      {"absurd uncompressed size", Outcome::kEmptyItem, withEntry(0, stored, absurd)},
      {"directory offset outside the file", Outcome::kNoEntry,
       [&] {
         Bytes b = withEntry(0, stored, blob);
         b[b.size() - 1] = 0x40;
         return b;
       }()},
      {"truncated archive", Outcome::kNotAnArchive, truncated},
  };
}

TEST_F(Resolver, DamagedArchivesGiveEmptyFilesOrNothingAndLeaveNoTemporaryFile) {
  for (const DamageCase& damage : DamageCases()) {
    SCOPED_TRACE(damage.what);
    WriteBytes("Media.sbx", damage.archive);
    SetMediaArchive("Media.sbx", "Media.sbx");
    const bool found = damage.outcome == Outcome::kEmptyItem;
    EXPECT_EQ(Resolve(ArchiveSlot::kPrimary, "x.wav", result_, true), found);
    if (found) {
      EXPECT_TRUE(result_.starts_with("mem://"));
      EXPECT_EQ(SizeField(result_), 0u);
      EXPECT_EQ(ReadResolvedFile(result_), Bytes{});
    } else {
      EXPECT_EQ(result_, damage.outcome == Outcome::kNoEntry ? "" : "x.wav");
    }
    EXPECT_EQ(Resolve(ArchiveSlot::kSecondary, "x.wav", result_, false), found);
    if (found) {
      EXPECT_EQ(ReadBytes(result_), Bytes{});
    }
    ReleaseArchiveSlots();
    EXPECT_TRUE(scratch_.TmpFiles().empty());
  }
}

TEST_F(Resolver, TemporaryFileReplacesWhatLiesAtItsPathWithoutFollowingLinks) {
  WriteBytes("Media.sbx", BuildArchive({{"theme.mp3", TextBytes("tune")}}));
  ASSERT_TRUE(Resolve(ArchiveSlot::kSecondary, "theme.mp3", result_, false));
  const std::string path = result_;
  ReleaseArchiveSlots();
  WriteBytes("victim.txt", TextBytes("keep me"));
  std::filesystem::create_symlink(scratch_.Root() / "victim.txt", path);
  ASSERT_TRUE(Resolve(ArchiveSlot::kSecondary, "theme.mp3", result_, false));
  EXPECT_EQ(result_, path);
  EXPECT_FALSE(std::filesystem::is_symlink(path));
  EXPECT_EQ(ReadBytes(path), TextBytes("tune"));
  EXPECT_EQ(ReadBytes("victim.txt"), TextBytes("keep me"));
}

TEST_F(Resolver, UnwritableTemporaryFolderAnswersNothing) {
  WriteBytes("Media.sbx", BuildArchive({{"theme.mp3", TextBytes("tune")}}));
  ::setenv("TMPDIR", (scratch_.Root() / "missing").c_str(), 1);
  EXPECT_FALSE(Resolve(ArchiveSlot::kSecondary, "theme.mp3", result_, false));
  EXPECT_EQ(result_, "");
  EXPECT_TRUE(Resolve(ArchiveSlot::kPrimary, "theme.mp3", result_, true));
}

}  // namespace
}  // namespace zrb::files
