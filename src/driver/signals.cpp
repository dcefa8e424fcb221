#include "driver/signals.h"

#include <signal.h>
#include <unistd.h>

#include "textio/fatal.h"

namespace prefscan {
namespace {

volatile sig_atomic_t pending = 0;

extern "C" void record_signal(int number) { pending = number; }

}  // namespace

void install_signal_handlers() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);

  // No SA_RESTART: a read blocked on the console returns so the signal is
  // acted on at once.
  struct sigaction record {};
  record.sa_handler = record_signal;
  sigemptyset(&record.sa_mask);
  for (int number : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal that was ignored when the program started (a background job
    // of a shell, or under nohup) stays ignored.
    struct sigaction before {};
    sigaction(number, &record, &before);
    if (before.sa_handler == SIG_IGN) sigaction(number, &before, nullptr);
  }
}

void act_on_pending_signal() {
  const int number = pending;
  if (number == 0) return;
  run_end_of_process();
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(number, &fallback, nullptr);
  sigset_t unblock;
  sigemptyset(&unblock);
  sigaddset(&unblock, number);
  sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
  raise(number);
  _exit(128 + number);  // only if the signal did not end the process
}

}  // namespace prefscan
