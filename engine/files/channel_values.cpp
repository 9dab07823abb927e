// The fixed binary encodings of values read and written through the file channels.
#include <bit>
#include <limits>
#include <string>

#include "engine/files/channel_table.h"
#include "engine/files/file_channels.h"
#include "engine/files/little_endian.h"

namespace zrb {
namespace {

uint64_t ReadUnsigned(int32_t channel, size_t count) {
  uint8_t bytes[8];
  files::ReadChannelBytes(channel, bytes, count);
  return files::LoadLittleEndian(bytes, count);
}

int32_t SignExtend(uint64_t value, size_t count) {
  const unsigned bits = static_cast<unsigned>(count * 8);
  const uint64_t sign = uint64_t{1} << (bits - 1);
  return static_cast<int32_t>(static_cast<int64_t>((value ^ sign) - sign));
}

void WriteUnsigned(int32_t channel, uint64_t value, size_t count) {
  uint8_t bytes[8];
  files::StoreLittleEndian(value, bytes, count);
  files::WriteChannelBytes(channel, bytes, count);
}

void WriteWhole(int32_t channel, int32_t value, size_t count) {
  WriteUnsigned(channel, static_cast<uint32_t>(value), count);
}

}  // namespace

void ReadByte(int32_t channel, int32_t& variable) {
  variable = SignExtend(ReadUnsigned(channel, 1), 1);
}
void ReadUByte(int32_t channel, int32_t& variable) {
  variable = static_cast<int32_t>(ReadUnsigned(channel, 1));
}
void ReadWord(int32_t channel, int32_t& variable) {
  variable = SignExtend(ReadUnsigned(channel, 2), 2);
}
void ReadUWord(int32_t channel, int32_t& variable) {
  variable = static_cast<int32_t>(ReadUnsigned(channel, 2));
}
void ReadLong(int32_t channel, int32_t& variable) {
  variable = SignExtend(ReadUnsigned(channel, 4), 4);
}
void ReadULong(int32_t channel, int32_t& variable) {
  variable = static_cast<int32_t>(static_cast<uint32_t>(ReadUnsigned(channel, 4)));
}
void ReadIEEE(int32_t channel, double& variable) {
  variable = std::bit_cast<double>(ReadUnsigned(channel, 8));
}
void ReadShortIEEE(int32_t channel, double& variable) {
  variable = std::bit_cast<float>(static_cast<uint32_t>(ReadUnsigned(channel, 4)));
}

void WriteByte(int32_t channel, int32_t value) {
  WriteWhole(channel, value, 1);
}
void WriteUByte(int32_t channel, int32_t value) {
  WriteWhole(channel, value, 1);
}
void WriteWord(int32_t channel, int32_t value) {
  WriteWhole(channel, value, 2);
}
void WriteUWord(int32_t channel, int32_t value) {
  WriteWhole(channel, value, 2);
}
void WriteLong(int32_t channel, int32_t value) {
  WriteWhole(channel, value, 4);
}
void WriteULong(int32_t channel, int32_t value) {
  WriteWhole(channel, value, 4);
}
void WriteIEEE(int32_t channel, double value) {
  WriteUnsigned(channel, std::bit_cast<uint64_t>(value), 8);
}
void WriteShortIEEE(int32_t channel, double value) {
  // Narrowing a double beyond the range of float is undefined behaviour; clamp it to the
  // infinity of its sign instead.
  constexpr double kLargest = std::numeric_limits<float>::max();
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  const float single = value > kLargest    ? kInfinity
                       : value < -kLargest ? -kInfinity
                                           : static_cast<float>(value);
  WriteUnsigned(channel, std::bit_cast<uint32_t>(single), 4);
}

void WriteString(int32_t channel, std::string_view text) {
  files::WriteChannelBytes(channel, text.data(), text.size());
}
void WriteLine(int32_t channel, std::string_view text) {
  std::string line(text);
  line += "\r\n";
  files::WriteChannelBytes(channel, line.data(), line.size());
}

}  // namespace zrb
