// The end-of-run rule: runs once when the process ends, after the stop and
// after a fatal error alike.
#pragma once

namespace prefscan {

// Closes the listing, which writes its held records, then writes the line
// end the console still owes.
void end_of_run();

// Registers the end-of-run rule, and the console flush that comes before any
// fatal report, with the fatal path.
void register_end_of_run();

}  // namespace prefscan
