#include "listing/console.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/sysio.h"
#include "textio/fatal.h"

namespace prefscan {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
// Text characters of one free-form record after its leading blank.
constexpr std::size_t kFreeFormWidth = 79;

LineState state = LineState::kClosed;

// Standard output that is not a terminal is written in batches: nobody
// watches it line by line, and a system call per block would cost more than
// reading the block. A batch goes out before every read of the input and of
// standard input, before a fatal report and at the end of the run, so the
// bytes and their order are the same as with one write per record.
constexpr std::size_t kBatchSize = 64 * 1024;
char batch[kBatchSize];
std::size_t held = 0;
enum class Batching { kUndecided, kOn, kOff } batching = Batching::kUndecided;

bool batching_on() {
  if (batching == Batching::kUndecided) {
    batching = isatty(STDOUT_FILENO) ? Batching::kOff : Batching::kOn;
  }
  return batching == Batching::kOn;
}

// Only a full device and a refused access end the run; a console that went
// away (a closed pipe, say) must not stop the listing being written.
void check(int error, std::source_location where) {
  if (error == ENOSPC || error == EDQUOT || error == EACCES || error == EPERM) {
    fatal({write_error_for(error), Statement::kWrite, kConsoleUnit}, where);
  }
}

int write_held() {
  const std::size_t n = held;
  held = 0;  // a failure is not written twice
  return n == 0 ? 0 : write_fully(STDOUT_FILENO, {batch, n});
}

void emit(std::string_view bytes, bool checked, std::source_location where) {
  if (batching_on()) {
    if (held + bytes.size() > kBatchSize) {
      const int error = write_held();
      if (checked) check(error, where);
    }
    if (bytes.size() <= kBatchSize) {
      std::memcpy(batch + held, bytes.data(), bytes.size());
      held += bytes.size();
      return;
    }
  }
  const int error = write_fully(STDOUT_FILENO, bytes);
  if (checked) check(error, where);
}

void write_unchecked(std::string_view bytes) { emit(bytes, false, {}); }

void write_checked(std::string_view bytes, std::source_location where) {
  emit(bytes, true, where);
}

class ConsoleUnit final : public RecordSink {
 public:
  void put_record(std::string_view record, bool no_advance,
                  std::source_location where) override {
    console_record(record, no_advance, where);
  }
  std::string_view designation() const override { return kConsoleUnit; }
};

ConsoleUnit unit6;

}  // namespace

LineState console_state() { return state; }

void console_record(std::string_view record, bool no_advance, std::source_location where) {
  // The line end owed by the previous record and this record's characters
  // leave in one write.
  static char out[2 + kMaxRecordLength + 1];
  std::size_t n = 0;
  std::string_view shown = record;
  if (state == LineState::kOpen) {
    std::memcpy(out, kLineEnd.data(), kLineEnd.size());
    n = kLineEnd.size();
  }
  if (state != LineState::kOpenContinuing && !shown.empty()) shown.remove_prefix(1);
  if (shown.size() > sizeof out - n) shown = shown.substr(0, sizeof out - n);
  std::memcpy(out + n, shown.data(), shown.size());
  n += shown.size();
  state = no_advance ? LineState::kOpenContinuing : LineState::kOpen;
  write_checked({out, n}, where);
}

void console_free_form(std::string_view text, std::source_location where) {
  char record[1 + kFreeFormWidth];
  record[0] = ' ';
  while (true) {
    const std::size_t take = text.size() < kFreeFormWidth ? text.size() : kFreeFormWidth;
    std::memcpy(record + 1, text.data(), take);
    console_record({record, take + 1}, false, where);
    // A text that fills the line exactly is followed by a record of its
    // blank alone: only a shorter remainder is the last record.
    if (take < kFreeFormWidth) break;
    text.remove_prefix(take);
  }
}

void console_line_end_request() {
  if (state != LineState::kClosed) write_unchecked(kLineEnd);
}

void console_direct(std::string_view bytes) { write_unchecked(bytes); }

void console_before_read(bool shared) {
  if (shared && state == LineState::kOpen) write_unchecked(kLineEnd);
  console_flush();
}

void console_after_read(bool shared) {
  if (shared) state = LineState::kClosed;
}

RecordSink& console_unit() { return unit6; }

void console_flush(std::source_location where) { check(write_held(), where); }

void console_flush_unchecked() { (void)write_held(); }

void console_end_of_run() {
  console_line_end_request();
  console_flush_unchecked();
}

void set_console_batching(bool on) { batching = on ? Batching::kOn : Batching::kOff; }

void reset_console() {
  state = LineState::kClosed;
  held = 0;
  batching = Batching::kUndecided;
}

}  // namespace prefscan
