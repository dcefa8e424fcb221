// Lines read from standard input: the answers to the file-name request and
// to the driver's prompt.
//
// Both answers come through one held buffer, so whatever a read from a pipe
// or a file brings in beyond the first answer is still there for the second.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace prefscan {

enum class LineEnd : std::uint8_t {
  kComplete,    // the line ended (or was one read from a terminal)
  kEndOfInput,  // standard input ended first; the text is the part read
  kReadFailed,  // the read failed; the text is the part read
};

struct ConsoleLine {
  std::string_view text;  // the characters held, without the line end
  std::size_t length;     // the whole line; more than text.size() when it did not fit
  LineEnd end;
  bool terminal;  // standard input is a terminal and the line was one raw read
};

// The most characters of one line that are held.
inline constexpr std::size_t kHeldLineLength = 4096;

// Reads the next line from standard input. From a terminal: one read of the
// raw line, its final line feed and a carriage return before that dropped.
// Otherwise: the characters up to the next line feed; a carriage return also
// ends the line, and the character after it is skipped. An interrupted read
// acts on a pending signal and is retried. The text stays valid until the
// next call.
ConsoleLine read_console_line();

// Forgets the held input; for in-process tests.
void reset_console_input();

}  // namespace prefscan
