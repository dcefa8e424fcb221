// The console output line: owed line ends, first-character control and the
// free-form record width, as bytes on standard output.
#include "listing/console.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/sysio.h"
#include "fatal_capture.h"

namespace prefscan {
namespace {

std::string written;
int fail_with = 0;

ssize_t capture_write(int fd, const void* data, size_t size) {
  if (fd != STDOUT_FILENO) return ::write(fd, data, size);
  if (fail_with != 0) {
    errno = fail_with;
    return -1;
  }
  written.append(static_cast<const char*>(data), size);
  return static_cast<ssize_t>(size);
}

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_console();
    set_console_batching(false);
    written.clear();
    fail_with = 0;
    sysio.write = capture_write;
  }
  void TearDown() override {
    reset_sysio();
    reset_console();
  }
};

LineState state_after(const char* steps) {
  for (const char* s = steps; *s != '\0'; ++s) {
    if (*s == 'r') console_record(" r", false);
    if (*s == 'n') console_record(" n", true);
  }
  return console_state();
}

TEST_F(ConsoleTest, RecordWritesFollowTheLineState) {
  // Steps: r = a record, n = a record in no-advance mode.
  struct Case {
    const char* steps;
    const char* bytes;
    LineState after;
  } cases[] = {
      {"r", "r", LineState::kOpen},
      {"n", "n", LineState::kOpenContinuing},
      {"rr", "r\r\nr", LineState::kOpen},
      {"rn", "r\r\nn", LineState::kOpenContinuing},
      {"nn", "n n", LineState::kOpenContinuing},
      {"nr", "n r", LineState::kOpen},
      {"nrr", "n r\r\nr", LineState::kOpen},
  };
  for (const Case& c : cases) {
    SetUp();
    EXPECT_EQ(state_after(c.steps), c.after) << c.steps;
    EXPECT_EQ(written, c.bytes) << c.steps;
  }
}

TEST_F(ConsoleTest, LineEndRequestAndDirectWritesLeaveTheStateAlone) {
  console_line_end_request();
  EXPECT_EQ(written, "");
  console_record(" a", true);
  console_line_end_request();
  console_direct("Stop\r\n");
  EXPECT_EQ(console_state(), LineState::kOpenContinuing);
  console_end_of_run();
  EXPECT_EQ(written, "a\r\nStop\r\n\r\n");
}

TEST_F(ConsoleTest, SharedReadEndsAnOpenLineAndClosesIt) {
  struct Case {
    bool no_advance;
    bool shared;
    const char* before_read;
    LineState after;
  } cases[] = {
      {false, true, "a\r\n", LineState::kClosed},
      {true, true, "a", LineState::kClosed},
      {false, false, "a", LineState::kOpen},
      {true, false, "a", LineState::kOpenContinuing},
  };
  for (const Case& c : cases) {
    SetUp();
    console_record(" a", c.no_advance);
    console_before_read(c.shared);
    console_after_read(c.shared);
    EXPECT_EQ(written, c.before_read);
    EXPECT_EQ(console_state(), c.after);
  }
}

TEST_F(ConsoleTest, FreeFormRecordsHoldSeventyNineCharacters) {
  const std::string t78(78, 'x'), t79(79, 'y'), t80(80, 'z');
  console_free_form(t78);
  EXPECT_EQ(written, t78);
  SetUp();
  console_free_form(t79);
  EXPECT_EQ(written, t79 + "\r\n");  // then a record of the blank alone
  SetUp();
  console_free_form(t80);
  EXPECT_EQ(written, std::string(79, 'z') + "\r\nz");
  SetUp();
  console_free_form("");
  EXPECT_EQ(written, "");
  EXPECT_EQ(console_state(), LineState::kOpen);
}

TEST_F(ConsoleTest, BatchesHoldTheSameBytesUntilFlushed) {
  set_console_batching(true);
  console_record(" a", true);
  console_record(" b", false);
  console_direct("!");
  EXPECT_EQ(written, "");
  console_flush();
  EXPECT_EQ(written, "a b!");
  // A batch that would overflow goes out first, whole.
  const std::string big(40 * 1024, 'x');
  console_direct(big);
  console_direct(big);
  EXPECT_EQ(written, "a b!" + big);
  console_end_of_run();
  EXPECT_EQ(written, "a b!" + big + big + "\r\n");
}

TEST_F(ConsoleTest, FullDeviceAndRefusedAccessEndTheRunOtherFailuresDoNot) {
  testing::FatalCapture capture;
  fail_with = EPIPE;
  EXPECT_NO_THROW(console_record(" a", false));
  for (int error : {ENOSPC, EACCES}) {
    fail_with = error;
    try {
      console_record(" a", false);
      ADD_FAILURE() << "no failure for errno " << error;
    } catch (const testing::CapturedFailure& f) {
      EXPECT_EQ(f.failure.number, error == ENOSPC ? ErrorNumber::kNoSpace
                                                  : ErrorNumber::kWriteRefused);
      EXPECT_EQ(f.unit, "CON");
    }
  }
}

}  // namespace
}  // namespace prefscan
