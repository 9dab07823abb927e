#include "engine/files/file_channels.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "engine/files/channel_table.h"
#include "engine/files/resolver.h"
#include "engine/platform/file_calls.h"
#include "engine/values/runtime_error.h"

namespace zrb::files {
namespace {

// The error code a bad channel number ends the program with.
constexpr int32_t kBadChannelCode = 7;

std::array<Channel, kFileChannelCount>& Channels() {
  static std::array<Channel, kFileChannelCount> channels;
  return channels;
}

int32_t ClampToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

bool OpenForReading(Channel& record, std::string_view name) {
  std::string resolved;
  if (!Resolve(ArchiveSlot::kPrimary, name, resolved, true)) SetRuntimeError(kErrorNoSuchFile);
  if (IsMemoryName(resolved)) {
    record.memory = FindMemoryFile(resolved);
    if (!record.memory) return false;
    record.size = static_cast<int64_t>(record.memory->size());
    return true;
  }
  record.handle = OpenExistingFile(resolved);
  if (!record.handle) return false;
  record.size = std::max<int64_t>(FileSizeOf(record.handle.Get()), 0);
  return true;
}

bool OpenForWriting(Channel& record, std::string_view name, bool append) {
  if (IsMemoryName(name)) return false;
  const std::string path = PlatformPath(name);
  if (path.empty()) return false;
  record.handle = platform::OpenFileForWriting(path, append);
  return static_cast<bool>(record.handle);
}

}  // namespace

Channel& CheckedChannel(int32_t channel) {
  if (static_cast<uint32_t>(channel) >= static_cast<uint32_t>(kFileChannelCount)) {
    FatalRuntimeError(kBadChannelCode);
  }
  return Channels()[static_cast<size_t>(channel)];
}

void ReadChannelBytes(int32_t channel, uint8_t* bytes, size_t count) {
  Channel& record = CheckedChannel(channel);
  std::memset(bytes, 0, count);
  if (record.handle) {
    record.position += static_cast<int64_t>(count);
    if (ReadFully(record.handle.Get(), bytes, count) != count) FatalRuntimeError(kErrorNoSuchFile);
  } else if (record.memory) {
    // In memory, a read at the end takes what is left and is not an error.
    const int64_t left = std::max<int64_t>(record.size - record.position, 0);
    const auto taken = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(count)));
    if (taken > 0) std::memcpy(bytes, record.memory->data() + record.position, taken);
    record.position += static_cast<int64_t>(taken);
  } else {
    FatalRuntimeError(kErrorNoSuchFile);
  }
}

void WriteChannelBytes(int32_t channel, const void* bytes, size_t count) {
  Channel& record = CheckedChannel(channel);
  if (!record.handle || !WriteFully(record.handle.Get(), bytes, count)) {
    FatalRuntimeError(kErrorNoSuchFile);
  }
}

void CloseAllFileChannels() {
  for (Channel& record : Channels())
    record.Clear();
}

}  // namespace zrb::files

namespace zrb {

int32_t OpenFile(int32_t channel, std::string_view name, int32_t mode) {
  files::Channel& record = files::CheckedChannel(channel);
  ClearRuntimeErrorCode();
  record.Clear();
  bool opened = false;
  if (mode > 0) {
    opened = files::OpenForReading(record, name);
  } else {
    opened = files::OpenForWriting(record, name, mode < 0);
  }
  if (opened) return 1;
  record.Clear();
  SetRuntimeError(kErrorNoSuchFile);
  return 0;
}

void CloseFile(int32_t channel) {
  files::Channel& record = files::CheckedChannel(channel);
  ClearRuntimeErrorCode();
  record.Clear();
}

int32_t FilePosition(int32_t channel) {
  return files::ClampToInt32(files::CheckedChannel(channel).position);
}

int32_t FileSize(int32_t channel) {
  return files::ClampToInt32(files::CheckedChannel(channel).size);
}

}  // namespace zrb
