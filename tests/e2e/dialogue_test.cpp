// Naming the input file: the command-line argument, or the file-name request
// answered on standard input, and the driver's own question after it; with
// standard input from a file, as a pipe or redirection gives it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "block_builder.h"
#include "expected_output.h"
#include "expect_run.h"
#include "report_shape.h"
#include "run_prefscan.h"

namespace prefscan::testing {
namespace {

const std::string kRequest = "File name missing or blank - please enter file name\r\nUNIT 1? ";
const std::string kPrompt = " enter the input filename:";
// One all-zero block, then the stop and the owed line ends.
const std::string kOneBlock =
    "\r\n Decoding preface:       rec #       1 type  0  00000 000000\r\r\n"
    "Stop - Program terminated.\r\n\r\n";

// An existing input file whose name, as given, has `length` characters: a
// directory named by `letter` repeated, then the file in it, so that no part
// of the name is longer than the platform allows.
std::string long_name(const ScratchDir& dir, std::size_t length, char letter) {
  const std::string sub(120, letter);
  if (mkdir(dir.file(sub).c_str(), 0755) != 0) throw std::runtime_error("cannot make " + sub);
  const std::string name = sub + "/" + std::string(length - sub.size() - 5, letter) + ".dat";
  dir.write(name, BlockBuilder().str());
  return name;
}

struct Case {
  const char* what;
  std::vector<std::string> args;
  std::string input;  // standard input
  std::string out;    // the whole of standard output
  std::string err;    // the report's error and unit; empty: no report
  int exit_status;
};

class DialogueTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.write("blocks.dat", BlockBuilder().str()); }

  void check(const Case& c) {
    RunOptions options;
    options.stdin_bytes = c.input;
    const RunResult r = run_prefscan(dir_, c.args, options);
    expect_run(r, c.out, c.err, c.exit_status, c.what);
  }

  ScratchDir dir_;
};

TEST_F(DialogueTest, AnswersFromStandardInputNameTheFile) {
  const Case cases[] = {
      {"request answered, then the driver's question answered",
       {},
       "blocks.dat\nx\n",
       kRequest + kPrompt + kOneBlock,
       "",
       0},
      {"carriage return and line feed end the lines",
       {},
       "blocks.dat\r\nx\r\n",
       kRequest + kPrompt + kOneBlock,
       "",
       0},
      {"an empty answer brings the request again",
       {},
       "\nblocks.dat\nx\n",
       kRequest + kRequest + kPrompt + kOneBlock,
       "",
       0},
      {"blank answers bring it again, every time",
       {},
       "   \n\r\n blocks.dat  \nx\n",
       kRequest + kRequest + kRequest + kPrompt + kOneBlock,
       "",
       0},
      // The character after a carriage return is skipped whatever it is.
      {"a carriage return ends the line and swallows the next character",
       {},
       "\rXblocks.dat\rYx\n",
       kRequest + kRequest + kPrompt + kOneBlock,
       "",
       0},
      {"the driver's answer may be longer than its 80 characters",
       {},
       "blocks.dat\n" + std::string(300, 'x') + "\n",
       kRequest + kPrompt + kOneBlock,
       "",
       0},
      {"a blank argument is followed by the request and echoed as nothing",
       {"  "},
       "blocks.dat\n",
       kRequest + kOneBlock,
       "",
       0},
      {"an empty argument likewise", {""}, "blocks.dat\n", kRequest + kOneBlock, "", 0},
  };
  for (const Case& c : cases) check(c);
  // Every run above added one header.
  std::string headers;
  for (std::size_t i = 0; i < std::size(cases); ++i) headers += kListingHeader;
  EXPECT_EQ(dir_.read("preflist.g"), headers);
}

