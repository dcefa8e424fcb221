// Runs that fail: the fatal report on standard error, exit status 1, and
// what standard output and the listing keep.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "block_builder.h"
#include "expected_output.h"
#include "report_shape.h"
#include "run_prefscan.h"

namespace prefscan::testing {
namespace {

const std::string kDateLine = "2001.07.04 (185) 12:34:56\r\n";

std::string listed_block() { return BlockBuilder::type9({0, 1, 1, 8, 5, 1, 2, 3, 4, 5, 6}); }

TEST(Fault, MissingInputFileTouchesNothing) {
  for (bool listing_exists : {false, true}) {
    ScratchDir dir;
    if (listing_exists) dir.write("preflist.g", "kept");
    const RunResult r = run_prefscan(dir, {"nofile.dat"});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(is_main_program_report(r.err, "F6416: OPEN(nofile.dat)"))
        << r.err;
    EXPECT_EQ(dir.exists("preflist.g"), listing_exists);
    if (listing_exists) {
      EXPECT_EQ(dir.read("preflist.g"), "kept");
    }
  }
}

TEST(Fault, DirectoryAsInputIsAFailedRead) {
  ScratchDir dir;
  mkdir(dir.file("sub").c_str(), 0755);
  const RunResult r = run_prefscan(dir, {"sub"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(is_main_program_report(r.err, "F6500: READ(sub)")) << r.err;
  // The echo went out and its line end is owed at the end of the run.
  EXPECT_EQ(r.out, "sub\r\n");
  EXPECT_EQ(dir.read("preflist.g"), kListingHeader);
}

TEST(Fault, PermissionsAreRefusedForAnUnprivilegedUser) {
  struct Case {
    const char* what;
    std::string error_and_unit;
  } cases[] = {
      {"unreadable input", "F6414: OPEN(in.dat)"},
      {"read-only listing", "F6421: WRITE(preflist.g)"},
      {"unwritable directory", "F6414: OPEN(preflist.g)"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    dir.write("in.dat", listed_block());
    const std::string what = c.what;
    if (what == "unreadable input") chmod(dir.file("in.dat").c_str(), 0600);
    if (what == "read-only listing") {
      dir.write("preflist.g", "old content\r\n");
      chmod(dir.file("preflist.g").c_str(), 0444);
    }
    if (what == "unwritable directory") chmod(dir.path().c_str(), 0555);
    RunOptions as_nobody;
    as_nobody.unprivileged = true;
    const RunResult r = run_prefscan(dir, {"in.dat"}, as_nobody);
    chmod(dir.path().c_str(), 0777);
    EXPECT_EQ(r.exit_status, 1) << what;
    EXPECT_TRUE(is_main_program_report(r.err, c.error_and_unit)) << what << ": " << r.err;
    // Each fails before the echo, so standard output stays empty.
    EXPECT_EQ(r.out, "") << what;
    if (what == "read-only listing") {
      EXPECT_EQ(dir.read("preflist.g"), "old content\r\n");
    }
    if (what == "unwritable directory") {
      EXPECT_FALSE(dir.exists("preflist.g"));
    }
  }
}

TEST(Fault, FullDeviceUnderTheListingFailsTheRun) {
  // A few blocks fit the listing buffer and fail only at the end of the run,
  // after the stop message; many fill it and fail inside the block loop.
  for (int blocks : {2, 60}) {
    ScratchDir dir;
    std::string input;
    for (int i = 0; i < blocks; ++i) input += listed_block();
    dir.write("in.dat", input);
    ASSERT_EQ(symlink("/dev/full", dir.file("preflist.g").c_str()), 0);
    const RunResult r = run_prefscan(dir, {"in.dat"});
    EXPECT_EQ(r.exit_status, 1) << blocks;
    EXPECT_TRUE(is_main_program_report(r.err, "F6422: WRITE(preflist.g)"))
        << r.err;
    const bool stopped = r.out.find("Stop - Program terminated.") != std::string::npos;
    EXPECT_EQ(stopped, blocks == 2) << blocks;
    // 29 header bytes and 27 per line: the 1024-byte buffer is full during block 37.
    if (blocks == 60) {
      EXPECT_NE(r.out.find("rec #      36"), std::string::npos);
      EXPECT_EQ(r.out.find("rec #      37"), std::string::npos);
      EXPECT_EQ(r.out.substr(r.out.size() - 3), "\r\r\n");
    }
  }
}

TEST(Fault, ClosedStandardOutputStillGetsTheListingWritten) {
  ScratchDir dir;
  dir.write("in.dat", listed_block() + listed_block());
  RunOptions closed;
  closed.stdout_closed_pipe = true;
  const RunResult r = run_prefscan(dir, {"in.dat"}, closed);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.read("preflist.g"), kListingHeader + kDateLine + kDateLine);
}

TEST(Fault, ConsoleOnAFullDeviceEndsTheRun) {
  ScratchDir dir;
  dir.write("in.dat", listed_block());
  RunOptions full;
  full.stdout_path = "/dev/full";
  const RunResult r = run_prefscan(dir, {"in.dat"}, full);
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(is_main_program_report(r.err, "F6422: WRITE(CON)")) << r.err;
  EXPECT_EQ(dir.read("preflist.g"), kListingHeader);
}

// With standard output and error closed, the files opened next must not
// take their descriptors: the listing gets its own lines and nothing else.
TEST(Fault, ClosedStandardStreamsDoNotLeakIntoTheListing) {
  ScratchDir dir;
  const std::string bad = BlockBuilder().byte(1, 9).byte(2, 60).nibbles(4, {0, 11});
  dir.write("in.dat", listed_block() + listed_block() + bad);
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.path().c_str()) != 0) _exit(126);
    close(STDOUT_FILENO);
    close(STDERR_FILENO);
    execl(prefscan_binary(), prefscan_binary(), "in.dat", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(dir.read("preflist.g"), kListingHeader + kDateLine + kDateLine);
  EXPECT_EQ(dir.read("in.dat").size(), 3 * 4096u);
}

// A signal while the program waits for more input: the blocks already
// decoded keep their listing lines and the process ends by the signal.
TEST(Fault, InterruptingSignalsKeepTheListing) {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    ScratchDir dir;
    const std::string fifo = dir.file("in.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string out_path = dir.file("stdout");
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir.path().c_str()) != 0) _exit(126);
      const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, STDOUT_FILENO);
      execl(prefscan_binary(), prefscan_binary(), "in.fifo", static_cast<char*>(nullptr));
      _exit(127);
    }
    const int writer = open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    const std::string two = listed_block() + listed_block();
    ASSERT_EQ(write(writer, two.data(), two.size()), static_cast<ssize_t>(two.size()));
    // Wait for both progress lines, then interrupt the read of the third block.
    for (int i = 0; i < 5000 && dir.read("stdout").find("rec #       2") == std::string::npos; ++i) {
      usleep(1000);
    }
    kill(pid, signal_number);
    int status = 0;
    waitpid(pid, &status, 0);
    close(writer);
    ASSERT_TRUE(WIFSIGNALED(status)) << signal_number;
    EXPECT_EQ(WTERMSIG(status), signal_number);
    EXPECT_EQ(dir.read("preflist.g"), kListingHeader + kDateLine + kDateLine) << signal_number;
    const std::string out = dir.read("stdout");
    EXPECT_EQ(out.substr(out.size() - 3), "\r\r\n") << signal_number;
    EXPECT_EQ(out.find("Stop"), std::string::npos);
  }
}

// A signal ignored when the program started (a background job, nohup)
// stays ignored: the run goes on to its normal end.
TEST(Fault, SignalIgnoredAtStartStaysIgnored) {
  ScratchDir dir;
  const std::string fifo = dir.file("in.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.path().c_str()) != 0) _exit(126);
    signal(SIGTERM, SIG_IGN);
    const int out = open("stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, STDOUT_FILENO);
    execl(prefscan_binary(), prefscan_binary(), "in.fifo", static_cast<char*>(nullptr));
    _exit(127);
  }
  const int writer = open(fifo.c_str(), O_WRONLY);
  ASSERT_GE(writer, 0);
  const std::string one = listed_block();
  ASSERT_EQ(write(writer, one.data(), one.size()), static_cast<ssize_t>(one.size()));
  kill(pid, SIGTERM);
  usleep(200 * 1000);
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the ignored signal ended the run";
  close(writer);
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(dir.read("preflist.g"), kListingHeader + kDateLine);
}

}  // namespace
}  // namespace prefscan::testing
