// The game's settings file: read from arbitrary bytes (after a missing and a short file in
// the read order), shown on the status line and the settings screen, written and read back.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/platform/paths.h"
#include "fuzz/fuzz_support.h"
#include "game/settings_file.h"
#include "game/state.h"
#include "game/text.h"

namespace {

// The save syncs the file and its folder to the disk, a few milliseconds each time: on a
// memory file system (where syncing costs nothing) the round trip keeps the fuzzer fast.
std::string StorageFolder() {
  if (::access("/dev/shm", W_OK) == 0) return "/dev/shm/";
  return zrb::platform::TemporaryDirectory();
}

const std::string& StoredPath() {
  static const std::string path =
      StorageFolder() + "zrb-fuzz-settings-" + std::to_string(::getpid()) + ".cfg";
  return path;
}

void RemoveStored() {
  std::remove(StoredPath().c_str());
}

int32_t SignedByte(uint8_t byte) {
  return static_cast<int8_t>(byte);
}

int32_t SignedLong(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                              uint32_t{p[3]} << 24);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(RemoveStored);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tundrel;
  static const uint8_t kShort[5] = {1, 1, 1, 1, 9};
  zrb::fuzz::PublishedBytes shortFile(kShort, sizeof kShort);
  zrb::fuzz::PublishedBytes file(data, size);
  SettingsLocation location;
  location.readOrder = {"zrb-fuzz-no-such-folder/settings.cfg", shortFile.Name(), file.Name()};

  SetDefaultSettings();
  const bool read = ReadSettingsFile(location);
  FUZZ_CHECK(read == (size >= kSettingsFileBytes));
  if (!read) {
    FUZZ_CHECK(soundOn == 1 && highScore == 0);  // the defaults stay
    return 0;
  }
  FUZZ_CHECK(fullScreen == SignedByte(data[0]) && soundOn == SignedByte(data[1]) &&
             scanlinesOn == SignedByte(data[2]) && easyMode == SignedByte(data[3]) &&
             highScore == SignedLong(data + 4) && joypadEnabled == SignedLong(data + 8));

  // Whatever the file held, the status line keeps its shape: seven places for the high score.
  const zrb::EngineString status = FrontStatusText();
  FUZZ_CHECK(status.Length() == std::string_view("score|000000 round|00 high|0000000").size());

  const int32_t before[6] = {fullScreen, soundOn, scanlinesOn, easyMode, highScore, joypadEnabled};
  FUZZ_CHECK(WriteSettingsFile(StoredPath()));
  SetDefaultSettings();
  FUZZ_CHECK(ReadSettingsFile(SettingsLocation{{StoredPath()}, StoredPath()}));
  const int32_t after[6] = {fullScreen, soundOn, scanlinesOn, easyMode, highScore, joypadEnabled};
  for (int i = 0; i < 6; ++i)
    FUZZ_CHECK(before[i] == after[i]);
  RemoveStored();  // libFuzzer may end without running the exit handlers
  return 0;
}
