// Output and input rules of single fields.
#include "textio/fields.h"

#include <gtest/gtest.h>

#include <string>

namespace prefscan {
namespace {

std::string decimal(std::int32_t v, int w, int m = 1) {
  std::string out(static_cast<std::size_t>(w), '?');
  edit_decimal(out.data(), v, w, m);
  return out;
}

std::string hex(std::uint32_t bits, int item_digits, int w) {
  std::string out(static_cast<std::size_t>(w), '?');
  edit_hex(out.data(), bits, item_digits, w);
  return out;
}

TEST(DecimalOutput, FitsOrShowsAsterisks) {
  struct Case {
    std::int32_t value;
    int w, m;
    const char* shown;
  } cases[] = {
      {5, 6, 1, "     5"},      {-98, 3, 1, "-98"},        {-100, 3, 1, "***"},
      {99999999, 8, 1, "99999999"}, {100000000, 8, 1, "********"}, {12, 1, 1, "*"},
      {10, 1, 1, "*"},          {5, 2, 2, "05"},           {1, 2, 2, "01"},
      {2003, 4, 4, "2003"},     {0, 4, 4, "0000"},         {0, 3, 1, "  0"},
      {15, 3, 1, " 15"},        {100, 2, 2, "**"},         {-334, 2, 2, "**"},
      {-5, 2, 2, "**"},         {-5, 3, 2, "-05"},         {INT32_MIN, 11, 1, "-2147483648"},
      {INT32_MAX, 10, 1, "2147483647"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decimal(c.value, c.w, c.m), c.shown) << c.value << " in I" << c.w << "." << c.m;
  }
}

TEST(HexOutput, ShowsSignificantOrLowestDigits) {
  struct Case {
    std::uint32_t bits;
    int item_digits, w;
    const char* shown;
  } cases[] = {
      {18, 8, 1, "2"},   {0x45, 8, 1, "5"},        {9, 8, 1, "9"},     {0, 8, 1, "0"},
      {15, 8, 1, "F"},   {16, 8, 1, "0"},          {255, 8, 1, "F"},   {5, 4, 2, " 5"},
      {0x2B, 4, 2, "2B"}, {0, 4, 2, " 0"},         {7, 4, 2, " 7"},    {0x71, 4, 1, "1"},
      {0xFFFFFFFFu, 8, 1, "F"}, {0xFFFFFFFFu, 8, 10, "  FFFFFFFF"}, {0xFFFFu, 4, 6, "  FFFF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hex(c.bits, c.item_digits, c.w), c.shown) << c.bits << " in Z" << c.w;
  }
}

TEST(TextOutput, CutsOrRightAligns) {
  std::string out(3, '?');
  edit_text(out.data(), "abcdef", 3);
  EXPECT_EQ(out, "abc");
  out.assign(5, '?');
  edit_text(out.data(), "ab", 5);
  EXPECT_EQ(out, "   ab");
}

TEST(DecimalInput, AcceptsSignsDigitsAndBlanksOnly) {
  struct Case {
    const char* field;
    InputFault fault;
    std::int32_t value;
  } cases[] = {
      {"7", InputFault::kNone, 7},      {" ", InputFault::kNone, 0},
      {"", InputFault::kNone, 0},       {"-", InputFault::kNone, 0},
      {" 1 2", InputFault::kNone, 12},  {"\t-4", InputFault::kNone, -4},
      {"+0", InputFault::kNone, 0},     {"C", InputFault::kInvalidCharacter, 0},
      {"1-", InputFault::kInvalidCharacter, 0}, {"1.", InputFault::kInvalidCharacter, 0},
      {"2147483647", InputFault::kNone, INT32_MAX},
      {"-2147483648", InputFault::kNone, INT32_MIN},
      {"2147483648", InputFault::kOutOfRange, 0},
      {"99999999999999999999999", InputFault::kOutOfRange, 0},
  };
  for (const Case& c : cases) {
    std::int32_t v = -1;
    EXPECT_EQ(read_decimal(c.field, v), c.fault) << '"' << c.field << '"';
    if (c.fault == InputFault::kNone) {
      EXPECT_EQ(v, c.value) << '"' << c.field << '"';
    }
  }
}

}  // namespace
}  // namespace prefscan
