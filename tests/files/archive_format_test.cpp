#include "engine/files/archive_format.h"

#include <gtest/gtest.h>
#include <lzo/lzo1x.h>

#include "files/files_test_support.h"

namespace zrb::files::archive {
namespace {

using namespace testing;

MemorySource SourceOf(const Bytes& bytes) {
  return MemorySource(std::make_shared<const Bytes>(bytes));
}

int64_t Le32At(const Bytes& bytes, size_t at) {
  return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                              static_cast<uint32_t>(bytes[at + 3]) << 24);
}

std::vector<DirectoryEntry> AllEntries(const Bytes& archive, bool* cutShort = nullptr) {
  MemorySource source = SourceOf(archive);
  Layout layout;
  std::vector<DirectoryEntry> entries;
  if (ReadTrailer(source, layout) != TrailerStatus::kFound) return entries;
  DirectoryReader reader(source, layout);
  while (auto entry = reader.Next())
    entries.push_back(*entry);
  if (cutShort) *cutShort = reader.CutShort();
  return entries;
}

// One item "a.bin" stored by hand: blob at `offset`, entry, trailer.
Bytes OneItemArchive(const Bytes& blob, int64_t offsetInEntry, int64_t storedInEntry) {
  Bytes archive = blob;
  const auto directory = static_cast<int64_t>(archive.size());
  AppendEntry(archive, "a.bin", offsetInEntry, storedInEntry);
  archive.push_back(0);
  AppendTrailer(archive, directory);
  return archive;
}

Item ReadOnlyItem(const Bytes& archive) {
  MemorySource source = SourceOf(archive);
  Layout layout;
  EXPECT_EQ(ReadTrailer(source, layout), TrailerStatus::kFound);
  const auto entry = FindEntry(source, layout, "a.bin");
  EXPECT_TRUE(entry.has_value());
  return entry ? ReadItem(source, layout, *entry) : Item{};
}

TEST(ArchiveFormat, BuilderLaysOutBlobsDirectoryAndTrailer) {
  const Bytes first = PatternBytes(5000, 1);
  const Bytes second = TextBytes("second item");
  for (const OffsetBase base : {OffsetBase::kFileStart, OffsetBase::kFileEnd}) {
    ArchiveBuilder builder;
    ASSERT_EQ(builder.Add("first.png", first), "");
    ASSERT_EQ(builder.Add("Second.WAV", second), "");
    const Bytes archive = builder.Finish(base);
    const auto size = static_cast<int64_t>(archive.size());
    const int64_t shift = base == OffsetBase::kFileEnd ? size : 0;

    // Walk the bytes by hand rather than with the reader under test.
    ASSERT_EQ(std::string(archive.end() - 7, archive.end() - 4), "sbX");
    const int64_t directory = Le32At(archive, archive.size() - 4) + shift;
    size_t at = static_cast<size_t>(directory);
    std::vector<DirectoryEntry> entries;
    while (archive[at] != 0) {
      const size_t length = archive[at];
      std::string name(archive.begin() + at + 1, archive.begin() + at + 1 + length);
      const int64_t offset = Le32At(archive, at + 1 + length) + shift;
      const int64_t stored = Le32At(archive, at + 5 + length);
      entries.push_back({name, static_cast<int32_t>(offset), static_cast<int32_t>(stored)});
      // A blob is the item's size, 32 bits little-endian, then its LZO1X stream.
      const Bytes& original = name == "first.png" ? first : second;
      ASSERT_EQ(Le32At(archive, static_cast<size_t>(offset)), std::ssize(original));
      Bytes unpacked(original.size());
      lzo_uint unpackedLength = unpacked.size();
      ASSERT_EQ(lzo1x_decompress_safe(&archive[static_cast<size_t>(offset) + 4],
                                      static_cast<lzo_uint>(stored - 4), unpacked.data(),
                                      &unpackedLength, nullptr),
                LZO_E_OK);
      EXPECT_EQ(unpacked, original);
      at += 9 + length;
    }
    EXPECT_EQ(at + 1, archive.size() - 7) << "a zero byte ends the directory, then the trailer";
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "first.png");
    EXPECT_EQ(entries[0].offset, 0);
    EXPECT_EQ(entries[1].name, "Second.WAV");
    EXPECT_EQ(entries[1].offset, entries[0].storedSize) << "the second blob follows the first";
    EXPECT_EQ(directory, entries[1].offset + entries[1].storedSize);
  }
}

TEST(ArchiveFormat, BuilderRefusesNamesThatCannotBeStoredOrFound) {
  ArchiveBuilder builder;
  const Bytes data = TextBytes("x");
  for (const std::string& bad :
       {std::string(), std::string(256, 'n'), std::string("gfx/a.png"), std::string("gfx\\a.png"),
        std::string(".."), std::string("a\0b", 3)})
    EXPECT_NE(builder.Add(bad, data), "") << bad;
  EXPECT_EQ(builder.Add(std::string(255, 'n'), data), "");
  EXPECT_EQ(builder.Add("Player.png", data), "");
  EXPECT_NE(builder.Add("player.PNG", data), "") << "a second player.png could never be found";
  EXPECT_EQ(builder.ItemCount(), 2u);
}

TEST(ArchiveFormat, ItemsSurviveCompressionWhateverTheirContent) {
  const Bytes zeros(4u << 20, 0);  // compresses about as far as LZO1X goes
  for (const Bytes& data : {Bytes{}, Bytes{42}, PatternBytes(300000, 3), zeros}) {
    const Bytes blob = CompressItem(data);
    ASSERT_GE(blob.size(), 4u);
    const Item item = DecompressItem(blob);
    EXPECT_EQ(item.fault, ItemFault::kNone) << data.size();
    EXPECT_EQ(item.data, data);
  }
}

