#include "recorded/run_script.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace tundrel::recorded {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string ToHex(const std::string& bytes) {
  std::string hex;
  char pair[3];
  for (unsigned char c : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", c);
    hex += pair;
  }
  return hex;
}

bool FromHex(const std::string& hex, std::string& bytes) {
  unsigned value = 0;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    if (std::sscanf(hex.c_str() + i, "%2x", &value) != 1) return false;
    bytes += static_cast<char>(value);
  }
  return hex.size() % 2 == 0;
}

// Runs the program with its temporary files in `dir`: the engine names the files it unpacks
// from the archive after the item alone, so runs side by side must not share a folder.
int Spawn(std::vector<std::string> args, const fs::path& dir) {
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  // TMP and TEMP are where a Windows program (under Wine) finds its temporary folder.
  std::string tmp = "TMPDIR=" + dir.string() + "/", wtmp = "TMP=" + dir.string(),
              wtemp = "TEMP=" + dir.string();
  std::vector<char*> env = {tmp.data(), wtmp.data(), wtemp.data()};
  for (char** e = environ; *e; ++e) {
    const std::string_view entry(*e);
    if (entry.rfind("TMPDIR=", 0) != 0 && entry.rfind("TMP=", 0) != 0 &&
        entry.rfind("TEMP=", 0) != 0) {
      env.push_back(*e);
    }
  }
  env.push_back(nullptr);
  const fs::path out = dir / "stdout.txt";
  const fs::path err = dir / "stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

bool ReadRunScript(const std::string& path, RunScript& script, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  script.path = path;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string directive;
    words >> directive;
    if (directive == "#run") {
      words >> script.program;
      for (std::string word; words >> word;)
        script.arguments.push_back(word);
    } else if (directive == "#file") {
      std::string name, hex, bytes;
      words >> name >> hex;
      if (name.empty() || !FromHex(hex, bytes)) {
        error = "bad #file line: " + line;
        return false;
      }
      script.files.emplace_back(name, bytes);
    } else if (directive == "#nomedia") {
      script.media = false;
    } else if (directive == "#check") {
      std::string name;
      words >> name;
      script.checked.push_back(name);
    }
  }
  if (script.program != "tundrel" && script.program != "tundrel_stage") {
    error = path + ": the #run line must name tundrel or tundrel_stage";
    return false;
  }
  return true;
}

namespace {

// The lines of a program's output, each marked with its stream, the scratch folder named <dir>.
void AddOutput(const std::string& stream, std::string text, const std::string& dir,
               std::vector<std::string>& lines) {
  for (size_t at; (at = text.find(dir)) != std::string::npos;)
    text.replace(at, dir.size(), "<dir>");
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(stream + " " + line);
}

}  // namespace

Outcome PlayRun(const RunScript& script, const std::string& buildDir) {
  std::string pattern = (fs::temp_directory_path() / "tundrel_recorded_XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("no scratch folder");
  const fs::path dir = pattern;
  if (script.media)
    fs::create_symlink(fs::absolute(fs::path(buildDir) / "Media.sbx"), dir / "Media.sbx");
  for (const auto& [name, bytes] : script.files)
    std::ofstream(dir / name, std::ios::binary) << bytes;

  // TUNDREL_RUN_WINE names a Windows build whose programs play the runs under wine instead.
  const char* windows = std::getenv("TUNDREL_RUN_WINE");
  std::vector<std::string> args;
  if (windows && *windows) {
    args = {"wine", (fs::path(windows) / (script.program + ".exe")).string()};
  } else {
    args = {(fs::path(buildDir) / script.program).string()};
  }
  args.insert(
      args.end(),
      {"--headless", "--dir", dir.string(), "--script", fs::absolute(script.path).string(),
       "--trace", (dir / "trace.jsonl").string(), "--draw-log", (dir / "draw.log").string()});
  args.insert(args.end(), script.arguments.begin(), script.arguments.end());
  Outcome outcome;
  outcome.facts.push_back("exit " + std::to_string(Spawn(args, dir)));
  outcome.frames = ReadRunFrames((dir / "trace.jsonl").string(), (dir / "draw.log").string());
  for (const std::string& name : script.checked)
    outcome.facts.push_back("file " + name + " " + ToHex(ReadBytes(dir / name)));
  AddOutput("out", ReadBytes(dir / "stdout.txt"), dir.string(), outcome.facts);
  AddOutput("err", ReadBytes(dir / "stderr.txt"), dir.string(), outcome.facts);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return outcome;
}

}  // namespace tundrel::recorded
