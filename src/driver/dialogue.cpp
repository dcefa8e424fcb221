#include "driver/dialogue.h"

#include <cstring>

#include "listing/console.h"

namespace prefscan {
namespace {

// The longest name a blank-name connection builds.
constexpr std::size_t kMaxNameLength = 259;
constexpr std::size_t kInfileLength = 80;

int argument_cursor = 1;
char INFILE[kInfileLength];

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::string_view obtain_input_name(int argc, char** argv) {
  if (argument_cursor < argc) {
    std::string_view arg(argv[argument_cursor++]);
    return trim_blanks(arg);
  }
  return {};
}

void driver_dialogue(int argc, char** argv) {
  if (argc < 2) return;
  std::string_view arg(argv[1]);
  const std::size_t n = arg.size() < kInfileLength ? arg.size() : kInfileLength;
  std::memset(INFILE, ' ', kInfileLength);
  std::memcpy(INFILE, arg.data(), n);
  std::size_t trimmed = kInfileLength;
  while (trimmed > 0 && INFILE[trimmed - 1] == ' ') --trimmed;
  console_free_form({INFILE, trimmed});
}

void reset_dialogue() { argument_cursor = 1; }

}  // namespace prefscan
