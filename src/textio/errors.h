// Error numbers and statement kinds of the fatal error report.
#pragma once

#include <cstdint>
#include <string_view>

namespace prefscan {

// The number shown after the letter F in a fatal report.
enum class ErrorNumber : std::int16_t {
  kIndexOutOfBounds = 6096,
  kIntegerOverflow = 6099,
  kIntegerOutOfRange = 6100,
  kInvalidCharacter = 6101,
  kNarrowingOverflow = 6106,
  kConsoleLineTooLong = 6407,
  kInvalidName = 6412,
  kAccessDenied = 6414,
  kFileNotFound = 6416,
  kWriteRefused = 6421,
  kNoSpace = 6422,
  kReadFailed = 6500,
  kEndOfFile = 6501,
  kPastEndOfText = 6600,
};

// What was running when a failure happened.
enum class Statement : std::uint8_t { kRead, kWrite, kOpen, kCheck };

// One line naming the failure, shown after "- " in the report.
std::string_view message_for(ErrorNumber number);

// The error a refused open of a file is reported with, from its errno.
ErrorNumber open_error_for(int error);
// The error a refused write to a file is reported with, from its errno:
// no space is 6422, every other refusal 6421.
ErrorNumber write_error_for(int error);

// The designation of every internal work text.
inline constexpr std::string_view kInternalUnit = "internal";
// The designation of standard input and of the console output stream.
inline constexpr std::string_view kConsoleUnit = "CON";

}  // namespace prefscan
