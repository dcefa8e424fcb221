#include "listing/dates.h"

#include <string_view>

#include "common/blockdata.h"
#include "listing/listing_file.h"
#include "textio/fixed_layout.h"
#include "textio/layout.h"
#include "textio/transfer.h"

namespace prefscan {

char DATSTR[25];
std::int32_t IYEAR = 0;
std::int32_t IDOY = 0;
std::int32_t IMONTH = 0;
std::int32_t IDAY = 0;
const Table<std::int32_t, 12> MSTART{{1, 32, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};

namespace {

constexpr std::string_view kHeaderText = "  Date (Day of year) Time";
constexpr Layout kHeaderLayout = layout_text("(a/)");

// Far more fields than items: the write stops at the first hexadecimal
// field with no item left, after column 22.
constexpr Layout kDatstrLayout = layout_text(
    "(I6,I3,1X,5Z1,1X,6Z1,1X,2Z1,2(1X,6Z1),1X,7Z1,1X,2Z1,1X,Z1,1X,2Z1,2(1X,3Z1),1X,14Z1,4(2X,3Z1,1X,Z1,1X,4Z1))");

constexpr Layout kDateLineLayout = layout_text(
    "(i4.4,1h.,i2.2,1h.,i2.2,2h (,i3,2h) ,2i1,                   1h:,2i1,1h:,2i1)");

bool is_listed(std::int32_t type) { return type == 3 || type == 7 || type == 9 || type == 11; }

}  // namespace

void write_listing_header() {
  const Item header[] = {Item::chars(kHeaderText)};
  write_formatted(listing_unit(), kHeaderLayout, header);
}

void date_and_listing_step() {
  Item digits[13] = {Item::int32(IREC), Item::int32(ITYPE)};
  for (int i = 1; i <= 11; ++i) digits[i + 1] = Item::int32(IPREF(i));
  write_fixed<kDatstrLayout>(DATSTR, digits);

  const std::string_view text(DATSTR, sizeof DATSTR);
  IYEAR = read_free_integer(text.substr(10, 2));
  IYEAR = add(IYEAR, 2000);
  IDOY = read_free_integer(text.substr(12, 3));

  // Months 3 to 12 begin a day later from day 60 of a year divisible by 4.
  const std::int32_t shift = IYEAR % 4 == 0 && IDOY >= 60 ? 1 : 0;
  auto start = [shift](std::int32_t month) {
    return month <= 2 ? MSTART(month) : add(MSTART(month), shift);
  };
  IMONTH = 12;
  for (std::int32_t j = 1; j <= 11; ++j) {
    if (start(j) <= IDOY && IDOY < start(j + 1)) {
      IMONTH = j;
      break;
    }
  }
  IDAY = add(sub(IDOY, start(IMONTH)), 1);

  if (!is_listed(ITYPE)) return;
  Item line[10] = {Item::int32(IYEAR), Item::int32(IMONTH), Item::int32(IDAY),
                   Item::int32(IDOY)};
  for (int i = 6; i <= 11; ++i) line[i - 2] = Item::int32(IPREF(i));
  write_fixed<kDateLineLayout>(listing_unit(), line);
}

}  // namespace prefscan
