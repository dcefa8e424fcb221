#include "textio/fatal.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "textio/frames.h"

namespace prefscan {

std::string_view message_for(ErrorNumber number) {
  switch (number) {
    case ErrorNumber::kIndexOutOfBounds: return "table index outside the bounds of its table";
    case ErrorNumber::kIntegerOverflow: return "integer overflow in addition, subtraction or multiplication";
    case ErrorNumber::kIntegerOutOfRange: return "integer value outside the range of its item";
    case ErrorNumber::kInvalidCharacter: return "invalid character in an integer field";
    case ErrorNumber::kNarrowingOverflow: return "value does not fit the narrower integer";
    case ErrorNumber::kConsoleLineTooLong: return "console input line longer than the input buffer";
    case ErrorNumber::kInvalidName: return "file name refused as invalid";
    case ErrorNumber::kAccessDenied: return "access to the file denied";
    case ErrorNumber::kFileNotFound: return "file not found";
    case ErrorNumber::kWriteRefused: return "write refused by the file";
    case ErrorNumber::kNoSpace: return "no space left on device";
    case ErrorNumber::kReadFailed: return "read failed";
    case ErrorNumber::kEndOfFile: return "end of file";
    case ErrorNumber::kPastEndOfText: return "write past the end of an internal text";
  }
  return "unknown failure";
}

ErrorNumber open_error_for(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ErrorNumber::kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return ErrorNumber::kAccessDenied;
    default:
      return ErrorNumber::kInvalidName;
  }
}

ErrorNumber write_error_for(int error) {
  return error == ENOSPC || error == EDQUOT ? ErrorNumber::kNoSpace : ErrorNumber::kWriteRefused;
}

namespace {

class Writer {
 public:
  Writer(char* out, std::size_t size) : out_(out), size_(size) {}
  void put(std::string_view s) {
    for (char c : s) {
      if (len_ < size_) out_[len_++] = c;
    }
  }
  void put_number(unsigned long value) {
    char digits[24];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (n > 0) put(std::string_view(&digits[--n], 1));
  }
  std::size_t length() const { return len_; }

 private:
  char* out_;
  std::size_t size_;
  std::size_t len_ = 0;
};

std::string_view base_name(const char* path) {
  std::string_view p(path != nullptr ? path : "");
  std::size_t slash = p.find_last_of('/');
  return slash == std::string_view::npos ? p : p.substr(slash + 1);
}

std::string_view statement_text(Statement s) {
  switch (s) {
    case Statement::kRead: return ": READ(";
    case Statement::kWrite: return ": WRITE(";
    case Statement::kOpen: return ": OPEN(";
    case Statement::kCheck: return ": $DEBUG\r\n- ";
  }
  return "";
}

void write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // nowhere left to report to
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

EndOfProcess before_report = nullptr;

[[noreturn]] void report_and_exit(const Failure&, std::string_view report) {
  if (before_report != nullptr) before_report();
  write_all(STDERR_FILENO, report);
  // A failure raised by the end-of-process handling itself lands here a
  // second time; the handling does not run again, so the closing stops there.
  run_end_of_process();
  _exit(1);
}

FatalSink sink = report_and_exit;
EndOfProcess end_of_process = nullptr;
bool end_of_process_ran = false;

}  // namespace

// The report's bytes for the frames now active; cut at `size`.
static std::size_t format_report(const Failure& failure, char* out, std::size_t size) {
  Writer w(out, size);
  auto frames = active_frames();
  const FramePosition* top = frames.empty() ? nullptr : &frames.back();

  w.put("\r\n");
  if (top != nullptr) {
    w.put(base_name(top->file));
    w.put("(");
    w.put_number(top->line);
    w.put(") : ");
  }
  w.put("run-time error F");
  w.put_number(static_cast<unsigned long>(failure.number));
  w.put(statement_text(failure.statement));
  if (failure.statement != Statement::kCheck) {
    w.put(failure.unit);
    w.put(")\r\n- ");
  }
  w.put(message_for(failure.number));
  w.put("\r\n\r\nExecution traceback:\r\n");
  for (std::size_t i = frames.size(); i-- > 0;) {
    const FramePosition& f = frames[i];
    w.put("\t\tfrom ");
    w.put(f.routine != nullptr ? std::string_view(f.routine) : "main program");
    w.put(" in ");
    w.put(base_name(f.file));
    w.put("(");
    w.put_number(f.line);
    w.put(")\r\n");
  }
  return w.length();
}

void fatal(const Failure& failure, std::source_location where) {
  set_current_position(where);
  static char report[4096];
  std::size_t n = format_report(failure, report, sizeof report);
  sink(failure, std::string_view(report, n));
  _exit(1);  // a sink that returns still ends the run
}

FatalSink set_fatal_sink(FatalSink replacement) {
  FatalSink old = sink;
  sink = replacement != nullptr ? replacement : report_and_exit;
  return old;
}

void set_end_of_process(EndOfProcess handler) { end_of_process = handler; }

void set_before_report(EndOfProcess handler) { before_report = handler; }

void run_end_of_process() {
  if (end_of_process_ran) return;
  end_of_process_ran = true;
  if (end_of_process != nullptr) end_of_process();
}


}  // namespace prefscan
