// Arbitrary blocks through the per-block work of the block loop: PREFCH, the
// date and listing step and the progress line.
//
// Input: the block's bytes, byte 1 first; bytes past the end of a shorter
// input are 0, and bytes past 4096 are ignored except that, when present,
// bytes 4097..4100 choose the block number (so the six-column block number
// field of the work text and the progress line see large values too).
//
// Every block either completes or ends the run with 6101 (a date digit or a
// packed nibble above 9); any other error number, a crash or a sanitizer
// report is a finding. After a completed PREFCH the type and digits must lie
// in the ranges the preface layouts can produce, and after a completed date
// step the date values in theirs.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "common/blockdata.h"
#include "driver/progress.h"
#include "fatal_trap.h"
#include "listing/console.h"
#include "listing/dates.h"
#include "listing/listing_file.h"
#include "preface/prefch.h"
#include "textio/frames.h"

using namespace prefscan;
using prefscan::fuzz::finding;

namespace {

bool selects_no_layout(std::int32_t type) {
  return type < 0 || type == 0 || type == 1 || type == 4 || type == 5 || type == 14;
}

void check_decoded(int type_nibble) {
  if (ITYPE != type_nibble && ITYPE != type_nibble - 100) finding("ITYPE not from byte 1", ITYPE);
  // Only the types with a marker test or a layout test can be lowered.
  if (ITYPE < 0 && (type_nibble == 10 || type_nibble == 12 || type_nibble == 13 ||
                    selects_no_layout(type_nibble))) {
    finding("a type without a test was lowered", ITYPE);
  }
  // How many entries the type's layout fills; the rest stay 0.
  int filled = 89;
  int highest = 15;
  if (selects_no_layout(ITYPE)) {
    filled = 0;
  } else if (ITYPE == 2 || ITYPE == 3 || ITYPE == 6 || ITYPE == 7 ||
             (ITYPE == 15 && IBYTE(10) == 255)) {
    filled = 11;
    highest = 9;  // a packed nibble above 9 ends the run instead
  } else if (ITYPE != 10 && ITYPE != 15) {
    filled = 57;
  }
  for (int i = 1; i <= kPrefaceDigits; ++i) {
    if (IPREF(i) < 0 || IPREF(i) > highest) finding("preface digit out of range", i);
    if (i > filled && IPREF(i) != 0) finding("digit set beyond the layout's entries", i);
  }
}

void check_dated() {
  if (IYEAR < 2000 || IYEAR > 2099) finding("IYEAR out of range", IYEAR);
  if (IDOY < 0 || IDOY > 999) finding("IDOY out of range", IDOY);
  if (IMONTH < 1 || IMONTH > 12) finding("IMONTH out of range", IMONTH);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::install_fatal_trap();
  // Progress lines go nowhere; libFuzzer itself reports on standard error.
  const int null = open("/dev/null", O_WRONLY);
  if (null < 0 || dup2(null, STDOUT_FILENO) < 0) finding("cannot silence standard output");
  close(null);
  // A connected listing, so that date lines fill and flush the buffer.
  connect_listing("/dev/null");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_frames();
  reset_block_data();
  reset_console();

  IREC = 1;
  if (size >= kBlockSize + 4) {
    std::uint32_t n;
    std::memcpy(&n, data + kBlockSize, sizeof n);
    IREC = static_cast<std::int32_t>(1 + n % static_cast<std::uint32_t>(kBlockLimit));
  }
  IOFF = 1;
  for (int i = 1; i <= kBlockSize; ++i) {
    IBYTE(i) = static_cast<std::size_t>(i) <= size ? data[i - 1] : 0;
  }
  const int type_nibble = IBYTE(1) & 15;

  RoutineFrame frame(nullptr);
  try {
    frame.at();
    PREFCH();
    check_decoded(type_nibble);
    frame.at();
    date_and_listing_step();
    check_dated();
    frame.at();
    write_progress_line();
  } catch (const fuzz::FatalStop& stop) {
    if (stop.number != ErrorNumber::kInvalidCharacter) {
      finding("block step ended with an unexpected error number", static_cast<long>(stop.number));
    }
  }
  return 0;
}
