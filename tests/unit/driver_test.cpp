// The main program run in a child process with its system-call seam set, for
// the cases a real file cannot produce on demand: a read that fails in the
// middle of the input, writes that come up short, and a block loop that runs
// through its bound.
#include "driver/program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>

#include "block_builder.h"
#include "common/blockdata.h"
#include "common/sysio.h"
#include "run_prefscan.h"

namespace prefscan {
namespace {

using testing::BlockBuilder;
using testing::ScratchDir;

struct ChildRun {
  std::string out, err;
  int exit_status;
};

// Runs prefscan_main in a forked child inside `dir` after `prepare`.
ChildRun run_in_child(const ScratchDir& dir, const std::string& input,
                      const std::function<void()>& prepare) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.path().c_str()) != 0) _exit(126);
    const int out = open("stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open("stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    prepare();
    std::string name = input;
    char* argv[] = {const_cast<char*>("prefscan"), name.data(), nullptr};
    _exit(prefscan_main(2, argv));
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return {dir.read("stdout"), dir.read("stderr"), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

int read_calls = 0;
ssize_t second_read_fails(int fd, void* buffer, size_t size) {
  if (++read_calls == 2) {
    errno = EIO;
    return -1;
  }
  return ::read(fd, buffer, size);
}

TEST(Driver, FailedReadInTheMiddleEndsTheRunAfterTheBlocksBeforeIt) {
  ScratchDir dir;
  // The first read takes a whole chunk of 64 blocks; the second one fails.
  std::string input;
  for (int i = 0; i < 70; ++i) input += BlockBuilder::type9({0, 1, 1, 8, 5, 1, 2, 3, 4, 5, 6}).str();
  dir.write("in.dat", input);
  const ChildRun r = run_in_child(dir, "in.dat", [] { sysio.read = second_read_fails; });
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_NE(r.err.find("run-time error F6500: READ(in.dat)\r\n"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("rec #      64"), std::string::npos);
  EXPECT_EQ(r.out.find("rec #      65"), std::string::npos);
  EXPECT_EQ(r.out.find("Stop"), std::string::npos);
  std::string listing = "  Date (Day of year) Time\r\n\r\n";
  for (int i = 0; i < 64; ++i) listing += "2001.07.04 (185) 12:34:56\r\n";
  EXPECT_EQ(dir.read("preflist.g"), listing);
}

ssize_t three_bytes_at_a_time(int fd, const void* buffer, size_t size) {
  return ::write(fd, buffer, size < 3 ? size : 3);
}

TEST(Driver, ShortWritesAreCompleted) {
  ScratchDir dir;
  std::string input;
  for (int i = 0; i < 50; ++i) input += BlockBuilder::type9({0, 4, 0, 6, 0, 2, 3, 5, 9, 0, 1}).str();
  dir.write("in.dat", input);
  const ChildRun r = run_in_child(dir, "in.dat", [] { sysio.write = three_bytes_at_a_time; });
  EXPECT_EQ(r.exit_status, 0) << r.err;
  std::string listing = "  Date (Day of year) Time\r\n\r\n";
  for (int i = 0; i < 50; ++i) listing += "2004.02.29 ( 60) 23:59:01\r\n";
  EXPECT_EQ(dir.read("preflist.g"), listing);
  const std::string end = "01\r\r\nStop - Program terminated.\r\n\r\n";
  EXPECT_EQ(r.out.substr(r.out.size() - end.size()), end);
}

TEST(Driver, LoopThatRunsThroughItsBoundSaysSo) {
  ScratchDir dir;
  dir.write("in.dat", BlockBuilder().str() + BlockBuilder().str() + BlockBuilder().str());
  const ChildRun r = run_in_child(dir, "in.dat", [] { MAXREC = 2; });
  EXPECT_EQ(r.exit_status, 0);
  const std::string line2 =
      "  Decoding preface:       rec #       2 type  0  00000 000000\r";
  // The first free-form record after a progress line is written whole over
  // it, its leading blank included; the next ones start new lines.
  EXPECT_EQ(r.out.substr(r.out.find(line2)),
            line2 + "   \r\n exited \"do 100\" loop.\r\n  \r\nStop - Program terminated.\r\n\r\n");
}

}  // namespace
}  // namespace prefscan
