// The console output line: standard output as unit 6 and as the target of
// free-form console records, with one line state for both.
//
// A console record never ends its own line: its first character is a line
// control that is dropped, and the line end it owes is written by whatever
// comes next on the console (the next record, the stop, the end of the run).
#pragma once

#include <source_location>
#include <string_view>

#include "textio/transfer.h"

namespace prefscan {

enum class LineState {
  kClosed,          // no line end is owed
  kOpen,            // a record was written; its line end is owed
  kOpenContinuing,  // the same, and the record asked for no advance
};

LineState console_state();

// Writes one record built under a layout text, or by the free-form rules.
// A failed write ends the run when the device is full (6422) or access is
// refused (6421); any other failure is ignored and the run goes on.
void console_record(std::string_view record, bool no_advance,
                    std::source_location where = std::source_location::current());

// Writes `text` as free-form records: a blank and at most 79 characters of
// the text each.
void console_free_form(std::string_view text,
                       std::source_location where = std::source_location::current());

// Writes carriage return and line feed when the line is open; the state
// stays as it was.
void console_line_end_request();

// Writes bytes to standard output outside the record rules.
void console_direct(std::string_view bytes);

// Brackets a line read from standard input. When both standard input and
// standard output are consoles, the read shares the line: an open line that
// is not continuing is ended first, and the line is closed after the read.
void console_before_read(bool shared);
void console_after_read(bool shared);

// Writes the bytes held back while standard output is not a terminal. A
// full device or refused access ends the run, as for a record.
void console_flush(std::source_location where = std::source_location::current());

// The same, ignoring every failure: for the way out of a failed run.
void console_flush_unchecked();

// Whether output is held back in batches; decided from standard output
// (batches unless it is a terminal) until set here, as tests do.
void set_console_batching(bool on);

// Unit 6 for formatted writes.
RecordSink& console_unit();

// The console's part of the end-of-run rule: the owed line end, and every
// byte still held back.
void console_end_of_run();

// Back to the closed state of start-up; for in-process tests.
void reset_console();

}  // namespace prefscan
