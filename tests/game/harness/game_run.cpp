#include "game/harness/game_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "audio/support/audio_files.h"

namespace tundrel::testing {
namespace {

std::string Number(double ms) {
  std::ostringstream text;
  text << ms;
  return text.str();
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

Script& Script::Down(double ms, const std::string& key) {
  text_ += Number(ms) + " key " + key + " down\n";
  return *this;
}

Script& Script::Up(double ms, const std::string& key) {
  text_ += Number(ms) + " key " + key + " up\n";
  return *this;
}

Script& Script::Tap(double ms, const std::string& key, double holdMs) {
  return Down(ms, key).Up(ms + holdMs, key);
}

Script& Script::Joy(double ms, const std::string& what, int value) {
  text_ += Number(ms) + " joy " + what + " " + std::to_string(value) + "\n";
  return *this;
}

Script& Script::Close(double ms) {
  text_ += Number(ms) + " close\n";
  return *this;
}

Script& Script::PastTitle() {
  return Tap(1500, "Space");
}

int RunResult::FirstFrame(const std::string& screen, int from) const {
  for (int i = from; i < static_cast<int>(trace.size()); ++i) {
    if (trace[i].Text("screen") == screen) return i;
  }
  return -1;
}

int RunResult::FrameCount(const std::string& screen) const {
  int count = 0;
  for (const TraceFrame& frame : trace)
    count += frame.Text("screen") == screen ? 1 : 0;
  return count;
}

std::vector<std::string> RunResult::ScreenSequence() const {
  std::vector<std::string> screens;
  for (const TraceFrame& frame : trace) {
    const std::string& name = frame.Text("screen");
    if (screens.empty() || screens.back() != name) screens.push_back(name);
  }
  return screens;
}

const DrawFrame& RunResult::Drawn(int index) const {
  const long number = trace.at(static_cast<size_t>(index)).Int("frame");
  for (const DrawFrame& frame : frames) {
    if (frame.number == number) return frame;
  }
  throw std::out_of_range("no drawn frame " + std::to_string(number));
}

int RunResult::FirstMusicEvent(const std::string& event, int from) const {
  for (int i = from; i < static_cast<int>(trace.size()); ++i) {
    if (trace[i].ListHas("music", event)) return i;
  }
  return -1;
}

GameRun::GameRun() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tundrel_game_XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("no scratch folder");
  dir_ = pattern;
  workDir_ = dir_;
}

void GameRun::UseWorkingSubfolder(const std::string& name) {
  workDir_ = dir_ / name;
  std::filesystem::create_directories(workDir_);
}

GameRun::~GameRun() {
  std::error_code error;
  std::filesystem::permissions(workDir_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(dir_, error);
}

void GameRun::WriteFile(const std::string& name, const Bytes& bytes) const {
  const std::filesystem::path path = workDir_ / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes GameRun::ReadFile(const std::string& name) const {
  const std::string text = Slurp(workDir_ / name);
  return Bytes(text.begin(), text.end());
}

bool GameRun::Exists(const std::string& name) const {
  return std::filesystem::exists(workDir_ / name);
}

void GameRun::AddSoundFixtures() const {
  namespace audio = zrb::audio::testing;
  WriteFile("_blip.wav", audio::ToneWave(60, 1, 22050, 16));
  WriteFile("_theme.mp3", audio::EncodeToneMp3(1500, 22050, true).bytes);
}

RunResult GameRun::Run(const Script& script, long maxFrames,
                       const std::vector<std::string>& extraOptions,
                       const std::vector<std::string>& environment) const {
  const std::filesystem::path scriptPath = dir_ / "script.txt";
  const std::filesystem::path tracePath = dir_ / "trace.jsonl";
  const std::filesystem::path drawPath = dir_ / "draw.log";
  const std::filesystem::path outPath = dir_ / "stdout.txt";
  const std::filesystem::path errPath = dir_ / "stderr.txt";
  {
    std::ofstream out(scriptPath, std::ios::trunc);
    out << script.Text();
  }
  std::string command;
  for (const std::string& word : environment)
    command += word + " ";
  command += Quoted(TUNDREL_EXECUTABLE);
  for (const std::string& word :
       {std::string("--headless"), std::string("--dir"), workDir_.string(), std::string("--seed"),
        std::string("1"), std::string("--script"), scriptPath.string(), std::string("--trace"),
        tracePath.string(), std::string("--draw-log"), drawPath.string(),
        std::string("--max-frames"), std::to_string(maxFrames)}) {
    command += " " + Quoted(word);
  }
  for (const std::string& word : extraOptions)
    command += " " + Quoted(word);
  command += " >" + Quoted(outPath.string()) + " 2>" + Quoted(errPath.string());

  RunResult result;
  const int status = std::system(command.c_str());
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = Slurp(outPath);
  result.err = Slurp(errPath);
  result.trace = ReadTrace(tracePath.string());
  result.frames = ReadDrawLog(drawPath.string());
  return result;
}

}  // namespace tundrel::testing
