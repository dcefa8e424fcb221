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

// The one step that touches every byte of every block; wider vector units
// do it in half the instructions where the processor has them.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void widen_block() {
  const char* in = BLKBUF.data();
  std::int16_t* out = IBYTE.data();
  for (int i = 0; i < kBlockSize; ++i) out[i] = static_cast<unsigned char>(in[i]);
}

void reset_block_data() {
  BLKBUF = {};
  IBYTE = {};
  IPREF = {};
  IOFF = IREC = ITYPE = MAXREC = IOS = 0;
  EOFFLG = false;
}

}  // namespace prefscan
