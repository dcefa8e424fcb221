#include "textio/fields.h"

#include <bit>
#include <cstring>

namespace prefscan {
namespace {

// Fields are a few columns wide: a plain loop beats a call to memset.
inline void fill(char* out, char c, int n) {
  for (int i = 0; i < n; ++i) out[i] = c;
}

}  // namespace

void edit_decimal(char* out, std::int32_t value, int w, int m) {
  // Digits of the magnitude, least significant first; 10 hold any 32-bit value.
  char digits[10];
  int n = 0;
  std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value)
                                      : static_cast<std::uint32_t>(value);
  while (magnitude != 0) {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  const int shown = n > m ? n : m;  // leading zeros up to m digits
  const int length = shown + (value < 0 ? 1 : 0);
  if (length > w) {
    fill(out, '*', w);
    return;
  }
  int pos = w - length;
  fill(out, ' ', pos);
  if (value < 0) out[pos++] = '-';
  for (int i = shown; i-- > 0;) out[pos++] = i < n ? digits[i] : '0';
}

void edit_hex(char* out, std::uint32_t bits, int item_digits, int w) {
  static constexpr char kHexDigit[] = "0123456789ABCDEF";
  if (item_digits < 8) bits &= (1u << (4 * item_digits)) - 1;
  // Significant digits: from the first non-zero one, and at least one.
  const int significant = bits == 0 ? 1 : (32 - std::countl_zero(bits) + 3) / 4;
  const int shown = significant < w ? significant : w;
  fill(out, ' ', w - shown);
  for (int i = 0; i < shown; ++i) {
    out[w - 1 - i] = kHexDigit[bits & 0xF];
    bits >>= 4;
  }
}

void edit_text(char* out, std::string_view text, int w) {
  const auto width = static_cast<std::size_t>(w);
  if (text.size() >= width) {
    std::memcpy(out, text.data(), width);
    return;
  }
  const std::size_t pad = width - text.size();
  std::memset(out, ' ', pad);
  std::memcpy(out + pad, text.data(), text.size());
}

namespace {

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

InputFault read_decimal(std::string_view field, std::int32_t& value) {
  bool negative = false;
  bool seen_sign = false;
  bool seen_digit = false;
  std::int64_t magnitude = 0;
  bool too_large = false;
  for (char c : field) {
    if (is_blank(c)) continue;
    if ((c == '+' || c == '-') && !seen_sign && !seen_digit) {
      seen_sign = true;
      negative = c == '-';
    } else if (c >= '0' && c <= '9') {
      seen_digit = true;
      magnitude = magnitude * 10 + (c - '0');
      if (magnitude > 2147483648LL) {
        too_large = true;
        magnitude = 2147483648LL + 1;  // keeps the sum bounded
      }
    } else {
      return InputFault::kInvalidCharacter;
    }
  }
  const std::int64_t v = negative ? -magnitude : magnitude;
  if (too_large || v > 2147483647LL || v < -2147483648LL) return InputFault::kOutOfRange;
  value = static_cast<std::int32_t>(v);
  return InputFault::kNone;
}

InputFault read_hex(std::string_view field, std::int32_t& value) {
  std::uint64_t bits = 0;
  for (char c : field) {
    if (is_blank(c)) continue;
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return InputFault::kInvalidCharacter;
    }
    bits = bits * 16 + static_cast<std::uint64_t>(digit);
    if (bits > 0xFFFFFFFFull) return InputFault::kOutOfRange;
  }
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
  return InputFault::kNone;
}

}  // namespace prefscan
