// The dialogue on a terminal: whether the driver's read shares the console
// line, and the limits of a line read from a terminal.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "block_builder.h"
#include "expect_run.h"
#include "report_shape.h"
#include "run_prefscan.h"
#include "terminal_run.h"

namespace prefscan::testing {
namespace {

const std::string kRequest = "File name missing or blank - please enter file name\r\nUNIT 1? ";
const std::string kPrompt = " enter the input filename:";
const std::string kStop = "Stop - Program terminated.\r\n";
const std::string kProgress = " Decoding preface:       rec #       1 type  0  00000 000000\r";
// Standard input and output on the terminal, except the one named as a file;
// `input` is typed on the terminal or is the content of the input file.
enum class OnFile { kNeither, kStdout, kStdin };
TerminalRunOptions on_terminal(std::string input, OnFile on_file = OnFile::kNeither) {
  TerminalRunOptions run;
  run.input = std::move(input);
  run.stdout_on_terminal = on_file != OnFile::kStdout;
  run.stdin_on_terminal = on_file != OnFile::kStdin;
  return run;
}

constexpr char kEndOfFileKey = '\x04';  // the terminal's end-of-file character

struct Case {
  const char* what;
  TerminalRunOptions run;
  std::string out;
  std::string err;  // the report's error and unit; empty: no report
  int exit_status;
};

class TerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!terminals_available()) GTEST_SKIP() << "no pseudo-terminals on this machine";
    dir_.write("empty.dat", "");
    dir_.write("blocks.dat", BlockBuilder().str());
  }

  void check(const Case& c) {
    const RunResult r = run_prefscan_on_terminal(dir_, {}, c.run);
    expect_run(r, c.out, c.err, c.exit_status, c.what);
  }

  ScratchDir dir_;
};

TEST_F(TerminalTest, DriversReadSharesTheLineOnlyWhenBothStreamsAreTerminals) {
  const Case cases[] = {
      // The prompt's line is ended before the read, and closed after it: the
      // stop owes nothing and the end of the run adds nothing.
      {"both on the terminal, no block", on_terminal("empty.dat\nx\n"),
       kRequest + kPrompt + "\r\n" + kStop, "", 0},
      {"both on the terminal: the first progress line needs no line end",
       on_terminal("blocks.dat\nx\n"),
       kRequest + kPrompt + "\r\n" + kProgress + "\r\n" + kStop + "\r\n", "", 0},
      // Otherwise the read leaves the line open, and the stop ends it.
      {"standard output to a file", on_terminal("empty.dat\nx\n", OnFile::kStdout),
       kRequest + kPrompt + "\r\n" + kStop + "\r\n", "", 0},
      {"standard input from a file", on_terminal("empty.dat\nx\n", OnFile::kStdin),
       kRequest + kPrompt + "\r\n" + kStop + "\r\n", "", 0},
      {"standard output to a file, one block", on_terminal("blocks.dat\nx\n", OnFile::kStdout),
       kRequest + kPrompt + "\r\n" + kProgress + "\r\n" + kStop + "\r\n", "", 0},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(TerminalTest, LineLimitsOfTheDriversRead) {
  // A failure after the shared read: the line was ended before it and is
  // closed, so nothing more goes to standard output.
  const std::string asked = kRequest + kPrompt + "\r\n";
  const std::string long_name = std::string(196, 'n') + ".dat";
  dir_.write(long_name, "");
  const Case cases[] = {
      {"130 characters fit", on_terminal("empty.dat\n" + std::string(130, 'x') + "\n"),
       asked + kStop, "", 0},
      {"the line's carriage return and line feed are not counted",
       on_terminal("empty.dat\r\n" + std::string(130, 'x') + "\r\n"), asked + kStop, "", 0},
      {"131 characters do not", on_terminal("empty.dat\n" + std::string(131, 'x') + "\n"), asked,
       "F6407: READ(CON)", 1},
      {"character 26 at the end stands for the end of input", on_terminal("empty.dat\nabc\x1a\n"),
       asked, "F6501: READ(CON)", 1},
      {"character 26 alone", on_terminal("empty.dat\n\x1a\n"), asked, "F6501: READ(CON)", 1},
      {"character 26 inside the line is a character",
       on_terminal("empty.dat\na\x1a"
                   "b\n"),
       asked + kStop, "", 0},
      {"the terminal's end of file at the driver's question",
       on_terminal(std::string("empty.dat\n") + kEndOfFileKey), asked, "F6501: READ(CON)", 1},
      {"the terminal's end of file at the request", on_terminal(std::string(1, kEndOfFileKey)),
       kRequest, "F6501: OPEN()", 1},
      // The limits belong to the driver's read: the request takes a longer line.
      {"a name of 200 characters typed at the request", on_terminal(long_name + "\nx\n"),
       asked + kStop, "", 0},
  };
  for (const Case& c : cases) check(c);
}

}  // namespace
}  // namespace prefscan::testing
