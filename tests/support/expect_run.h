// One check for a whole run: its standard output, its fatal report of the
// main program (or none) and its exit status.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "report_shape.h"
#include "run_prefscan.h"

namespace prefscan::testing {

// `error_and_unit` empty means standard error must stay empty.
inline void expect_run(const RunResult& r, const std::string& out,
                       const std::string& error_and_unit, int exit_status,
                       const std::string& what) {
  EXPECT_EQ(r.out, out) << what;
  if (error_and_unit.empty()) {
    EXPECT_EQ(r.err, "") << what;
  } else {
    EXPECT_TRUE(is_main_program_report(r.err, error_and_unit)) << what << "\n" << r.err;
  }
  EXPECT_EQ(r.exit_status, exit_status) << what;
}

}  // namespace prefscan::testing
