// Interrupting signals (SIGINT, SIGTERM, SIGHUP) end the run without losing
// the listing: the handler only records the signal, and the program acts on
// it at the next block boundary or interrupted read by running the
// end-of-run rule and then ending by that same signal.
#pragma once

namespace prefscan {

// Ignores SIGPIPE, so a console that went away cannot kill the run before
// the listing is written, and installs the recording handlers.
void install_signal_handlers();

// When a signal has been recorded: the end-of-run rule, then the process
// ends by that signal. Otherwise returns at once.
void act_on_pending_signal();

}  // namespace prefscan
