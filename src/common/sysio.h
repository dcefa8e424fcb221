// The system calls through which every byte enters and leaves the program.
//
// A thin seam: tests replace an entry to make a read or write fail, or come
// up short, at a chosen moment and check what the program makes of it.
#pragma once

#include <sys/types.h>

#include <cstddef>

#include <string_view>

namespace prefscan {

// The longest file name the program opens a file under.
inline constexpr std::size_t kMaxFileNameLength = 259;

struct SystemIo {
  ssize_t (*read)(int fd, void* buffer, size_t size);
  ssize_t (*write)(int fd, const void* buffer, size_t size);
};

extern SystemIo sysio;

// Restores the real system calls.
void reset_sysio();

// Writes every byte, retrying short writes and interrupted calls. Returns 0,
// or the errno of the write that failed.
int write_fully(int fd, std::string_view bytes);

}  // namespace prefscan