TEST_F(DialogueTest, ArgumentsNameTheFileAndAreEchoed) {
  ASSERT_EQ(mkdir(dir_.file("d").c_str(), 0755), 0);
  // The echo shows at most the first 80 characters, 79 on a line.
  const std::string name79 = "d/" + std::string(73, 'a') + ".dat";
  const std::string name81 = "d/" + std::string(75, 'b') + ".dat";
  // The longest name the connection takes.
  const std::string name259 = long_name(dir_, 259, 'c');
  ASSERT_EQ(name79.size(), 79u);
  ASSERT_EQ(name81.size(), 81u);
  ASSERT_EQ(name259.size(), 259u);
  for (const std::string& name : {name79, name81}) {
    dir_.write(name, BlockBuilder().str());
  }
  const Case cases[] = {
      {"one argument", {"blocks.dat"}, "", "blocks.dat" + kOneBlock, "", 0},
      {"a second argument is ignored",
       {"blocks.dat", "nofile.dat"},
       "",
       "blocks.dat" + kOneBlock,
       "",
       0},
      {"blanks around the name: the echo keeps the leading ones",
       {"  blocks.dat  "},
       "",
       "  blocks.dat" + kOneBlock,
       "",
       0},
      {"79 characters fill a line and leave an empty one",
       {name79},
       "",
       name79 + "\r\n" + kOneBlock,
       "",
       0},
      {"81 characters: 79, then the 80th alone",
       {name81},
       "",
       name81.substr(0, 79) + "\r\n" + name81.substr(79, 1) + kOneBlock,
       "",
       0},
      {"259 characters open the file; the echo shows 80",
       {name259},
       "",
       name259.substr(0, 79) + "\r\n" + name259.substr(79, 1) + kOneBlock,
       "",
       0},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(DialogueTest, FailuresEndTheRunBeforeTheListingOrAtTheDriversQuestion) {
  // A name the platform would open, one character longer than the name
  // text holds.
  const std::string name260 = long_name(dir_, 260, 'e');
  ASSERT_EQ(name260.size(), 260u);
  const Case before_listing[] = {
      {"empty standard input: the request once, then end of file",
       {},
       "",
       kRequest,
       "F6501: OPEN()",
       1},
      {"input ending inside the answer names the part read",
       {},
       "\n  bloc",
       kRequest + kRequest,
       "F6501: OPEN(bloc)",
       1},
      {"a missing file typed at the request",
       {},
       "nofile.dat\nx\n",
       kRequest,
       "F6416: OPEN(nofile.dat)",
       1},
      {"a missing file named by the argument",
       {"nofile.dat"},
       "",
       "",
       "F6416: OPEN(nofile.dat)",
       1},
      {"an argument longer than the name text is refused, not cut",
       {" " + name260},
       "",
       "",
       "F6412: OPEN(" + name260 + ")",
       1},
      {"an answer longer than the name text likewise",
       {},
       name260 + "\n",
       kRequest,
       "F6412: OPEN(" + name260 + ")",
       1},
  };
  for (const Case& c : before_listing) {
    check(c);
    EXPECT_FALSE(dir_.exists("preflist.g")) << c.what;
  }

  // At the driver's question the listing has its header; the prompt's line
  // end is still owed and the end of the run writes it.
  const Case at_prompt[] = {
      {"input ending at the driver's question",
       {},
       "blocks.dat\n",
       kRequest + kPrompt + "\r\n",
       "F6501: READ(CON)",
       1},
      {"input ending inside the driver's answer",
       {},
       "blocks.dat\nxy",
       kRequest + kPrompt + "\r\n",
       "F6501: READ(CON)",
       1},
  };
  for (const Case& c : at_prompt) check(c);
  EXPECT_EQ(dir_.read("preflist.g"), kListingHeader + kListingHeader);
}

// A closed standard input reads as an empty one.
TEST_F(DialogueTest, ClosedStandardInputEndsAtTheRequest) {
  RunOptions options;
  options.no_stdin = true;
  const RunResult r = run_prefscan(dir_, {}, options);
  EXPECT_EQ(r.out, kRequest);
  EXPECT_TRUE(is_main_program_report(r.err, "F6501: OPEN()")) << r.err;
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_FALSE(dir_.exists("preflist.g"));
}

}  // namespace
}  // namespace prefscan::testing
