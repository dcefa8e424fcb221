// A sparse input just past 4 GiB: block numbers, offsets and counts hold
// beyond 32 bits of bytes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "block_builder.h"
#include "run_prefscan.h"

namespace prefscan::testing {
namespace {

TEST(LargeFile, LastBlockPastFourGibibytesIsDecodedAndListed) {
  ScratchDir dir;
  constexpr off_t kFourGiB = 4LL << 30;
  const std::string path = dir.file("big.dat");
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  // A hole of 4 GiB of zero blocks (type 0) costs no disk; then one listed block.
  ASSERT_EQ(ftruncate(fd, kFourGiB), 0);
  const std::string last = BlockBuilder::type9({0, 4, 3, 6, 6, 2, 3, 5, 9, 5, 9});
  ASSERT_EQ(pwrite(fd, last.data(), last.size(), kFourGiB), static_cast<ssize_t>(last.size()));
  close(fd);

  RunOptions to_file;
  to_file.stdout_path = dir.file("out.txt");
  const RunResult r = run_prefscan(dir, {"big.dat"}, to_file);
  EXPECT_EQ(r.exit_status, 0) << r.err;
  // 1048576 blocks of the hole, then block 1048577.
  const std::string tail = "  Decoding preface:       rec # 1048577 type  9  04366 235959\r"
                           "\r\nStop - Program terminated.\r\n\r\n";
  const std::string out = dir.read("out.txt");
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  EXPECT_EQ(out.size(), 7 + 2 + 61 + 1048576u * 62 + 32);  // echo, first line, the rest, stop
  EXPECT_EQ(dir.read("preflist.g"),
            "  Date (Day of year) Time\r\n\r\n2004.12.31 (366) 23:59:59\r\n");
}

}  // namespace
}  // namespace prefscan::testing
