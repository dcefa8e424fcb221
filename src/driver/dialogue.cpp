#include "driver/dialogue.h"

#include <unistd.h>

#include <cstring>

#include "common/sysio.h"
#include "driver/console_input.h"
#include "listing/console.h"
#include "textio/checked.h"
#include "textio/fatal.h"

namespace prefscan {
namespace {

constexpr std::size_t kInfileLength = 80;
// A console read holds 132 characters with the line's carriage return and
// line feed.
constexpr std::size_t kMaxConsoleLine = 130;
// A console line ending in this character stands for the end of input.
constexpr char kEndOfInputMark = 26;

// Written directly, outside the record rules; the cursor stays after "? ".
constexpr std::string_view kFileNameRequest =
    "File name missing or blank - please enter file name\r\nUNIT 1? ";
constexpr std::string_view kDriverPrompt = " enter the input filename:";

int argument_cursor = 1;
char name_text[kMaxFileNameLength];
// The driver's copy of argument 1 or of its typed answer; never used to
// open anything.
char INFILE[kInfileLength];

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The name text; a name it cannot hold is refused rather than cut.
std::string_view keep_name(std::string_view name, std::source_location where) {
  if (name.size() > kMaxFileNameLength)
    fatal({ErrorNumber::kInvalidName, Statement::kOpen, name}, where);
  std::memcpy(name_text, name.data(), name.size());
  return {name_text, name.size()};
}

void fill_infile(std::string_view text) {
  const std::size_t n = text.size() < kInfileLength ? text.size() : kInfileLength;
  std::memset(INFILE, ' ', kInfileLength);
  std::memcpy(INFILE, text.data(), n);
}

// The read after the driver's prompt. It shares the console line only when
// both standard input and standard output are terminals: then the typed
// line end has moved the cursor, and the line is closed after the read
// whatever the read brought.
void read_prompt_answer(std::source_location where) {
  const bool shared = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
  console_before_read(shared);
  const ConsoleLine answer = read_console_line();
  console_after_read(shared);
  if (answer.end == LineEnd::kEndOfInput) {
    fatal({ErrorNumber::kEndOfFile, Statement::kRead, kConsoleUnit}, where);
  }
  if (answer.end == LineEnd::kReadFailed) {
    fatal({ErrorNumber::kReadFailed, Statement::kRead, kConsoleUnit}, where);
  }
  if (answer.terminal) {
    if (answer.length > kMaxConsoleLine) {
      fatal({ErrorNumber::kConsoleLineTooLong, Statement::kRead, kConsoleUnit}, where);
    }
    if (!answer.text.empty() && answer.text.back() == kEndOfInputMark) {
      fatal({ErrorNumber::kEndOfFile, Statement::kRead, kConsoleUnit}, where);
    }
  }
  fill_infile(answer.text);
}

}  // namespace

std::string_view obtain_input_name(int argc, char** argv, std::source_location where) {
  std::string_view name;
  if (argument_cursor < argc) {
    const std::string_view argument = trim_blanks(argv[argument_cursor]);
    argument_cursor = add(argument_cursor, 1);
    name = keep_name(argument, where);
  }
  if (!name.empty()) return name;

  console_line_end_request();
  while (name.empty()) {
    console_direct(kFileNameRequest);
    const ConsoleLine answer = read_console_line();
    const std::string_view typed = trim_blanks(answer.text);
    // The request is part of making the connection, so its failures are
    // reported as the connection's, named by what was typed so far.
    if (answer.end == LineEnd::kEndOfInput) {
      fatal({ErrorNumber::kEndOfFile, Statement::kOpen, typed}, where);
    }
    if (answer.end == LineEnd::kReadFailed) {
      fatal({ErrorNumber::kReadFailed, Statement::kOpen, typed}, where);
    }
    if (answer.length > answer.text.size()) {
      fatal({ErrorNumber::kInvalidName, Statement::kOpen, typed}, where);
    }
    name = keep_name(typed, where);
  }
  return name;
}

void driver_dialogue(int argc, char** argv, std::source_location where) {
  if (argc < 2) {
    console_free_form(kDriverPrompt, where);
    read_prompt_answer(where);
    return;
  }
  fill_infile(argv[1]);
  std::size_t trimmed = kInfileLength;
  while (trimmed > 0 && INFILE[trimmed - 1] == ' ') --trimmed;
  console_free_form({INFILE, trimmed}, where);
}

}  // namespace prefscan
