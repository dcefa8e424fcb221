#include "driver/progress.h"

#include "common/blockdata.h"
#include "listing/console.h"
#include "textio/fixed_layout.h"
#include "textio/layout.h"
#include "textio/transfer.h"

namespace prefscan {
namespace {

// The blanks between "' type'" and ",i3" lie outside the quotes and have no
// effect; the text is kept as the program has always stored it.
constexpr Layout kProgressLayout = layout_text(
    R"layout((1x,' Decoding preface:       rec #',i8,' type'                                       ,i3,2x,5z1,1x,6z1,a1,\))layout");

constexpr char kCarriageReturn = '\r';

}  // namespace

void write_progress_line() {
  Item items[14] = {Item::int32(IREC), Item::int32(ITYPE)};
  for (int i = 1; i <= 11; ++i) items[i + 1] = Item::int32(IPREF(i));
  items[13] = Item::chars({&kCarriageReturn, 1});
  write_fixed<kProgressLayout>(console_unit(), items);
}

}  // namespace prefscan
