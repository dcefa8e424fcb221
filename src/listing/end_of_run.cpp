#include "listing/end_of_run.h"

#include "listing/console.h"
#include "listing/listing_file.h"
#include "textio/fatal.h"

namespace prefscan {

void end_of_run() {
  // What the console holds goes out first, so that a failure of the listing
  // is reported after everything already shown.
  console_flush();
  close_listing();
  console_end_of_run();
}

}  // namespace prefscan

namespace prefscan {

void register_end_of_run() {
  set_end_of_process(end_of_run);
  set_before_report(console_flush_unchecked);
}

}  // namespace prefscan
