#include "driver/program.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "common/blockdata.h"
#include "driver/dialogue.h"
#include "driver/input_file.h"
#include "driver/progress.h"
#include "driver/signals.h"
#include "listing/console.h"
#include "listing/dates.h"
#include "listing/end_of_run.h"
#include "listing/listing_file.h"
#include "preface/prefch.h"
#include "textio/fatal.h"
#include "textio/frames.h"

namespace prefscan {
namespace {

// LSTNAM: the listing's name as the program keeps it, blank-padded to 15.
constexpr std::string_view LSTNAM = "preflist.g     ";

// A standard stream that is closed would hand its descriptor to the next
// file opened, and console text or a fatal report would then land in the
// input or the listing. Such a stream is connected to the null device:
// reads from it meet the end of the input, writes vanish.
void guard_standard_streams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      // open() takes the lowest free descriptor, which is this one.
      (void)::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    }
  }
}

std::string_view without_trailing_blanks(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

int prefscan_main(int argc, char** argv) {
  guard_standard_streams();
  RoutineFrame frame(nullptr);
  register_end_of_run();
  install_signal_handlers();

  EOFFLG = false;
  ITYPE = 0;
  // frame.at() stands on the line of each call that can end the run, so that
  // the traceback shows the main program at that call.
  frame.at(); const std::string_view name = obtain_input_name(argc, argv);
  frame.at(); connect_input(name);
  // Unit 6 is standard output and needs no connection of its own.
  frame.at(); connect_listing(without_trailing_blanks(LSTNAM));
  frame.at(); write_listing_header();
  frame.at(); driver_dialogue(argc, argv);

  if (MAXREC == 0) MAXREC = kBlockLimit;
  bool ran_through = true;
  for (std::int32_t n = 0; n < MAXREC; ++n) {
    IREC = add(n, 1);
    act_on_pending_signal();
    IOS = read_block(BLKBUF.data());
    // A failed read is not the end of the file: it ends the run.
    frame.at(); if (IOS > 0) fatal({ErrorNumber::kReadFailed, Statement::kRead, input_name()});
    if (IOS == -1) {
      EOFFLG = true;
      ran_through = false;
      break;
    }
    IOFF = 1;
    widen_block();
    frame.at(); PREFCH();
    frame.at(); date_and_listing_step();
    frame.at(); write_progress_line();
  }
  if (ran_through) {
    frame.at(); console_free_form("  ");
    frame.at(); console_free_form(" exited \"do 100\" loop.");
    frame.at(); console_free_form("  ");
  }

  console_line_end_request();
  console_direct("Stop - Program terminated.\r\n");
  frame.at(); run_end_of_process();
  return 0;
}

}  // namespace prefscan
