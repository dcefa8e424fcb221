// Whole transfers: walking a layout over items, internal texts, reads that
// end the run, and free-form reading.
#include "textio/transfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fatal_capture.h"

namespace prefscan {
namespace {

using testing::CapturedFailure;
using testing::FatalCapture;

// Collects the records of a formatted write to a unit.
class Records final : public RecordSink {
 public:
  void put_record(std::string_view record, bool no_advance, std::source_location) override {
    records.emplace_back(record);
    last_no_advance = no_advance;
  }
  std::string_view designation() const override { return "test"; }
  std::vector<std::string> records;
  bool last_no_advance = false;
};

constexpr Layout kZ2Z1Z2 = layout_text("(z2,z1,z2)");
constexpr Layout k3Z2 = layout_text("(3z2)");
constexpr Layout k5I1 = layout_text("(5i1)");
constexpr Layout kDatstr = layout_text(
    "(I6,I3,1X,5Z1,1X,6Z1,1X,2Z1,2(1X,6Z1),1X,7Z1,1X,2Z1,1X,Z1,1X,2Z1,2(1X,3Z1),1X,14Z1,4(2X,3Z1,1X,Z1,1X,4Z1))");

TEST(InternalWrite, HexFieldsOfSixteenBitItemsAndBlankFill) {
  char text[10];
  std::fill(std::begin(text), std::end(text), '#');
  const Item bytes[] = {Item::int16(0x02), Item::int16(0x71), Item::int16(0x23)};
  write_internal(text, kZ2Z1Z2, bytes);
  EXPECT_EQ(std::string(text, 10), " 2123     ");

  std::int32_t digits[5] = {-1, -1, -1, -1, -1};
  read_internal({text, 10}, k5I1, digits);
  EXPECT_EQ(std::vector<std::int32_t>(digits, digits + 5), (std::vector<std::int32_t>{0, 2, 1, 2, 3}));

  const Item three[] = {Item::int16(0x14), Item::int16(0x05), Item::int16(0x59)};
  write_internal(text, k3Z2, three);
  EXPECT_EQ(std::string(text, 10), "14 559    ");
}

TEST(InternalWrite, StopsAtTheFirstFieldWithNoItemLeft) {
  char text[25];
  const std::int32_t values[] = {7, 9, 0, 3, 0, 4, 5, 1, 2, 3, 4, 5, 6};
  std::vector<Item> items;
  for (std::int32_t v : values) items.push_back(Item::int32(v));
  write_internal(text, kDatstr, items);
  EXPECT_EQ(std::string(text, 25), "     7  9 03045 123456   ");
  EXPECT_EQ(read_free_integer({text + 10, 2}), 3);
  EXPECT_EQ(read_free_integer({text + 12, 3}), 45);
}

TEST(InternalWrite, PastTheEndOfTheTextEndsTheRun) {
  FatalCapture capture;
  char text[3];
  const Item item[] = {Item::int32(1)};
  try {
    write_internal(text, layout_text("(i4)"), item);
    FAIL() << "no failure";
  } catch (const CapturedFailure& f) {
    EXPECT_EQ(f.failure.number, ErrorNumber::kPastEndOfText);
    EXPECT_EQ(f.failure.statement, Statement::kWrite);
    EXPECT_EQ(f.unit, "internal");
  }
}

TEST(FormattedWrite, RecordEndsLiteralsAndNoAdvance) {
  Records unit;
  const Item header[] = {Item::chars("  Date (Day of year) Time")};
  write_formatted(unit, layout_text("(a/)"), header);
  EXPECT_EQ(unit.records, (std::vector<std::string>{"  Date (Day of year) Time", ""}));
  EXPECT_FALSE(unit.last_no_advance);

  // After the last item the walk still carries out literals, X and / up to
  // the next field; blanks owed by X are not written at the end of a record.
  Records more;
  const Item two[] = {Item::int32(4), Item::int32(-3)};
  write_formatted(more, layout_text("(2('<',i2,'>',2x),i9,'never')"), two);
  EXPECT_EQ(more.records, (std::vector<std::string>{"< 4>  <-3>"}));

  Records line;
  const Item one[] = {Item::chars("ab")};
  write_formatted(line, layout_text("(1x,a3,'!',\\)"), one);
  EXPECT_EQ(line.records, (std::vector<std::string>{"  ab!"}));
  EXPECT_TRUE(line.last_no_advance);
}

TEST(InternalRead, BadCharactersAndRangesEndTheRun) {
  struct Case {
    const char* text;
    const char* layout_note;
    ErrorNumber number;
  } cases[] = {
      {"12C45", "(5i1)", ErrorNumber::kInvalidCharacter},
      {"99999999999", "(i11)", ErrorNumber::kIntegerOutOfRange},
  };
  FatalCapture capture;
  for (const Case& c : cases) {
    std::int32_t items[5] = {};
    try {
      if (std::string_view(c.layout_note) == "(5i1)") {
        read_internal(c.text, k5I1, items);
      } else {
        read_internal(c.text, layout_text("(i11)"), std::span<std::int32_t>(items, 1));
      }
      ADD_FAILURE() << c.text << " read without failure";
    } catch (const CapturedFailure& f) {
      EXPECT_EQ(f.failure.number, c.number) << c.text;
      EXPECT_EQ(f.failure.statement, Statement::kRead);
      EXPECT_EQ(f.unit, "internal");
    }
  }
}

TEST(InternalRead, ColumnsPastTheEndReadAsBlanks) {
  std::int32_t items[5] = {9, 9, 9, 9, 9};
  read_internal("12", k5I1, items);
  EXPECT_EQ(std::vector<std::int32_t>(items, items + 5), (std::vector<std::int32_t>{1, 2, 0, 0, 0}));
}

TEST(FreeFormRead, DigitsGiveTheirNumberAndLettersEndTheRun) {
  EXPECT_EQ(read_free_integer("07"), 7);
  EXPECT_EQ(read_free_integer("123"), 123);
  EXPECT_EQ(read_free_integer("000"), 0);
  EXPECT_EQ(read_free_integer(" -42 "), -42);
  struct Case {
    const char* text;
    ErrorNumber number;
  } cases[] = {
      {"1A", ErrorNumber::kInvalidCharacter}, {"A0", ErrorNumber::kInvalidCharacter},
      {"0A", ErrorNumber::kInvalidCharacter}, {"1-", ErrorNumber::kInvalidCharacter},
      {"-", ErrorNumber::kInvalidCharacter},  {"  ", ErrorNumber::kEndOfFile},
      {"9999999999", ErrorNumber::kIntegerOutOfRange},
  };
  FatalCapture capture;
  for (const Case& c : cases) {
    try {
      read_free_integer(c.text);
      ADD_FAILURE() << '"' << c.text << "\" read without failure";
    } catch (const CapturedFailure& f) {
      EXPECT_EQ(f.failure.number, c.number) << c.text;
    }
  }
}

}  // namespace
}  // namespace prefscan
