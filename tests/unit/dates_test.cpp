// Year, day of year, month and day of month from the preface digits.
#include "listing/dates.h"

#include <gtest/gtest.h>

#include <string>

#include "common/blockdata.h"
#include "fatal_capture.h"

namespace prefscan {
namespace {

void set_date_digits(int y1, int y2, int doy) {
  reset_block_data();
  IREC = 1;
  ITYPE = 0;  // never listed: the step only derives
  IPREF(1) = y1;
  IPREF(2) = y2;
  IPREF(3) = doy / 100;
  IPREF(4) = doy / 10 % 10;
  IPREF(5) = doy % 10;
}

TEST(DateDerivation, GivesTheCalendarDateWithTheLeapShift) {
  struct Case {
    int year_digits, doy;
    std::int32_t year, month, day;
  } cases[] = {
      {1, 185, 2001, 7, 4},   {1, 60, 2001, 3, 1},     {4, 59, 2004, 2, 28},
      {4, 60, 2004, 2, 29},   {0, 60, 2000, 2, 29},    {4, 335, 2004, 11, 30},
      {1, 365, 2001, 12, 31}, {4, 366, 2004, 12, 31},  {1, 366, 2001, 12, 32},
      {1, 999, 2001, 12, 665}, {4, 999, 2004, 12, 664}, {0, 0, 2000, 12, -334},
      {99, 1, 2099, 1, 1},    {4, 100, 2004, 4, 9},    {1, 100, 2001, 4, 10},
  };
  for (const Case& c : cases) {
    set_date_digits(c.year_digits / 10, c.year_digits % 10, c.doy);
    date_and_listing_step();
    EXPECT_EQ(IYEAR, c.year) << c.year_digits << ", " << c.doy;
    EXPECT_EQ(IDOY, c.doy);
    EXPECT_EQ(IMONTH, c.month) << c.year_digits << ", " << c.doy;
    EXPECT_EQ(IDAY, c.day) << c.year_digits << ", " << c.doy;
  }
}

TEST(DateDerivation, WorkTextHoldsNumberTypeAndDigits) {
  reset_block_data();
  IREC = 1;
  const int digits[] = {0, 1, 1, 8, 5, 1, 2, 3, 4, 5, 6};
  for (int i = 1; i <= 11; ++i) IPREF(i) = digits[i - 1];
  ITYPE = -91;  // reduced, so not listed
  date_and_listing_step();
  EXPECT_EQ(std::string(DATSTR, 25), "     1-91 01185 123456   ");
}

TEST(DateDerivation, DigitAboveNineInTheDateEndsTheRunYearFirst) {
  struct Case {
    int position;  // IPREF entry made 10..15
    int value;
  } cases[] = {{1, 10}, {2, 15}, {3, 10}, {5, 12}};
  testing::FatalCapture capture;
  for (const Case& c : cases) {
    set_date_digits(0, 1, 185);
    IPREF(c.position) = c.value;
    IYEAR = -1;
    try {
      date_and_listing_step();
      ADD_FAILURE() << "digit " << c.position << " read back";
    } catch (const testing::CapturedFailure& f) {
      EXPECT_EQ(f.failure.number, ErrorNumber::kInvalidCharacter);
      EXPECT_EQ(f.failure.statement, Statement::kRead);
      EXPECT_EQ(f.unit, "internal");
      // A bad day-of-year digit fails after the year was read.
      EXPECT_EQ(IYEAR, c.position >= 3 ? 2001 : -1) << c.position;
    }
  }
}

}  // namespace
}  // namespace prefscan
