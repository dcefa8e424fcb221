// The one fatal path: every failure of the run ends here.
//
// fatal() writes the report to standard error, runs the end-of-process
// handling (the listing's held records, the owed console line end) and ends
// the process with exit status 1. Tests and fuzz targets replace the sink to
// observe a failure in-process instead.
#pragma once

#include <source_location>
#include <string_view>

#include "textio/errors.h"

namespace prefscan {

struct Failure {
  ErrorNumber number;
  Statement statement;
  std::string_view unit;  // designation; unused for checks
};

// Reports `failure` as raised at `where` (the innermost routine's current
// statement) and never returns.
[[noreturn]] void fatal(const Failure& failure,
                        std::source_location where = std::source_location::current());

// Receives a failure with its formatted report; must not return.
using FatalSink = void (*)(const Failure& failure, std::string_view report);

// Installs `sink` and returns the one it replaces.
FatalSink set_fatal_sink(FatalSink sink);

// The work that runs once when the process ends, after the stop and after a
// fatal error alike. Registered by whoever owns the connections.
using EndOfProcess = void (*)();
void set_end_of_process(EndOfProcess handler);

// Work that must run before the report is written: bytes of standard output
// still held back go out first, so the report follows all of them.
void set_before_report(EndOfProcess handler);

// Runs the registered end-of-process handling at most once per process.
void run_end_of_process();


}  // namespace prefscan
