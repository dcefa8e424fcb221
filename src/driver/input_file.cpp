#include "driver/input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/blockdata.h"
#include "common/sysio.h"
#include "driver/signals.h"
#include "listing/console.h"
#include "textio/fatal.h"

namespace prefscan {
namespace {

// 64 blocks per read call: few system calls, and the chunk stays in cache.
constexpr std::size_t kChunkSize = 64 * kBlockSize;

int fd = -1;
char name_text[kMaxFileNameLength + 1];
std::size_t name_length = 0;

char chunk[kChunkSize];
std::size_t chunk_begin = 0;  // first byte not yet handed out
std::size_t chunk_end = 0;    // one past the last byte read
bool input_ended = false;

}  // namespace

void connect_input(std::string_view name, std::source_location where) {
  name_length = name.size() < kMaxFileNameLength ? name.size() : kMaxFileNameLength;
  std::memcpy(name_text, name.data(), name_length);
  name_text[name_length] = '\0';
  // A name with a NUL in it cannot reach the platform intact.
  if (std::memchr(name_text, '\0', name_length) != nullptr || name_length != name.size()) {
    fatal({ErrorNumber::kInvalidName, Statement::kOpen, name}, where);
  }
  fd = ::open(name_text, O_RDONLY | O_CLOEXEC);
  if (fd < 0) fatal({open_error_for(errno), Statement::kOpen, input_name()}, where);
  chunk_begin = chunk_end = 0;
  input_ended = false;
}

std::string_view input_name() { return {name_text, name_length}; }

std::int32_t read_block(char* block) {
  if (chunk_end - chunk_begin < kBlockSize) {
    const std::size_t left = chunk_end - chunk_begin;
    std::memmove(chunk, chunk + chunk_begin, left);
    chunk_begin = 0;
    chunk_end = left;
    while (chunk_end < kBlockSize && !input_ended) {
      // Progress shown so far goes out before the program may wait for input.
      console_flush();
      const ssize_t n = sysio.read(fd, chunk + chunk_end, kChunkSize - chunk_end);
      if (n < 0) {
        if (errno == EINTR) {
          act_on_pending_signal();
          continue;
        }
        return errno > 0 ? errno : EIO;
      }
      if (n == 0) input_ended = true;
      chunk_end += static_cast<std::size_t>(n);
    }
    if (chunk_end < kBlockSize) return -1;
  }
  std::memcpy(block, chunk + chunk_begin, kBlockSize);
  chunk_begin += kBlockSize;
  return 0;
}

}  // namespace prefscan
