// Runs the game binary as a user would, with its own temporary directory, and collects what
// it leaves behind: exit status, standard output and error, the log.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_folder.h"

namespace zrb::testing {

struct RunResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class BinaryRun : public TempFolder {
 public:
  std::string Dir() const { return Root().string(); }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(Path(name), std::ios::binary) << content;
  }
  std::string Log() const { return ReadWholeFile(Path("ErrorLog.txt")); }

  // Runs `binary` with `arguments` (passed through the shell as they stand) and `environment`
  // ("NAME=value ..." or nothing) in the run's folder.
  RunResult Run(const std::string& binary, const std::string& arguments,
                const std::string& environment = "") const {
    const std::string command = "cd " + Dir() + " && TMPDIR=" + Dir() + " " + environment + " " +
                                binary + " " + arguments + " > " + Path("stdout.txt") + " 2> " +
                                Path("stderr.txt") + " < /dev/null";
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadWholeFile(Path("stdout.txt"));
    result.err = ReadWholeFile(Path("stderr.txt"));
    return result;
  }
};

}  // namespace zrb::testing
