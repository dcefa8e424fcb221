// The progress line: one console record per block, written in no-advance
// mode and ending in a carriage return, so that each one overwrites the last.
#pragma once

namespace prefscan {

// Writes IREC, ITYPE and IPREF(1..11) to unit 6.
void write_progress_line();

}  // namespace prefscan
