// Runs the prefscan binary with standard input and/or standard output on a
// pseudo-terminal that the test opens itself, for end-to-end tests of the
// behaviour that depends on a terminal.
#pragma once

#include <string>
#include <vector>

#include "run_prefscan.h"

namespace prefscan::testing {

struct TerminalRunOptions {
  // Typed on the terminal (when standard input is the terminal) or the bytes
  // of the file that standard input reads from (when it is not).
  std::string input;
  bool stdin_on_terminal = true;
  bool stdout_on_terminal = true;
};

// Whether this machine hands out pseudo-terminals at all.
bool terminals_available();

// The terminal has echo, output processing, input translation and signal
// characters turned off, so the bytes read back from it are exactly the
// program's own and every typed character reaches the program as typed.
// Input is line-buffered as a terminal normally is. The result's `out` holds standard output, from
// the terminal or from the file it went to.
RunResult run_prefscan_on_terminal(const ScratchDir& dir, const std::vector<std::string>& args,
                                   const TerminalRunOptions& options);

}  // namespace prefscan::testing
