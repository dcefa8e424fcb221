// Checks the shape of a fatal error report without pinning its source
// positions, which move whenever the program's sources do.
#pragma once

#include <cctype>
#include <initializer_list>
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

// Consumes a source position, a file name ending in ".cpp" or ".h" and a
// line number in parentheses, and hands it back in `position`.
inline bool take_position(std::string_view& rest, std::string_view& position) {
  const std::size_t open = rest.find('(');
  if (open == std::string_view::npos) return false;
  const std::string_view file = rest.substr(0, open);
  if (!(file.ends_with(".cpp") && file.size() > 4) && !(file.ends_with(".h") && file.size() > 2)) {
    return false;
  }
  for (char c : file) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.') return false;
  }
  std::size_t end = open + 1;
  while (end < rest.size() && std::isdigit(static_cast<unsigned char>(rest[end]))) ++end;
  if (end == open + 1 || end == rest.size() || rest[end] != ')') return false;
  position = rest.substr(0, end + 1);
  rest.remove_prefix(end + 1);
  return true;
}

}  // namespace report_shape_detail

// True when `report` is a whole fatal report with `error_and_unit` (such as
// "F6501: OPEN()") after "run-time error ", one message line, and a
// traceback of `routines`, innermost first ("PREFCH", "main program"),
// whose first entry is at the position the report's first line names.
inline bool is_report(std::string_view report, std::string_view error_and_unit,
                      std::initializer_list<std::string_view> routines) {
  using report_shape_detail::take;
  using report_shape_detail::take_position;
  std::string_view rest = report;
  std::string_view location, position;
  if (!take(rest, "\r\n") || !take_position(rest, location)) return false;
  if (!take(rest, " : run-time error ") || !take(rest, error_and_unit) || !take(rest, "\r\n- ")) {
    return false;
  }
  const std::size_t message_end = rest.find("\r\n");
  if (message_end == 0 || message_end == std::string_view::npos) return false;
  if (rest.substr(0, message_end).find('\r') != std::string_view::npos) return false;
  rest.remove_prefix(message_end);
  if (!take(rest, "\r\n\r\nExecution traceback:\r\n")) return false;
  bool innermost = true;
  for (std::string_view routine : routines) {
    if (!take(rest, "\t\tfrom ") || !take(rest, routine) || !take(rest, " in ")) return false;
    if (!take_position(rest, position) || !take(rest, "\r\n")) return false;
    if (innermost && position != location) return false;
    innermost = false;
  }
  return rest.empty();
}

// The report of a failure raised in the main program itself.
inline bool is_main_program_report(std::string_view report, std::string_view error_and_unit) {
  return is_report(report, error_and_unit, {"main program"});
}

}  // namespace prefscan::testing
