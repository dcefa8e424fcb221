#include "listing/end_of_run.h"

#include "listing/console.h"
#include "listing/listing_file.h"

namespace prefscan {

void end_of_run() {
  close_listing();
  console_end_of_run();
}

}  // namespace prefscan
