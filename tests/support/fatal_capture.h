// In-process observation of the fatal path: while a FatalCapture lives, a
// failure throws a CapturedFailure instead of ending the process.
#pragma once

#include <string>

#include "textio/fatal.h"
#include "textio/frames.h"

namespace prefscan::testing {

struct CapturedFailure {
  Failure failure;
  std::string unit;    // the designation, copied out of the program's buffers
  std::string report;  // the bytes the report would have written
};

class FatalCapture {
 public:
  FatalCapture() : previous_(set_fatal_sink(&FatalCapture::sink)) {}
  ~FatalCapture() { set_fatal_sink(previous_); }
  FatalCapture(const FatalCapture&) = delete;
  FatalCapture& operator=(const FatalCapture&) = delete;

 private:
  [[noreturn]] static void sink(const Failure& f, std::string_view report) {
    throw CapturedFailure{f, std::string(f.unit), std::string(report)};
  }
  FatalSink previous_;
};

}  // namespace prefscan::testing
