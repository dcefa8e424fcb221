// The date and listing step: a calendar date for every decoded block, and a
// date line in the listing for the blocks of types 3, 7, 9 and 11.
#pragma once

#include <cstdint>

#include "textio/checked.h"

namespace prefscan {

// Work text: block number, type and preface digits 1..11 as characters.
extern char DATSTR[25];
extern std::int32_t IYEAR;   // 2000..2099
extern std::int32_t IDOY;    // day of year as stored, 0..999, not checked
extern std::int32_t IMONTH;  // 1..12
extern std::int32_t IDAY;    // day of month; outside 1..31 for a day of year outside the year
// Day of year on which each month begins in a common year.
extern const Table<std::int32_t, 12> MSTART;

// Writes the header of one run to the listing: its text and an empty record.
void write_listing_header();

// Derives IYEAR, IDOY, IMONTH and IDAY from IPREF(1..5) through DATSTR and,
// for ITYPE 3, 7, 9 or 11, appends the date line to the listing. A date
// digit above 9 cannot be read back and ends the run (6101).
void date_and_listing_step();

}  // namespace prefscan
