// Lines from a standard input that is not a terminal, however the reads
// split the bytes.
#include "driver/console_input.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "common/sysio.h"

namespace prefscan {
namespace {

std::string script;
std::size_t delivered = 0;
std::size_t per_read = 1;
bool interrupt_next = false;

// Hands out the script `per_read` bytes at a time, each read after an
// interrupted one.
ssize_t scripted_read(int fd, void* buffer, size_t size) {
  if (fd != STDIN_FILENO) return ::read(fd, buffer, size);
  interrupt_next = !interrupt_next;
  if (interrupt_next) {
    errno = EINTR;
    return -1;
  }
  std::size_t n = script.size() - delivered;
  if (n > per_read) n = per_read;
  if (n > size) n = size;
  std::memcpy(buffer, script.data() + delivered, n);
  delivered += n;
  return static_cast<ssize_t>(n);
}

class ConsoleInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Whatever the tests run from, standard input is not a terminal here.
    saved_stdin_ = dup(STDIN_FILENO);
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, STDIN_FILENO);
    close(null);
    sysio.read = scripted_read;
  }
  void TearDown() override {
    reset_sysio();
    reset_console_input();
    dup2(saved_stdin_, STDIN_FILENO);
    close(saved_stdin_);
  }

  int saved_stdin_ = -1;
};

struct Line {
  std::string text;
  LineEnd end;
  bool operator==(const Line&) const = default;
};

std::vector<Line> lines_of(const std::string& bytes, std::size_t chunk, int count) {
  reset_console_input();
  script = bytes;
  delivered = 0;
  per_read = chunk;
  interrupt_next = false;
  std::vector<Line> lines;
  for (int i = 0; i < count; ++i) {
    const ConsoleLine line = read_console_line();
    EXPECT_FALSE(line.terminal);
    EXPECT_EQ(line.length, line.text.size());
    lines.push_back({std::string(line.text), line.end});
  }
  return lines;
}

TEST_F(ConsoleInputTest, LinesAreTheSameForEverySplitOfTheReads) {
  // A carriage return ends its line and takes the next byte with it, also
  // when that byte comes in a later read.
  const std::string bytes = "\rXab\r\ncd\n e \rfg";
  const std::vector<Line> expected = {
      {"", LineEnd::kComplete},    {"ab", LineEnd::kComplete},  {"cd", LineEnd::kComplete},
      {" e ", LineEnd::kComplete}, {"g", LineEnd::kEndOfInput}, {"", LineEnd::kEndOfInput},
  };
  for (std::size_t chunk : {1, 2, 3, 5, 4096}) {
    EXPECT_EQ(lines_of(bytes, chunk, 6), expected) << chunk << " bytes per read";
  }
}

TEST_F(ConsoleInputTest, ALineLongerThanHeldKeepsItsStartAndItsLength) {
  reset_console_input();
  script = std::string(kHeldLineLength + 10, 'a') + "\nnext\n";
  delivered = 0;
  per_read = 1000;
  const ConsoleLine long_line = read_console_line();
  EXPECT_EQ(long_line.text, std::string(kHeldLineLength, 'a'));
  EXPECT_EQ(long_line.length, kHeldLineLength + 10);
  EXPECT_EQ(long_line.end, LineEnd::kComplete);
  EXPECT_EQ(read_console_line().text, "next");
}

}  // namespace
}  // namespace prefscan
