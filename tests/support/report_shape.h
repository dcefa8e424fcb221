// Checks a fatal error report of the main program without pinning its source
// positions, which move whenever the program's sources do.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace prefscan::testing {

namespace report_shape_detail {

// Consumes `text` from the front of `rest`.
inline bool take(std::string_view& rest, std::string_view text) {
  if (rest.substr(0, text.size()) != text) return false;
  rest.remove_prefix(text.size());
  return true;
}

// Consumes a source position: a file name ending in ".cpp", then a line
// number in parentheses.
inline bool take_position(std::string_view& rest) {
  const std::size_t open = rest.find('(');
  if (open == std::string_view::npos || open < 5 || rest.substr(open - 4, 4) != ".cpp") {
    return false;
  }
  for (char c : rest.substr(0, open)) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.') return false;
  }
  rest.remove_prefix(open + 1);
  std::size_t digits = 0;
  while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits]))) ++digits;
  if (digits == 0) return false;
  rest.remove_prefix(digits);
  return take(rest, ")");
}

}  // namespace report_shape_detail

// True when `report` is the whole report of a failure raised in the main
// program, with `error_and_unit` (such as "F6501: OPEN()") after
// "run-time error ", a message line, and a traceback of the main program
// alone.
inline bool is_main_program_report(std::string_view report, std::string_view error_and_unit) {
  using report_shape_detail::take;
  using report_shape_detail::take_position;
  std::string_view rest = report;
  if (!take(rest, "\r\n") || !take_position(rest)) return false;
  if (!take(rest, " : run-time error ") || !take(rest, error_and_unit) || !take(rest, "\r\n- ")) {
    return false;
  }
  const std::size_t message_end = rest.find("\r\n");
  if (message_end == 0 || message_end == std::string_view::npos) return false;
  if (rest.substr(0, message_end).find_first_of("\r\n") != std::string_view::npos) return false;
  rest.remove_prefix(message_end);
  if (!take(rest, "\r\n\r\nExecution traceback:\r\n\t\tfrom main program in ")) return false;
  if (!take_position(rest) || !take(rest, "\r\n")) return false;
  return rest.empty();
}

}  // namespace prefscan::testing
