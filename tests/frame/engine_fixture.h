// An engine run inside the test process, headless unless asked otherwise, with its own
// temporary directory for the log, the working directory, scripts and traces.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/frame/engine_main.h"
#include "engine/frame/run_setup.h"

namespace zrb::testing {

// Folders made by a process that ends inside a death test (which skips TearDown) are removed
// when that process exits; a forked child leaves its parent's folders alone.
inline void RemoveFolderAtExit(const std::string& dir) {
  struct Entry {
    std::string dir;
    pid_t owner;
  };
  static std::vector<Entry> folders;
  static bool registered = false;
  folders.push_back({dir, getpid()});
  if (!registered) {
    registered = true;
    std::atexit([] {
      for (const Entry& entry : folders) {
        std::error_code error;
        if (entry.owner == getpid()) std::filesystem::remove_all(entry.dir, error);
      }
    });
  }
}

class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/enginetestXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    RemoveFolderAtExit(dir_);
    const char* old = std::getenv("TMPDIR");
    hadTmp_ = old != nullptr;
    oldTmp_ = old ? old : "";
    setenv("TMPDIR", dir_.c_str(), 1);
    options_.headless = true;
    options_.workingDirectory = dir_;
    settings_.caption = "Tundrel";
    program_.name = "enginetest";
  }

  void TearDown() override {
    EngineShutdown();
    if (chdir("/") != 0) ADD_FAILURE() << "chdir";
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
    if (hadTmp_) {
      setenv("TMPDIR", oldTmp_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }

  void WriteFile(const std::string& name, const std::string& content) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << content;
  }

  std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Prepares the run (script, trace) and starts the engine.
  void Start(const std::string& script = "", bool trace = false) {
    if (!script.empty()) {
      WriteFile("script.txt", script);
      options_.scriptPath = dir_ + "/script.txt";
    }
    if (trace) options_.tracePath = TracePath();
    std::string error;
    ASSERT_TRUE(frame::PrepareRun(&options_, &error)) << error;
    ASSERT_TRUE(EngineInit(settings_, options_, program_));
  }

  std::string TracePath() const { return dir_ + "/trace.json"; }
  std::string Log() { return ReadFile(dir_ + "/ErrorLog.txt"); }

  std::vector<std::string> TraceLines() {
    std::istringstream in(ReadFile(TracePath()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }

  std::string dir_;
  CommandLineOptions options_;
  ProjectSettings settings_;
  GameProgram program_;

 private:
  std::string oldTmp_;
  bool hadTmp_ = false;
};

}  // namespace zrb::testing
