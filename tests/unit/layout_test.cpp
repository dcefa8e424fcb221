// Parsing layout texts: the program's own texts compile to the elements they
// describe, and malformed texts are refused with a reason.
#include "textio/layout.h"

#include <gtest/gtest.h>

namespace prefscan {
namespace {

// The date line's blanks outside literals vanish; its H literals keep theirs.
constexpr Layout kDateLine = layout_text(
    "(i4.4,1h.,i2.2,1h.,i2.2,2h (,i3,2h) ,2i1,                   1h:,2i1,1h:,2i1)");
static_assert(kDateLine.count == 14);
static_assert(kDateLine.element[0].op == Op::kInt && kDateLine.element[0].w == 4 &&
              kDateLine.element[0].m == 4);
static_assert(kDateLine.literal(kDateLine.element[5]) == " (");
static_assert(kDateLine.literal(kDateLine.element[7]) == ") ");
static_assert(kDateLine.element[8].op == Op::kInt && kDateLine.element[8].repeat == 2);
static_assert(kDateLine.literal(kDateLine.element[9]) == ":");

constexpr Layout kNested = layout_text("(2(1X,3(Z1)) , 'it''s' \"q\"\"\" /3/\\)");
static_assert(kNested.element[0].op == Op::kGroupBegin && kNested.element[0].repeat == 2);
static_assert(kNested.element[kNested.element[0].link].op == Op::kGroupEnd);
static_assert(kNested.literal(kNested.element[6]) == "it's");
static_assert(kNested.literal(kNested.element[7]) == "q\"");
static_assert(kNested.element[8].op == Op::kRecordEnd && kNested.element[8].repeat == 1);
static_assert(kNested.element[9].op == Op::kRecordEnd && kNested.element[9].repeat == 3);
static_assert(kNested.element[10].op == Op::kNoAdvance);

TEST(LayoutText, BlanksInsideNumbersAndCaseDoNotMatter) {
  const LayoutParse p = parse_layout("( 1 2 x , I 1 0 . 3,$) ignored after the end");
  ASSERT_EQ(p.error, nullptr);
  EXPECT_EQ(p.layout.element[0].op, Op::kSkip);
  EXPECT_EQ(p.layout.element[0].repeat, 12);
  EXPECT_EQ(p.layout.element[1].op, Op::kInt);
  EXPECT_EQ(p.layout.element[1].w, 10);
  EXPECT_EQ(p.layout.element[1].m, 3);
  EXPECT_EQ(p.layout.element[2].op, Op::kNoAdvance);
  EXPECT_EQ(p.layout.element[3].op, Op::kEnd);
}

TEST(LayoutText, SixteenNestedGroupsAreTheLimit) {
  const std::string sixteen = "(" + std::string(16, '(') + "i1" + std::string(17, ')');
  EXPECT_EQ(parse_layout(sixteen).error, nullptr);
  const std::string seventeen = "(" + std::string(17, '(') + "i1" + std::string(18, ')');
  EXPECT_NE(parse_layout(seventeen).error, nullptr);
}

TEST(LayoutText, MalformedTextsAreRefused) {
  const char* bad[] = {
      "i1)",          // no opening parenthesis
      "(i1",          // no closing one
      "(i)",          // a decimal field needs its width
      "(z)",          // so does a hexadecimal one
      "(i0)",         // zero width
      "(i2.3)",       // more digits than columns
      "(0x)",         // zero count
      "(h)",          // H needs its count
      "(5habc)",      // H literal cut short
      "('open)",      // unterminated quote
      "(3'x')",       // a count before a quoted literal
      "(q)",          // unknown element
      "(2,i1)",       // a count with nothing after it
      "(i1))extra(",  // fine: nothing after the end is looked at
  };
  for (std::size_t i = 0; i + 1 < std::size(bad); ++i) {
    EXPECT_NE(parse_layout(bad[i]).error, nullptr) << bad[i];
  }
  EXPECT_EQ(parse_layout(bad[std::size(bad) - 1]).error, nullptr);
}

}  // namespace
}  // namespace prefscan
