#include "driver/console_input.h"

#include <unistd.h>

#include <cerrno>

#include "common/sysio.h"
#include "driver/signals.h"
#include "listing/console.h"

namespace prefscan {
namespace {

// Bytes taken from a pipe or file per read; the few short answers of a run
// arrive in one read.
constexpr std::size_t kInputChunk = 4096;

char line[kHeldLineLength];

char input[kInputChunk];
std::size_t input_next = 0;    // first byte not yet taken
std::size_t input_filled = 0;  // one past the last byte read
// A carriage return ended the last line; the byte after it belongs to no
// line. It is skipped when the next line is read, so a writer that waits
// for the next question before sending its line feed is not waited for.
bool skip_pending = false;

enum class Next : std::uint8_t { kByte, kEnd, kFailed };

// One read of standard input, retried when a signal interrupts it.
ssize_t read_stdin(char* buffer, std::size_t size) {
  while (true) {
    const ssize_t n = sysio.read(STDIN_FILENO, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
    act_on_pending_signal();
  }
}

Next next_byte(char& c) {
  if (input_next == input_filled) {
    const ssize_t n = read_stdin(input, sizeof input);
    if (n < 0) return Next::kFailed;
    if (n == 0) return Next::kEnd;
    input_next = 0;
    input_filled = static_cast<std::size_t>(n);
  }
  c = input[input_next++];
  return Next::kByte;
}

ConsoleLine read_terminal_line() {
  const ssize_t n = read_stdin(line, sizeof line);
  if (n < 0) return {{}, 0, LineEnd::kReadFailed, true};
  if (n == 0) return {{}, 0, LineEnd::kEndOfInput, true};
  std::size_t length = static_cast<std::size_t>(n);
  if (line[length - 1] == '\n') {
    --length;
    if (length > 0 && line[length - 1] == '\r') --length;
  }
  return {{line, length}, length, LineEnd::kComplete, true};
}

ConsoleLine read_piped_line() {
  std::size_t held = 0;
  std::size_t length = 0;
  auto result = [&](LineEnd end) { return ConsoleLine{{line, held}, length, end, false}; };
  char c = 0;
  if (skip_pending) {
    skip_pending = false;
    if (next_byte(c) == Next::kFailed) return result(LineEnd::kReadFailed);
  }
  while (true) {
    switch (next_byte(c)) {
      case Next::kEnd: return result(LineEnd::kEndOfInput);
      case Next::kFailed: return result(LineEnd::kReadFailed);
      case Next::kByte: break;
    }
    if (c == '\n') return result(LineEnd::kComplete);
    if (c == '\r') {
      skip_pending = true;
      return result(LineEnd::kComplete);
    }
    if (held < sizeof line) line[held++] = c;
    ++length;
  }
}

}  // namespace

ConsoleLine read_console_line() {
  // Whatever the console holds back (the request, the prompt) must be out
  // before the program waits for an answer.
  console_flush();
  return isatty(STDIN_FILENO) ? read_terminal_line() : read_piped_line();
}

void reset_console_input() {
  input_next = input_filled = 0;
  skip_pending = false;
}

}  // namespace prefscan
