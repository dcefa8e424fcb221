#include "preface/prefch.h"

#include <cstdint>
#include <span>
#include <string_view>

#include "common/blockdata.h"
#include "textio/checked.h"
#include "textio/frames.h"
#include "textio/fixed_layout.h"
#include "textio/layout.h"
#include "textio/transfer.h"

namespace prefscan {
namespace {

// Digit count of the nibble layout of types 8, 9 and 11 and of the
// bit-serial layout; 57 at every entry, 89 for a type 10 block.
std::int32_t NPREF = 0;
// The marker byte, IBYTE(IOFF+1) AND 255.
std::int32_t IMARK = 0;
// Work text of the packed layouts: each group of packed bytes is written
// into it as hexadecimal and read back as one-digit decimal fields.
char WRKSTR[10];

constexpr std::int32_t kMarker = 60;
constexpr std::int32_t kDigitsOfType15Nibbles = 89;
constexpr std::int32_t kDigitsOfType10 = 89;
constexpr std::int32_t kDigitsByDefault = 57;

// Writing a byte of 16 or more into a one-digit hexadecimal field keeps its
// low digit only, which is how the high nibble of the day-of-year hundreds
// byte drops out. A nibble of 10..15 becomes a letter that the decimal
// fields refuse, ending the run.
constexpr Layout kFirstGroupHex = layout_text("(z2,z1,z2)");
constexpr Layout kFirstGroupDigits = layout_text("(5i1)");
constexpr Layout kSecondGroupHex = layout_text("(3z2)");
constexpr Layout kSecondGroupDigits = layout_text("(6i1)");

bool is_nibble_type(std::int32_t type) { return type == 8 || type == 9 || type == 11; }
bool is_bit_serial_type(std::int32_t type) { return type == 10 || type == 12 || type == 13; }
bool is_packed_type(std::int32_t type) {
  return type == 2 || type == 3 || type == 6 || type == 7;
}
bool needs_marker(std::int32_t type) {
  return type == 2 || type == 3 || type == 8 || type == 9 || type == 11;
}

// One digit per byte, from its low four bits.
void nibble_layout(std::int32_t IPOS, std::int32_t count) {
  for (std::int32_t i = 1; i <= count; ++i) {
    IPREF(i) = IBYTE(IPOS) & 15;
    IPOS = add(IPOS, 1);
  }
}

// One digit per four bytes, bit 0 of the first byte giving bit 0 of the
// digit. Types 10 and 12 pass over 128 bytes after digits 31 and 63, so that
// their digits lie in every second 128-byte frame of the block.
void bit_serial_layout() {
  std::int32_t IPOS = add(IOFF, 4);
  if (ITYPE == 10) NPREF = kDigitsOfType10;
  for (std::int32_t i = 1; i <= NPREF; ++i) {
    IPREF(i) = 0;
    for (std::int32_t k = 0; k <= 3; ++k) {
      const std::int32_t bit = IBYTE(IPOS) & 1;
      IPREF(i) = IPREF(i) | (bit << k);
      IPOS = add(IPOS, 1);
    }
    const std::int32_t next = add(i, 1);
    if (ITYPE != 13 && mul(next / 32, 32) == next) IPOS = add(IPOS, 128);
  }
}

// The byte positions of the packed layouts, fixed rather than counted from
// IOFF: three bytes of year and day of year, then three of the time of day.
struct PackedBytes {
  std::int32_t year_and_day[3];
  std::int32_t time_of_day[3];
};
constexpr PackedBytes kPackedBytes{{4, 5, 6}, {9, 10, 11}};
constexpr PackedBytes kType15PackedBytes{{11, 12, 13}, {16, 17, 18}};

// The first eleven digits as packed decimal, two to a byte, except the
// middle byte of the first group, which gives its low nibble only.
void packed_layout(const PackedBytes& at) {
  const Item year_and_day[] = {Item::int16(IBYTE(at.year_and_day[0])),
                               Item::int16(IBYTE(at.year_and_day[1])),
                               Item::int16(IBYTE(at.year_and_day[2]))};
  write_fixed<kFirstGroupHex>(WRKSTR, year_and_day);
  read_fixed<kFirstGroupDigits>(std::string_view(WRKSTR, sizeof WRKSTR),
                                std::span<std::int32_t, 5>(&IPREF(1), 5));

  const Item time_of_day[] = {Item::int16(IBYTE(at.time_of_day[0])),
                              Item::int16(IBYTE(at.time_of_day[1])),
                              Item::int16(IBYTE(at.time_of_day[2]))};
  write_fixed<kSecondGroupHex>(WRKSTR, time_of_day);
  read_fixed<kSecondGroupDigits>(std::string_view(WRKSTR, sizeof WRKSTR),
                                 std::span<std::int32_t, 6>(&IPREF(6), 6));
}

}  // namespace

// The steps run in this order for every block, each test seeing ITYPE as
// the steps before it left it. The type sets of the layouts do not overlap
// and a lowered type is negative, so at most one layout runs and 100 is
// taken off at most once.
void PREFCH() {
  RoutineFrame frame("PREFCH");
  for (std::int32_t i = 1; i <= kPrefaceDigits; ++i) IPREF(i) = 0;
  NPREF = kDigitsByDefault;
  ITYPE = IBYTE(1) & 15;
  IMARK = IBYTE(add(IOFF, 1)) & 255;

  if (needs_marker(ITYPE) && IMARK != kMarker) ITYPE = sub(ITYPE, 100);

  if (is_nibble_type(ITYPE)) nibble_layout(add(IOFF, 3), NPREF);

  if (is_bit_serial_type(ITYPE)) bit_serial_layout();

  if (ITYPE == 15) {
    if (IBYTE(add(IOFF, 3)) == 204 && IBYTE(add(IOFF, 4)) == 204) {
      if (IBYTE(add(IOFF, 9)) == 255) {
        packed_layout(kType15PackedBytes);
      } else {
        nibble_layout(add(IOFF, 8), kDigitsOfType15Nibbles);
      }
    } else {
      ITYPE = sub(ITYPE, 100);
    }
  }

  if (is_packed_type(ITYPE)) {
    if (IBYTE(add(IOFF, 2)) == 255) {
      packed_layout(kPackedBytes);
    } else {
      ITYPE = sub(ITYPE, 100);
    }
  }
}

}  // namespace prefscan
