#include "engine/files/file_channels.h"

#include <gtest/gtest.h>

#include <limits>

#include "engine/files/archive_format.h"
#include "engine/files/resolver.h"
#include "engine/values/runtime_error.h"
#include "files/files_test_support.h"
#include "support/fatal_trap.h"

namespace zrb {
namespace {

using namespace testing;

class FileChannels : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRuntimeErrorRecord();
    SetMediaArchive("Media.sbx", "Media.sbx");
  }
  void TearDown() override {
    files::CloseAllFileChannels();
    files::ReleaseArchiveSlots();
  }

  void PackArchive(std::string_view name, const Bytes& data) {
    files::archive::ArchiveBuilder builder;
    ASSERT_EQ(builder.Add(name, data), "");
    WriteBytes("Media.sbx", builder.Finish(files::archive::OffsetBase::kFileStart));
  }

  testing::ScratchDir scratch_;
};

TEST_F(FileChannels, ValuesReadLittleEndianWithTheirSignRule) {
  const Bytes bytes = {0xFF, 0xFF,                                      // byte, unsigned byte
                       0xFF, 0xFF, 0xFF, 0xFF,                          // word, unsigned word
                       0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF,  // long 0x12345678, -2
                       0xFF, 0xFF, 0xFF, 0xFF,                          // unsigned long
                       0,    0,    0,    0,    0,    0,    0xF8, 0x3F,  // double 1.5
                       0,    0,    0xC0, 0xBF};                         // single -1.5
  WriteBytes("values.bin", bytes);
  ASSERT_EQ(OpenFile(2, "values.bin", kOpenForRead), 1);
  EXPECT_EQ(FileSize(2), static_cast<int32_t>(bytes.size()));
  const std::pair<void (*)(int32_t, int32_t&), int32_t> wholes[] = {
      {ReadByte, -1},         {ReadUByte, 255}, {ReadWord, -1}, {ReadUWord, 65535},
      {ReadLong, 0x12345678}, {ReadLong, -2},   {ReadULong, -1}};
  for (const auto& [read, expected] : wholes) {
    int32_t whole = 0;
    read(2, whole);
    EXPECT_EQ(whole, expected) << FilePosition(2);
  }
  double real = 0;
  ReadIEEE(2, real);
  EXPECT_EQ(real, 1.5);
  ReadShortIEEE(2, real);
  EXPECT_EQ(real, -1.5);
  EXPECT_EQ(FilePosition(2), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(RuntimeError().code, kErrorSuccess);
}

TEST_F(FileChannels, ValuesWriteLittleEndianKeepingTheLowBits) {
  ASSERT_EQ(OpenFile(1, "out.bin", kOpenForWrite), 1);
  WriteLong(1, -2);
  WriteByte(1, 300);
  WriteUByte(1, -1);
  WriteWord(1, 0x12345);
  WriteUWord(1, 65535);
  WriteULong(1, 0x01020304);
  WriteIEEE(1, -0.5);
  WriteShortIEEE(1, 0.25);
  WriteShortIEEE(1, -1e300);
  WriteShortIEEE(1, std::numeric_limits<double>::quiet_NaN());
  WriteString(1, "ab");
  WriteLine(1, "c");
  CloseFile(1);
  const Bytes expected = {0xFE, 0xFF, 0xFF, 0xFF, 0x2C, 0xFF, 0x45, 0x23, 0xFF, 0xFF,
                          0x04, 0x03, 0x02, 0x01, 0,    0,    0,    0,    0,    0,
                          0xE0, 0xBF, 0,    0,    0x80, 0x3E, 0,    0,    0x80, 0xFF,
                          0,    0,    0xC0, 0x7F, 'a',  'b',  'c',  '\r', '\n'};
  EXPECT_EQ(ReadBytes("out.bin"), expected);

  // Read back through a channel: what was written is what is read.
  ASSERT_EQ(OpenFile(1, "out.bin", kOpenForRead), 1);
  int32_t whole = 0;
  ReadLong(1, whole);
  EXPECT_EQ(whole, -2);
  ReadByte(1, whole);
  EXPECT_EQ(whole, 44);
}

TEST_F(FileChannels, WritingEmptiesTheFileAndAppendingAddsToIt) {
  WriteBytes("settings.cfg", Bytes(12, 7));
  ASSERT_EQ(OpenFile(1, "settings.cfg", kOpenForWrite), 1);
  EXPECT_EQ(FileSize(1), 0);
  EXPECT_EQ(ReadBytes("settings.cfg"), Bytes{});
  WriteByte(1, 1);
  CloseFile(1);

  ASSERT_EQ(OpenFile(1, "settings.cfg", -5), 1);
  WriteByte(1, 2);
  CloseFile(1);
  EXPECT_EQ(ReadBytes("settings.cfg"), (Bytes{1, 2}));
  ASSERT_EQ(OpenFile(3, "new.log", kOpenForAppend), 1) << "appending creates a missing file";
  WriteLine(3, "x");
  CloseFile(3);
  EXPECT_EQ(ReadBytes("new.log"), TextBytes("x\r\n"));
}

TEST_F(FileChannels, ChannelsOutsideZeroToSevenEndTheProgramWithCode7) {
  int32_t whole = 0;
  EXPECT_FATAL(OpenFile(8, "x", kOpenForRead), 7);
  EXPECT_FATAL(OpenFile(-1, "x", kOpenForWrite), 7);
  EXPECT_FATAL(CloseFile(8), 7);
  EXPECT_FATAL(ReadByte(8, whole), 7);
  EXPECT_FATAL(WriteLong(-3, 1), 7);
  EXPECT_FATAL(FilePosition(1000), 7);
  EXPECT_FATAL(FileSize(8), 7);
  EXPECT_EQ(RuntimeError().code, 7);
  EXPECT_EQ(OpenFile(7, "seven.bin", kOpenForWrite), 1);
}

TEST_F(FileChannels, FileOnlyInTheArchiveIsReadInMemoryAndItsEndReadsAsZero) {
  PackArchive("settings.cfg", {1, 0, 1, 0, 0x87, 0xD6, 0x12, 0x00, 0x01, 0x00});
  ASSERT_EQ(OpenFile(1, "settings.cfg", kOpenForRead), 1);
  EXPECT_EQ(FileSize(1), 10);
  int32_t whole = 0;
  for (const int32_t expected : {1, 0, 1, 0}) {
    ReadByte(1, whole);
    EXPECT_EQ(whole, expected);
  }
  ReadLong(1, whole);
  EXPECT_EQ(whole, 1234567);

  // The next lookup through the primary slot withdraws the item; the open channel keeps it.
  std::string other;
  files::Resolve(files::ArchiveSlot::kPrimary, "anything.png", other, true);

  ReadLong(1, whole);  // only two bytes are left: they are taken, the rest reads as 0
  EXPECT_EQ(whole, 1);
  EXPECT_EQ(FilePosition(1), 10);
  whole = 99;
  ReadByte(1, whole);
  EXPECT_EQ(whole, 0);
  EXPECT_EQ(FilePosition(1), 10);
  EXPECT_EQ(RuntimeError().code, kErrorSuccess);
  // An in-memory file cannot be written.
  EXPECT_FATAL(WriteByte(1, 1), 3);
}

TEST_F(FileChannels, ReadsPastADiskFileOrOnAFreeChannelEndTheProgramWithCode3) {
  WriteBytes("short.cfg", {5});
  ASSERT_EQ(OpenFile(1, "short.cfg", kOpenForRead), 1);
  EXPECT_EQ(FileSize(1), 1);
  int32_t whole = 0;
  ReadByte(1, whole);
  EXPECT_EQ(whole, 5);
  EXPECT_FATAL(ReadByte(1, whole), 3);
  ASSERT_EQ(OpenFile(1, "short.cfg", kOpenForRead), 1);
  // A read needs all its bytes.
  EXPECT_FATAL(ReadLong(1, whole), 3);
  // A file opened for reading takes no writes.
  EXPECT_FATAL(WriteByte(1, 1), 3);
  CloseFile(1);
  EXPECT_FATAL(ReadByte(1, whole), 3);
  EXPECT_FATAL(WriteString(1, ""), 3);
  EXPECT_FATAL(ReadByte(4, whole), 3);
}

TEST_F(FileChannels, FailedOpensAnswerZeroWithCode3AndLeaveTheChannelFree) {
  EXPECT_EQ(OpenFile(1, "missing.cfg", kOpenForRead), 0);
  EXPECT_EQ(RuntimeError().code, kErrorNoSuchFile);
  std::filesystem::create_directory("folder");
  EXPECT_EQ(OpenFile(1, "folder", kOpenForRead), 0);
  EXPECT_EQ(OpenFile(1, "no/such/folder/file.cfg", kOpenForWrite), 0);
  EXPECT_EQ(OpenFile(1, "mem://      10.       1", kOpenForWrite), 0);
  EXPECT_EQ(OpenFile(1, "mem://      10.       1", kOpenForAppend), 0);
  EXPECT_EQ(OpenFile(1, "mem://      10.fffffff0", kOpenForRead), 0) << "no such block";
  EXPECT_EQ(RuntimeError().code, kErrorNoSuchFile);
  int32_t whole = 0;
  EXPECT_FATAL(ReadByte(1, whole), 3);

  // A successful open clears the code; reopening a channel closes what it held.
  ASSERT_EQ(OpenFile(1, "a.bin", kOpenForWrite), 1);
  EXPECT_EQ(RuntimeError().code, kErrorSuccess);
  WriteWord(1, 0x0102);
  ASSERT_EQ(OpenFile(1, "a.bin", kOpenForRead), 1);
  ReadUWord(1, whole);
  EXPECT_EQ(whole, 0x0102);
}

TEST_F(FileChannels, ShortWriteEndsTheProgramWithCode3) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  ASSERT_EQ(OpenFile(0, "/dev/full", kOpenForAppend), 1);
  EXPECT_FATAL(WriteLong(0, 1), 3);
}

}  // namespace
}  // namespace zrb
