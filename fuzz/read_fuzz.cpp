// Arbitrary short texts through the two reads of the program: the free-form
// read of one integer and the read of integer items under a layout text,
// with the program's own read layouts "(5i1)" and "(6i1)" and a few others
// that reach the wider fields, the range check and the record end.
//
// Input: byte 0 chooses the read, the bytes after it (at most 40) are the
// text. Each read either completes or ends the run with an error number that
// read may raise; anything else is a finding. The outcome is also checked
// against the input rule of decimal fields: blanks and tabs dropped, an
// optional sign and digits, 0 for nothing or a sign alone, an invalid
// character 6101, a value beyond 32 bits 6100, and a record end in the one
// record of an internal text 6501. For the free-form read, the texts the
// program hands it (two or three hexadecimal digit characters) and plain
// runs of digits are checked for their exact value.

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "fatal_trap.h"
#include "textio/frames.h"
#include "textio/layout.h"
#include "textio/transfer.h"

using namespace prefscan;
using prefscan::fuzz::finding;

namespace {

constexpr std::size_t kMaxText = 40;

// What a layout does, element by element, as the oracle walks it.
struct Step {
  char op;  // 'i' a decimal field of width n, 'x' n blank columns, '/' a record end
  int n;
};

struct LayoutCase {
  Layout layout;
  int items;
  std::array<Step, 4> steps;
  int step_count;
};

constexpr LayoutCase kLayouts[] = {
    {layout_text("(5i1)"), 5, {{{'i', 1}}}, 1},
    {layout_text("(6i1)"), 6, {{{'i', 1}}}, 1},
    {layout_text("(i3)"), 1, {{{'i', 3}}}, 1},
    {layout_text("(2i2)"), 2, {{{'i', 2}}}, 1},
    {layout_text("(i11)"), 1, {{{'i', 11}}}, 1},
    {layout_text("(1x,i2,i3)"), 2, {{{'x', 1}, {'i', 2}, {'i', 3}}}, 3},
    {layout_text("(i2/i2)"), 2, {{{'i', 2}, {'/', 1}, {'i', 2}}}, 3},
};
constexpr int kLayoutCount = sizeof kLayouts / sizeof kLayouts[0];

// The outcome the input rule gives: a value, or the error numbers allowed.
struct Outcome {
  bool ok = true;
  bool invalid = false;  // 6101 allowed
  bool range = false;    // 6100 allowed
  bool end = false;      // 6501 allowed
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// One decimal field of width w from column `col` (0-based).
Outcome decimal_field(std::string_view text, std::size_t col, int w, std::int32_t& value) {
  char kept[kMaxText + 16];
  int n = 0;
  for (int k = 0; k < w; ++k) {
    const std::size_t at = col + static_cast<std::size_t>(k);
    const char c = at < text.size() ? text[at] : ' ';
    if (!is_blank(c)) kept[n++] = c;
  }
  int i = 0;
  const bool negative = n > 0 && kept[0] == '-';
  if (n > 0 && (kept[0] == '+' || kept[0] == '-')) ++i;
  bool bad = false;
  // Kept below 2^31 + 2, so that it cannot overflow and a magnitude beyond
  // 2^31 stays distinguishable from 2^31 itself (-2147483648 fits).
  std::int64_t v = 0;
  for (; i < n; ++i) {
    if (!is_digit(kept[i])) {
      bad = true;
      continue;
    }
    v = v * 10 + (kept[i] - '0');
    if (v > 2147483648LL) v = 2147483649LL;
  }
  const bool big = v > (negative ? 2147483648LL : 2147483647LL);
  Outcome o;
  if (bad || big) {
    // With both faults in one field, either may be found first.
    o.ok = false;
    o.invalid = bad;
    o.range = big;
    return o;
  }
  value = static_cast<std::int32_t>(negative ? -v : v);
  return o;
}

Outcome expected_read(const LayoutCase& c, std::string_view text, std::int32_t* values) {
  std::size_t col = 0;
  int item = 0;
  int step = 0;
  // The walk repeats the last step's field for the remaining items of a
  // repeated field (5i1, 2i2); the steps are listed once.
  while (true) {
    if (step == c.step_count) {
      if (item == c.items) return {};
      step = c.step_count - 1;  // a repeated field
    }
    const Step s = c.steps[static_cast<std::size_t>(step)];
    if (s.op == 'i') {
      if (item == c.items) return {};  // the walk stops at a field with no item left
      const Outcome o = decimal_field(text, col, s.n, values[item]);
      if (!o.ok) return o;
      col += static_cast<std::size_t>(s.n);
      ++item;
    } else if (s.op == 'x') {
      col += static_cast<std::size_t>(s.n);
    } else {
      Outcome o;
      o.ok = false;
      o.end = true;
      return o;
    }
    ++step;
  }
}

bool allowed(const Outcome& o, ErrorNumber n) {
  return (o.invalid && n == ErrorNumber::kInvalidCharacter) ||
         (o.range && n == ErrorNumber::kIntegerOutOfRange) ||
         (o.end && n == ErrorNumber::kEndOfFile);
}

void fuzz_layout_read(const LayoutCase& c, std::string_view text) {
  std::array<std::int32_t, 6> items{};
  std::array<std::int32_t, 6> want{};
  const Outcome o = expected_read(c, text, want.data());
  try {
    read_internal(text, c.layout,
                  std::span<std::int32_t>(items.data(), static_cast<std::size_t>(c.items)));
  } catch (const fuzz::FatalStop& stop) {
    if (o.ok || !allowed(o, stop.number)) {
      finding("read under a layout ended with an unexpected error number",
              static_cast<long>(stop.number));
    }
    return;
  }
  if (!o.ok) finding("read under a layout completed where the input rule fails it");
  for (int i = 0; i < c.items; ++i) {
    if (items[static_cast<std::size_t>(i)] != want[static_cast<std::size_t>(i)]) {
      finding("read under a layout gave the wrong value for item", i + 1);
    }
  }
}

// The exact value the free-form read must give, when the text is one the
// program hands it or a plain run of digits between blanks.
std::optional<std::int32_t> exact_free_value(std::string_view text, bool& must_fail) {
  must_fail = false;
  const bool hex_digits_only = (text.size() == 2 || text.size() == 3) &&
                               text.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
  const std::size_t first = text.find_first_not_of(' ');
  if (hex_digits_only && text.find_first_not_of("0123456789") != std::string_view::npos) {
    must_fail = true;  // a letter A to F anywhere in the text
    return std::nullopt;
  }
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(' ');
  const std::string_view digits = text.substr(first, last - first + 1);
  if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  std::int32_t v = 0;
  for (char c : digits) v = v * 10 + (c - '0');
  return v;
}

void fuzz_free_read(std::string_view text) {
  bool must_fail = false;
  const std::optional<std::int32_t> want = exact_free_value(text, must_fail);
  std::int32_t got = 0;
  try {
    got = read_free_integer(text);
  } catch (const fuzz::FatalStop& stop) {
    if (want.has_value()) {
      finding("free-form read of digits failed", static_cast<long>(stop.number));
    }
    if (must_fail && stop.number != ErrorNumber::kInvalidCharacter) {
      finding("free-form read of a hexadecimal letter: not 6101", static_cast<long>(stop.number));
    }
    if (stop.number != ErrorNumber::kInvalidCharacter &&
        stop.number != ErrorNumber::kIntegerOutOfRange && stop.number != ErrorNumber::kEndOfFile) {
      finding("free-form read ended with an unexpected error number",
              static_cast<long>(stop.number));
    }
    return;
  }
  if (must_fail) finding("free-form read took a hexadecimal letter");
  if (want.has_value() && got != *want) finding("free-form read gave the wrong value", got);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::install_fatal_trap();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  reset_frames();
  // The text gets a heap buffer of exactly its size, so that a read past its
  // end is seen by AddressSanitizer.
  const std::size_t length = size - 1 < kMaxText ? size - 1 : kMaxText;
  const std::vector<char> text(data + 1, data + 1 + length);
  const std::string_view view(text.data(), text.size());

  RoutineFrame frame(nullptr);
  const int choice = data[0] % (kLayoutCount + 1);
  if (choice == kLayoutCount) {
    fuzz_free_read(view);
  } else {
    fuzz_layout_read(kLayouts[choice], view);
  }
  return 0;
}
