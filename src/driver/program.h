// The main program: start-up, the block loop and the stop.
#pragma once

namespace prefscan {

// Runs prefscan over the file named by the command line or on the console.
// Returns 0 after the stop; a fatal error ends the process with status 1.
int prefscan_main(int argc, char** argv);

}  // namespace prefscan
