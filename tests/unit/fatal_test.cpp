// The fatal report's bytes, and the guards that raise it.
#include "textio/fatal.h"

#include <gtest/gtest.h>

#include <string>

#include "fatal_capture.h"
#include "textio/checked.h"
#include "textio/frames.h"

namespace prefscan {
namespace {

using testing::CapturedFailure;
using testing::FatalCapture;

class FatalTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_frames(); }
  void TearDown() override { reset_frames(); }
  FatalCapture capture;
};

TEST_F(FatalTest, ReportListsTheRoutinesInnermostFirst) {
  RoutineFrame main_program(nullptr);
  const int call_line = __LINE__ + 1;
  main_program.at();
  RoutineFrame prefch("PREFCH");
  std::string report;
  const int fail_line = __LINE__ + 2;
  try {
    fatal({ErrorNumber::kInvalidCharacter, Statement::kRead, "internal"});
  } catch (const CapturedFailure& f) {
    report = f.report;
  }
  const std::string at_fail = "fatal_test.cpp(" + std::to_string(fail_line) + ")";
  EXPECT_EQ(report, "\r\n" + at_fail + " : run-time error F6101: READ(internal)\r\n" +
                        "- invalid character in an integer field\r\n" +
                        "\r\nExecution traceback:\r\n" + "\t\tfrom PREFCH in " + at_fail +
                        "\r\n" + "\t\tfrom main program in fatal_test.cpp(" +
                        std::to_string(call_line) + ")\r\n");
}

TEST_F(FatalTest, ChecksHaveNoUnitAndAMessageOnTheNextLine) {
  RoutineFrame main_program(nullptr);
  Table<int, 3> table{};
  std::string report;
  const int line = __LINE__ + 2;
  try {
    table(4) = 1;
  } catch (const CapturedFailure& f) {
    EXPECT_EQ(f.failure.number, ErrorNumber::kIndexOutOfBounds);
    report = f.report;
  }
  const std::string at = "fatal_test.cpp(" + std::to_string(line) + ")";
  EXPECT_EQ(report, "\r\n" + at + " : run-time error F6096: $DEBUG\r\n- " +
                        std::string(message_for(ErrorNumber::kIndexOutOfBounds)) +
                        "\r\n\r\nExecution traceback:\r\n\t\tfrom main program in " + at + "\r\n");
}

TEST_F(FatalTest, GuardsFireAtTheirLimitsOnly) {
  RoutineFrame main_program(nullptr);
  Table<int, 3> table{};
  EXPECT_NO_THROW(table(1) = 1);
  EXPECT_NO_THROW(table(3) = 3);
  EXPECT_EQ(add(2147483646, 1), 2147483647);
  EXPECT_EQ(sub(-2147483647, 1), -2147483647 - 1);
  EXPECT_EQ(narrow<std::int16_t>(32767), 32767);
  struct Case {
    const char* what;
    void (*run)();
    ErrorNumber number;
  } cases[] = {
      {"index 0", [] { Table<int, 3> t{}; t(0) = 1; }, ErrorNumber::kIndexOutOfBounds},
      {"add", [] { (void)add(2147483647, 1); }, ErrorNumber::kIntegerOverflow},
      {"sub", [] { (void)sub(-2147483647 - 1, 1); }, ErrorNumber::kIntegerOverflow},
      {"mul", [] { (void)mul(65536, 65536); }, ErrorNumber::kIntegerOverflow},
      {"narrow", [] { (void)narrow<std::int16_t>(32768); }, ErrorNumber::kNarrowingOverflow},
      {"narrow unsigned", [] { (void)narrow<std::uint8_t>(-1); }, ErrorNumber::kNarrowingOverflow},
  };
  for (const Case& c : cases) {
    try {
      c.run();
      ADD_FAILURE() << c.what << " did not fire";
    } catch (const CapturedFailure& f) {
      EXPECT_EQ(f.failure.number, c.number) << c.what;
      EXPECT_EQ(f.failure.statement, Statement::kCheck) << c.what;
    }
  }
}

}  // namespace
}  // namespace prefscan
