// Lets a test observe a fatal runtime error instead of the program ending.
#pragma once

#include <stdexcept>
#include <string>

#include "engine/values/runtime_error.h"

namespace zrb::testing {

struct FatalError : std::runtime_error {
  explicit FatalError(int32_t c) : std::runtime_error("fatal " + std::to_string(c)), code(c) {}
  int32_t code;
};

// While alive, fatal runtime errors throw FatalError carrying the code.
class FatalTrap {
 public:
  FatalTrap() : previous_(SetFatalErrorHandler(&Throw)) {}
  ~FatalTrap() { SetFatalErrorHandler(previous_); }
  FatalTrap(const FatalTrap&) = delete;
  FatalTrap& operator=(const FatalTrap&) = delete;

 private:
  static void Throw(int32_t code) { throw FatalError(code); }
  FatalErrorHandler previous_;
};

}  // namespace zrb::testing

// Expects the statement to end in a fatal runtime error with the given code.
#define EXPECT_FATAL(statement, expected_code)                       \
  do {                                                               \
    ::zrb::testing::FatalTrap fatal_trap_;                           \
    try {                                                            \
      statement;                                                     \
      ADD_FAILURE() << "expected a fatal error " << (expected_code); \
    } catch (const ::zrb::testing::FatalError& e) {                  \
      EXPECT_EQ(e.code, (expected_code));                            \
    }                                                                \
  } while (0)
