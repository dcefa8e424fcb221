#include "preface/prefch.h"

#include "common/blockdata.h"

namespace prefscan {

// Classification comes next; until then every block is of type 0 with no digits.
void PREFCH() {
  for (int i = 1; i <= kPrefaceDigits; ++i) IPREF(i) = 0;
  ITYPE = 0;
}

}  // namespace prefscan
