// The program's command line: the options the engine understands, and the command tail of a
// whole command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrb {

struct ScreenshotRequest {
  long frame = 0;
  std::string path;
};

struct CommandLineOptions {
  bool headless = false;                       // --headless
  std::string scriptPath;                      // --script FILE
  std::string replayPath;                      // --replay FILE
  std::string recordPath;                      // --record FILE
  std::optional<uint32_t> seed;                // --seed N
  long maxFrames = 0;                          // --max-frames N (0: no limit)
  std::string workingDirectory;                // --dir DIR ("" = the executable's folder)
  std::string tracePath;                       // --trace FILE
  std::string drawLogPath;                     // --draw-log FILE
  std::vector<ScreenshotRequest> screenshots;  // --screenshot N:FILE, any number of them
  bool checkMedia = false;                     // --check-media (the game carries it out)
  std::optional<bool> fullScreen;              // --fullscreen / --windowed
  int scale = 0;                               // --scale N (0: not given)
  std::optional<bool> joypad;                  // --joypad on|off (the game stores it)
  std::string renderer;                        // --renderer cpu|gl|both ("": by the driver)
  bool help = false;                           // --help
  bool version = false;                        // --version
};

namespace frame {

inline constexpr int kMaxScale = 8;

// Parses the arguments after the program name. False with a message naming the problem.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLineOptions* options,
                      std::string* error);

// --help: the program's own lines on playing (its keys), then the options, those for playing
// first.
std::string UsageText(std::string_view programName, std::string_view playingHelp = {});

// The whole command line as one text: the arguments separated by blanks, those holding a
// blank or a tab (or nothing) in double quotes.
std::string JoinCommandLine(int argc, const char* const* argv);

// The command tail: leading blanks and tabs skipped, then the program name (a double-quoted
// one up to and including its closing quote, else up to the first blank or tab), then the
// blanks and tabs after it.
std::string_view CommandTail(std::string_view commandLine);

}  // namespace frame
}  // namespace zrb
