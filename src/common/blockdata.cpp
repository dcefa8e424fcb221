#include "common/blockdata.h"

namespace prefscan {

Table<char, kBlockSize> BLKBUF;
Table<std::int16_t, kBlockSize> IBYTE;
std::int32_t IOFF = 0;
std::int32_t IREC = 0;
std::int32_t ITYPE = 0;
Table<std::int32_t, kPrefaceDigits> IPREF;
std::int32_t MAXREC = 0;
bool EOFFLG = false;
std::int32_t IOS = 0;

void reset_block_data() {
  BLKBUF = {};
  IBYTE = {};
  IPREF = {};
  IOFF = IREC = ITYPE = MAXREC = IOS = 0;
  EOFFLG = false;
}

}  // namespace prefscan
