// Whole runs of the binary: standard output, the listing and the exit status
// byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "block_builder.h"
#include "expected_output.h"
#include "run_prefscan.h"

namespace prefscan::testing {
namespace {


TEST(Run, TwoBlockExampleGivesTheExactConsoleBytesAndListing) {
  ScratchDir dir;
  dir.write("blocks.dat", concat({BlockBuilder::type9({0, 1, 1, 8, 5, 1, 2, 3, 4, 5, 6}),
                                  BlockBuilder::type9({0, 1, 1, 8, 5, 1, 2, 3, 5, 5, 6})}));
  const RunResult r = run_prefscan(dir, {"blocks.dat"});

  const std::string expected = "blocks.dat\r\n" + progress_record(1, "  9", "01185", "123456") + " " +
                               progress_record(2, "  9", "01185", "123556") + kStopAfterOpenLine;
  EXPECT_EQ(r.out, expected);
  EXPECT_EQ(r.out.size(), 167u);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.exit_status, 0);
  const std::string listing =
      kListingHeader + "2001.07.04 (185) 12:34:56\r\n" + "2001.07.04 (185) 12:35:56\r\n";
  EXPECT_EQ(dir.read("preflist.g"), listing);
  EXPECT_EQ(listing.size(), 83u);
}

TEST(Run, ExistingListingKeepsItsBytesAndGetsTheRunAppended) {
  ScratchDir dir;
  dir.write("blocks.dat", BlockBuilder::type9({0, 1, 1, 8, 5, 1, 2, 3, 4, 5, 6}));
  const std::string old = "old line without an end";
  dir.write("preflist.g", old);
  ASSERT_EQ(run_prefscan(dir, {"blocks.dat"}).exit_status, 0);
  ASSERT_EQ(run_prefscan(dir, {"blocks.dat"}).exit_status, 0);
  const std::string one_run = kListingHeader + "2001.07.04 (185) 12:34:56\r\n";
  EXPECT_EQ(dir.read("preflist.g"), old + one_run + one_run);
}

// Inputs of no, three and three-and-a-bit blocks: a trailing partial block is
// neither decoded nor shown.
TEST(Run, BlockCountFollowsTheCompleteBlocksOnly) {
  const std::string block = BlockBuilder().str();
  const std::string three = progress_record(1, "  0", "00000", "000000") + " " +
                            progress_record(2, "  0", "00000", "000000") + " " +
                            progress_record(3, "  0", "00000", "000000");
  struct Case {
    std::string input;
    std::string progress_lines;
  } cases[] = {
      {"", ""},
      {std::string(100, 'x'), ""},
      {block + block + block, "\r\n" + three},
      {block + block + block + std::string(100, '\x09'), "\r\n" + three},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    dir.write("in.dat", c.input);
    const RunResult r = run_prefscan(dir, {"in.dat"});
    EXPECT_EQ(r.out, "in.dat" + c.progress_lines + kStopAfterOpenLine) << c.input.size() << " bytes";
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(dir.read("preflist.g"), kListingHeader);
  }
}

}  // namespace
}  // namespace prefscan::testing
