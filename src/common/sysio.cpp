#include "common/sysio.h"

#include <unistd.h>

#include <cerrno>

namespace prefscan {

SystemIo sysio{::read, ::write};

void reset_sysio() { sysio = {::read, ::write}; }

int write_fully(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = sysio.write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;  // a device that takes nothing will not take more
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

}  // namespace prefscan
