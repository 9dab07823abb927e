// Eight numbered file channels for small binary files, every value little-endian.
//
// A channel opened for reading looks the name up through the primary archive slot, so it
// reads a disk file or an archive item held in memory; writing and appending go to disk.
// Fatal conditions end the program through FatalRuntimeError: a channel outside 0..7 (code
// 7); a read past the end of a disk file or on a free channel, a write to a free or in-memory
// channel, or a short write (code 3). A read that runs past the end of an in-memory file
// takes what is left, and the missing bytes read as 0.
#pragma once

#include <cstdint>
#include <string_view>

namespace zrb {

inline constexpr int32_t kFileChannelCount = 8;

// Modes of OpenFile.
inline constexpr int32_t kOpenForRead = 1;     // any mode > 0
inline constexpr int32_t kOpenForWrite = 0;    // a new, empty file
inline constexpr int32_t kOpenForAppend = -1;  // any mode < 0

// Closes whatever the channel held, then opens `name`. 1 when open; else 0 with error code 3.
int32_t OpenFile(int32_t channel, std::string_view name, int32_t mode);
void CloseFile(int32_t channel);

void ReadByte(int32_t channel, int32_t& variable);      // signed, -128..127
void ReadUByte(int32_t channel, int32_t& variable);     // 0..255
void ReadWord(int32_t channel, int32_t& variable);      // signed, -32768..32767
void ReadUWord(int32_t channel, int32_t& variable);     // 0..65535
void ReadLong(int32_t channel, int32_t& variable);      // signed 32-bit
void ReadULong(int32_t channel, int32_t& variable);     // 32 bits as they stand
void ReadIEEE(int32_t channel, double& variable);       // 8-byte double
void ReadShortIEEE(int32_t channel, double& variable);  // 4-byte single, widened

// Byte and word writes store the low 8 or 16 bits of the value.
void WriteByte(int32_t channel, int32_t value);
void WriteUByte(int32_t channel, int32_t value);
void WriteWord(int32_t channel, int32_t value);
void WriteUWord(int32_t channel, int32_t value);
void WriteLong(int32_t channel, int32_t value);
void WriteULong(int32_t channel, int32_t value);
void WriteIEEE(int32_t channel, double value);
// Values beyond the range of a single become infinities of their sign.
void WriteShortIEEE(int32_t channel, double value);
void WriteString(int32_t channel, std::string_view text);  // the characters alone
void WriteLine(int32_t channel, std::string_view text);    // the characters, then "\r\n"

// Bytes read so far (writes do not move it).
int32_t FilePosition(int32_t channel);
// The file's size when it was opened for reading (0 for writing and appending), so a caller
// can tell a short file before reading it.
int32_t FileSize(int32_t channel);

}  // namespace zrb

namespace zrb::files {

// Program end: every channel is closed.
void CloseAllFileChannels();

}  // namespace zrb::files
