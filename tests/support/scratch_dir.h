// A folder of a test's own that is also its working folder and its TMPDIR (the "tmp" folder
// inside), so that what the code under test leaves behind can be looked at; everything goes
// back as it was, the folder removed, when the test ends.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zrb::testing {

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zrb-files-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    std::filesystem::create_directory(root_ / "tmp");
    if (const char* old = std::getenv("TMPDIR")) oldTmp_ = old;
    ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    oldCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(root_);
  }
  ~ScratchDir() {
    std::filesystem::current_path(oldCwd_);
    if (oldTmp_) {
      ::setenv("TMPDIR", oldTmp_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Tmp() const { return root_ / "tmp"; }
  // Names of the files in the temporary folder.
  std::vector<std::string> TmpFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Tmp())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path root_;
  std::filesystem::path oldCwd_;
  std::optional<std::string> oldTmp_;
};

}  // namespace zrb::testing
