// A folder of a test's own that is also its working folder and its TMPDIR (the "tmp" folder
// inside), so that what the code under test leaves behind can be looked at; everything goes
// back as it was, the folder removed, when the test ends.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace zrb::testing {

class ScratchDir : public TempFolder {
 public:
  ScratchDir() {
    std::filesystem::create_directory(Tmp());
    if (const char* old = std::getenv("TMPDIR")) oldTmp_ = old;
    ::setenv("TMPDIR", Tmp().c_str(), 1);
    oldCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(Root());
  }
  ~ScratchDir() {
    std::filesystem::current_path(oldCwd_);
    if (oldTmp_) {
      ::setenv("TMPDIR", oldTmp_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

  std::filesystem::path Tmp() const { return Root() / "tmp"; }
  // Names of the files in the temporary folder.
  std::vector<std::string> TmpFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Tmp())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path oldCwd_;
  std::optional<std::string> oldTmp_;
};

}  // namespace zrb::testing
