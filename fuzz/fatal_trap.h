// The fatal path made observable inside a fuzz target: the sink throws the
// error number instead of ending the process, and the target checks that the
// number is one the operation may raise.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "textio/errors.h"
#include "textio/fatal.h"

namespace prefscan::fuzz {

struct FatalStop {
  ErrorNumber number;
};

[[noreturn]] inline void throwing_sink(const Failure& failure, std::string_view) {
  throw FatalStop{failure.number};
}

inline void install_fatal_trap() { set_fatal_sink(&throwing_sink); }

// A finding: says what was wrong and aborts, so that libFuzzer keeps the input.
[[noreturn]] inline void finding(const char* what, long detail = 0) {
  std::fprintf(stderr, "prefscan fuzz finding: %s (%ld)\n", what, detail);
  std::abort();
}

}  // namespace prefscan::fuzz
