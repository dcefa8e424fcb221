// Whole runs over blocks of the various types: the progress line shows what
// PREFCH decoded, and a packed nibble above 9 ends the run from inside it.
#include <gtest/gtest.h>

#include <string>

#include "block_builder.h"
#include "expected_output.h"
#include "report_shape.h"
#include "run_prefscan.h"

namespace prefscan::testing {
namespace {


TEST(PrefchRun, EachLayoutShowsItsDigitsInTheProgressLine) {
  BlockBuilder type13;
  type13.byte(1, 13);
  const int digits13[] = {0, 3, 0, 1, 2, 1, 7, 5, 9, 0, 1};
  for (int i = 0; i < 11; ++i) type13.bit_digit(5 + 4 * i, digits13[i]);

  ScratchDir dir;
  dir.write("in.dat",
            concat({
                BlockBuilder().bytes(1, {0xF3, 60, 255, 0x02, 0x01, 0x23, 0, 0, 0x14, 0x05, 0x59}),
                BlockBuilder()
                    .bytes(1, {15, 0, 0, 204, 204, 0, 0, 0, 0, 255})
                    .bytes(11, {0x02, 0x03, 0x65, 0, 0, 0x23, 0x59, 0x59}),
                BlockBuilder().bytes(1, {2, 61, 255, 0x02, 0x01, 0x23}),
                type13,
                BlockBuilder().bytes(1, {0x0B, 60}).nibbles(4, {0, 4, 0, 6, 0, 0, 8, 3, 0, 1, 5}),
            }));
  const RunResult r = run_prefscan(dir, {"in.dat"});

  EXPECT_EQ(r.out, "in.dat\r\n" + progress_record(1, "  3", "02123", "140559") + " " +
                       progress_record(2, " 15", "02365", "235959") + " " +
                       progress_record(3, "-98", "00000", "000000") + " " +
                       progress_record(4, " 13", "03012", "175901") + " " +
                       progress_record(5, " 11", "04060", "083015") + kStopAfterOpenLine);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.exit_status, 0);
  // Types 3 and 11 are listed; 15, the lowered 2 and 13 are not.
  EXPECT_EQ(dir.read("preflist.g"),
            kListingHeader + "2002.05.03 (123) 14:05:59\r\n" + "2004.02.29 ( 60) 08:30:15\r\n");
}

TEST(PrefchRun, PackedNibbleAboveNineEndsTheRunWithPrefchInTheTraceback) {
  ScratchDir dir;
  dir.write("in.dat",
            concat({
                BlockBuilder::type9({0, 1, 1, 8, 5, 1, 2, 3, 4, 5, 6}),
                BlockBuilder().bytes(1, {7, 0, 255, 0x02, 0x01, 0x23, 0, 0, 0x14, 0x05, 0x59}),
                // The hour's second digit is the letter A.
                BlockBuilder().bytes(1, {3, 60, 255, 0x02, 0x01, 0x23, 0, 0, 0x1A, 0x05, 0x59}),
                BlockBuilder::type9({0, 1, 1, 8, 6, 1, 2, 3, 4, 5, 6}),
            }));
  const RunResult r = run_prefscan(dir, {"in.dat"});

  EXPECT_EQ(r.exit_status, 1);
  // The first two blocks keep their progress lines, the failing one has
  // none, the owed line end follows and there is no stop message.
  EXPECT_EQ(r.out, "in.dat\r\n" + progress_record(1, "  9", "01185", "123456") + " " +
                       progress_record(2, "  7", "02123", "140559") + "\r\n");
  EXPECT_EQ(dir.read("preflist.g"),
            kListingHeader + "2001.07.04 (185) 12:34:56\r\n" + "2002.05.03 (123) 14:05:59\r\n");

  // The report names PREFCH's current statement first, then the main
  // program at its call.
  EXPECT_TRUE(is_report(r.err, "F6101: READ(internal)", {"PREFCH", "main program"})) << r.err;
}

}  // namespace
}  // namespace prefscan::testing