TEST(ArchiveFormat, NamesCompareByFinalComponentIgnoringAsciiCase) {
  EXPECT_EQ(FinalComponent("gfx/Player.PNG"), "Player.PNG");
  EXPECT_EQ(FinalComponent("a\\b/c\\theme.mp3"), "theme.mp3");
  EXPECT_EQ(FinalComponent("plain.wav"), "plain.wav");
  EXPECT_EQ(FinalComponent("gfx/"), "");
  EXPECT_TRUE(NamesMatch("Player.PNG", "player.png"));
  EXPECT_FALSE(NamesMatch("player.png", "player.pn"));
  EXPECT_FALSE(NamesMatch("\xC4.png", "\xE4.png")) << "only ASCII letters fold";
}

TEST(ArchiveFormat, FirstMatchingEntryWins) {
  Bytes archive = CompressItem(TextBytes("first"));
  const auto secondAt = static_cast<int64_t>(archive.size());
  const Bytes second = CompressItem(TextBytes("second"));
  archive.insert(archive.end(), second.begin(), second.end());
  const auto directory = static_cast<int64_t>(archive.size());
  AppendEntry(archive, "same.txt", 0, secondAt);
  AppendEntry(archive, "SAME.TXT", secondAt, static_cast<int64_t>(second.size()));
  AppendTrailer(archive, directory);  // no zero byte: the trailer ends the directory too
  MemorySource source = SourceOf(archive);
  Layout layout;
  ASSERT_EQ(ReadTrailer(source, layout), TrailerStatus::kFound);
  const auto entry = FindEntry(source, layout, "Same.Txt");
  ASSERT_TRUE(entry);
  EXPECT_EQ(ReadItem(source, layout, *entry).data, TextBytes("first"));
  bool cutShort = true;
  EXPECT_EQ(AllEntries(archive, &cutShort).size(), 2u);
  EXPECT_FALSE(cutShort);
}

TEST(ArchiveFormat, TruncatedArchivesNeverYieldWrongData) {
  ArchiveBuilder builder;
  const Bytes data = PatternBytes(3000, 5);
  ASSERT_EQ(builder.Add("a.bin", data), "");
  ASSERT_EQ(builder.Add("b.bin", TextBytes("bee")), "");
  const Bytes whole = builder.Finish(OffsetBase::kFileStart);
  for (size_t length = 0; length < whole.size(); ++length) {
    Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    MemorySource source = SourceOf(cut);
    Layout layout;
    if (ReadTrailer(source, layout) != TrailerStatus::kFound) continue;
    DirectoryReader reader(source, layout);
    while (auto entry = reader.Next()) {
      const Item item = ReadItem(source, layout, *entry);
      if (item.fault == ItemFault::kNone) {
        EXPECT_EQ(item.data, entry->name == "a.bin" ? data : TextBytes("bee"));
      } else {
        EXPECT_TRUE(item.data.empty());
      }
    }
  }
}

TEST(ArchiveFormat, WalkThatStopsInsideAnEntryIsCutShort) {
  const Bytes blob = CompressItem(TextBytes("data"));
  Bytes archive = blob;
  AppendTrailer(archive, -1000000);
  bool cutShort = false;
  EXPECT_TRUE(AllEntries(archive, &cutShort).empty());
  EXPECT_TRUE(cutShort) << "directory offset outside the file";

  archive = blob;
  const auto directory = static_cast<int64_t>(archive.size());
  AppendEntry(archive, "good.bin", 0, static_cast<int64_t>(blob.size()));
  archive.insert(archive.end(), {200, 'b', 'a', 'd'});  // a name running past the end
  AppendTrailer(archive, directory);
  const auto entries = AllEntries(archive, &cutShort);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "good.bin");
  EXPECT_TRUE(cutShort);
}

TEST(ArchiveFormat, DamagedItemsComeOutEmptyWithTheirFault) {
  const Bytes blob = CompressItem(TextBytes("data"));
  const auto size = static_cast<int64_t>(blob.size());
  EXPECT_EQ(ReadOnlyItem(OneItemArchive(blob, 0, size)).data, TextBytes("data"));
  EXPECT_EQ(ReadOnlyItem(OneItemArchive(blob, 1, INT32_MAX)).fault, ItemFault::kOutsideFile);
  EXPECT_EQ(ReadOnlyItem(OneItemArchive(blob, 0, -5)).fault, ItemFault::kTooSmall);

  const auto withClaim = [&](uint32_t claim) {
    Bytes changed = blob;
    for (int i = 0; i < 4; ++i)
      changed[i] = static_cast<uint8_t>(claim >> (8 * i));
    return changed;
  };
  EXPECT_EQ(DecompressItem(withClaim(kMaxItemSize + 1)).fault, ItemFault::kTooLarge);
  // Within the cap, but more than the few compressed bytes could ever unpack to.
  EXPECT_EQ(DecompressItem(withClaim(100000)).fault, ItemFault::kTooLarge);
  EXPECT_EQ(DecompressItem(withClaim(5)).fault, ItemFault::kWrongLength);
  EXPECT_EQ(DecompressItem(withClaim(3)).fault, ItemFault::kUndecodable);
  Bytes trailingJunk = blob;
  trailingJunk.push_back(0x55);
  EXPECT_EQ(DecompressItem(trailingJunk).fault, ItemFault::kUndecodable);
  const Item absurd = ReadOnlyItem(OneItemArchive(withClaim(0xFFFFFFFFu), 0, size));
  EXPECT_EQ(absurd.fault, ItemFault::kTooLarge);
  EXPECT_TRUE(absurd.data.empty());
}

}  // namespace
}  // namespace zrb::files::archive
