#include "engine/frame/command_line.h"

#include <charconv>
#include <limits>

#include "engine/values/shown_text.h"

namespace zrb::frame {
namespace {

template <typename T>
bool ParseWhole(std::string_view text, T* value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return !text.empty() && ec == std::errc() && ptr == end;
}

// One option that takes a value: "--name VALUE" or "--name=VALUE".
struct ValueReader {
  const std::vector<std::string>& args;
  size_t& index;
  std::string inlineValue;
  bool hasInline;

  bool Take(std::string_view name, std::string* value, std::string* error) {
    if (hasInline) {
      *value = inlineValue;
    } else if (index + 1 < args.size()) {
      *value = args[++index];
    } else {
      *error = std::string(name) + " needs a value";
      return false;
    }
    if (value->empty()) {
      *error = std::string(name) + " needs a value";
      return false;
    }
    return true;
  }
};

bool ParseScreenshot(const std::string& value, ScreenshotRequest* request, std::string* error) {
  const size_t colon = value.find(':');
  if (colon == std::string::npos || colon + 1 >= value.size() ||
      !ParseWhole(std::string_view(value).substr(0, colon), &request->frame) ||
      request->frame < 1) {
    *error = "--screenshot expects N:FILE with a frame number N of 1 or more, not '" +
             ShownText(value) + "'";
    return false;
  }
  request->path = value.substr(colon + 1);
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLineOptions* options,
                      std::string* error) {
  CommandLineOptions parsed;
  std::string problem;
  for (size_t i = 0; i < args.size() && problem.empty(); ++i) {
    std::string name = args[i];
    ValueReader reader{args, i, {}, false};
    const size_t equals = name.find('=');
    if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
      reader.inlineValue = name.substr(equals + 1);
      reader.hasInline = true;
      name.resize(equals);
    }
    std::string value;
    const bool takesValue = name == "--script" || name == "--seed" || name == "--max-frames" ||
                            name == "--dir" || name == "--trace" || name == "--draw-log" ||
                            name == "--screenshot" || name == "--scale" || name == "--joypad" ||
                            name == "--renderer" || name == "--replay" || name == "--record";
    if (!takesValue && reader.hasInline) {
      problem = ShownText(name) + " takes no value";
      break;
    }
    if (takesValue && !reader.Take(name, &value, &problem)) break;

    if (name == "--headless") {
      parsed.headless = true;
    } else if (name == "--script") {
      parsed.scriptPath = value;
    } else if (name == "--replay") {
      parsed.replayPath = value;
    } else if (name == "--record") {
      parsed.recordPath = value;
    } else if (name == "--seed") {
      uint32_t seed = 0;
      if (!ParseWhole(value, &seed)) {
        problem = "--seed expects a whole number 0..4294967295, not '" + ShownText(value) + "'";
      }
      parsed.seed = seed;
    } else if (name == "--max-frames") {
      if (!ParseWhole(value, &parsed.maxFrames) || parsed.maxFrames < 1) {
        problem =
            "--max-frames expects a whole number of 1 or more, not '" + ShownText(value) + "'";
      }
    } else if (name == "--dir") {
      parsed.workingDirectory = value;
    } else if (name == "--trace") {
      parsed.tracePath = value;
    } else if (name == "--draw-log") {
      parsed.drawLogPath = value;
    } else if (name == "--screenshot") {
      ScreenshotRequest request;
      if (ParseScreenshot(value, &request, &problem)) parsed.screenshots.push_back(request);
    } else if (name == "--check-media") {
      parsed.checkMedia = true;
    } else if (name == "--fullscreen" || name == "--windowed") {
      const bool full = name == "--fullscreen";
      if (parsed.fullScreen && *parsed.fullScreen != full) {
        problem = "--fullscreen and --windowed cannot both be given";
      }
      parsed.fullScreen = full;
    } else if (name == "--scale") {
      if (!ParseWhole(value, &parsed.scale) || parsed.scale < 1 || parsed.scale > kMaxScale) {
        problem = "--scale expects a whole number 1.." + std::to_string(kMaxScale) + ", not '" +
                  ShownText(value) + "'";
      }
    } else if (name == "--joypad") {
      if (value == "on" || value == "off") {
        parsed.joypad = value == "on";
      } else {
        problem = "--joypad expects on or off, not '" + ShownText(value) + "'";
      }
    } else if (name == "--renderer") {
      if (value == "cpu" || value == "gl" || value == "both") {
        parsed.renderer = value;
      } else {
        problem = "--renderer expects cpu, gl or both, not '" + ShownText(value) + "'";
      }
    } else if (name == "--help" || name == "-h") {
      parsed.help = true;
    } else if (name == "--version") {
      parsed.version = true;
    } else if (name.rfind("-", 0) == 0) {
      problem = "unknown option '" + ShownText(name) + "'";
    } else {
      problem = "unexpected argument '" + ShownText(name) + "'";
    }
  }
  // A picture asked for is taken or refused here, never dropped in silence.
  for (size_t i = 0; i < parsed.screenshots.size() && problem.empty(); ++i) {
    const ScreenshotRequest& shot = parsed.screenshots[i];
    const std::string given = std::to_string(shot.frame) + ":" + ShownText(shot.path);
    if (parsed.maxFrames > 0 && shot.frame > parsed.maxFrames) {
      problem = "--screenshot " + given + " asks for a frame after the last one (--max-frames " +
                std::to_string(parsed.maxFrames) + ")";
    }
    for (size_t j = 0; j < i && problem.empty(); ++j) {
      if (parsed.screenshots[j].path == shot.path) {
        problem = "--screenshot " + given + ": that file is already asked for";
      }
    }
  }
  if (problem.empty() && !parsed.replayPath.empty()) {
    // A replay brings its own input, seed and start; it records nothing.
    if (!parsed.scriptPath.empty()) problem = "--replay and --script cannot both be given";
    if (parsed.seed) problem = "--replay brings its own seed: --seed cannot be given with it";
    if (!parsed.recordPath.empty()) problem = "--replay and --record cannot both be given";
  }
  if (!problem.empty()) {
    if (error) *error = problem;
    return false;
  }
  if (options) *options = std::move(parsed);
  return true;
}

std::string UsageText(std::string_view programName, std::string_view playingHelp) {
  std::string text = "Usage: " + std::string(programName) + " [options]\n";
  text += playingHelp;
  text +=
      "Playing:\n"
      "  --fullscreen           start full screen, whatever the settings say\n"
      "  --windowed             start in a window, whatever the settings say\n"
      "  --scale N              open the window N times the picture size (1.." +
      std::to_string(kMaxScale) +
      "; without it: the\n"
      "                         size the window had last, else as large as fits)\n"
      "  --joypad on|off        read the joypad or not, and keep that choice\n"
      "  --renderer cpu|gl|both draw on the processor or through OpenGL (without it: on the\n"
      "                         processor when the OpenGL driver is a software one); both:\n"
      "                         OpenGL, and each --screenshot FILE.png also drawn on the\n"
      "                         processor as FILE-cpu.png\n"
      "  --replay FILE          show a recorded game again (Escape ends it); with --headless\n"
      "                         as fast as it goes\n"
      "  --record FILE          also keep this game's replay in FILE\n"
      "  --help                 show this text\n"
      "  --version              show the version\n"
      "Testing and checking:\n"
      "  --headless             no window, no audio device, a clock that only moves while the\n"
      "                         program waits\n"
      "  --script FILE          scripted input (works in both modes)\n"
      "  --seed N               seed the random generator with N instead of the clock\n"
      "  --max-frames N         end the program (exit code 0) after N presented frames\n"
      "  --dir DIR              use DIR as the working directory instead of the program's folder\n"
      "  --trace FILE           write one JSON object per presented frame\n"
      "  --draw-log FILE        write every draw call, one line each\n"
      "  --screenshot N:FILE    save presented frame N as a PNG (real mode)\n"
      "  --check-media          check every image, sound and music piece, then exit\n"
      "Script lines: <ms> key <name|code> down|up, <ms> joy x|y <value>,\n"
      "  <ms> joy BUTTON 0|128 (button1 or a, button2 or b, back, start, dpad-up,\n"
      "  dpad-down, dpad-left, dpad-right), <ms> close, <ms> focus lost|gained;\n"
      "  '#' starts a comment. A replay given as the script plays as with --replay.\n";
  return text;
}

std::string JoinCommandLine(int argc, const char* const* argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i] ? argv[i] : "";
    if (i > 0) line += ' ';
    const bool quote = arg.empty() || arg.find_first_of(" \t") != std::string_view::npos;
    if (quote) line += '"';
    line += arg;
    if (quote) line += '"';
  }
  return line;
}

std::string_view CommandTail(std::string_view commandLine) {
  size_t i = 0;
  const auto blank = [&](size_t at) {
    return at < commandLine.size() && (commandLine[at] == ' ' || commandLine[at] == '\t');
  };
  while (blank(i))
    ++i;
  if (i < commandLine.size() && commandLine[i] == '"') {
    const size_t close = commandLine.find('"', i + 1);
    i = close == std::string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && !blank(i))
      ++i;
  }
  while (blank(i))
    ++i;
  return commandLine.substr(i);
}

}  // namespace zrb::frame
