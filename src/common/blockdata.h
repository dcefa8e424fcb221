// The data the routines share: the current block, its number and what the
// preface decoding made of it. All of it is static and lives for the run.
//
// Written by the driver: BLKBUF, IBYTE, IOFF, IREC, MAXREC, EOFFLG, IOS.
// Written by PREFCH: ITYPE, IPREF. The date and listing step reads IREC,
// ITYPE and IPREF(1..11).
#pragma once

#include <cstdint>

#include "textio/checked.h"

namespace prefscan {

inline constexpr int kBlockSize = 4096;
inline constexpr int kPrefaceDigits = 89;
// The bound of the block loop that the driver sets when MAXREC is still 0.
inline constexpr std::int32_t kBlockLimit = 999999999;

// The current block exactly as read.
extern Table<char, kBlockSize> BLKBUF;
// The current block as unsigned byte values 0..255; IBYTE(1) is byte 1.
extern Table<std::int16_t, kBlockSize> IBYTE;
// Base offset from which PREFCH counts its marker positions: 1 for every block.
extern std::int32_t IOFF;
// Sequence number of the current block, from 1.
extern std::int32_t IREC;
// Block type: the low four bits of byte 1, or 100 less after a failed test.
extern std::int32_t ITYPE;
// Preface digits; entries 1-2 year, 3-5 day of year, 6-11 hour, minute, second.
extern Table<std::int32_t, kPrefaceDigits> IPREF;
// Upper bound of the block loop; 0 until the loop starts.
extern std::int32_t MAXREC;
// Set when the input has ended.
extern bool EOFFLG;
// Status of the last block read: 0 complete, -1 end of file, > 0 read failure.
extern std::int32_t IOS;

// IBYTE(i) = the unsigned value of BLKBUF(i), for i = 1..4096.
void widen_block();

// Puts every shared value back to its start-up state; for in-process tests.
void reset_block_data();

}  // namespace prefscan
