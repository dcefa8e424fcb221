#include "listing/listing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/sysio.h"
#include "textio/fatal.h"

namespace prefscan {

namespace {

class ListingFile final : public RecordSink {
 public:
  void connect(std::string_view name, std::source_location where) {
    name_len_ = name.size() < kMaxFileNameLength ? name.size() : kMaxFileNameLength;
    std::memcpy(name_, name.data(), name_len_);
    char path[kMaxFileNameLength + 1];
    std::memcpy(path, name_, name_len_);
    path[name_len_] = '\0';
    fd_ = ::open(path, O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    const int first_error = errno;
    read_only_ = false;
    if (fd_ < 0) {
      fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
      read_only_ = fd_ >= 0;
    }
    if (fd_ < 0) fd_ = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) fatal({open_error_for(first_error), Statement::kOpen, designation()}, where);
    held_ = 0;
  }

  void put_record(std::string_view record, bool, std::source_location where) override {
    if (fd_ < 0) return;
    if (read_only_) fail(EBADF, where);
    append(record, where);
    append("\r\n", where);
  }

  std::string_view designation() const override { return {name_, name_len_}; }

  void close(std::source_location where) {
    if (fd_ < 0) return;
    flush(where);
    const int fd = fd_;
    fd_ = -1;
    // A close can still report a write the file system had accepted lazily.
    if (::close(fd) != 0 && errno != EINTR) fail(errno, where);
  }

  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    held_ = 0;
  }

 private:
  void append(std::string_view bytes, std::source_location where) {
    while (!bytes.empty()) {
      const std::size_t take = std::min(bytes.size(), kListingBufferSize - held_);
      std::memcpy(buffer_ + held_, bytes.data(), take);
      held_ += take;
      bytes.remove_prefix(take);
      if (held_ == kListingBufferSize) flush(where);
    }
  }

  void flush(std::source_location where) {
    if (held_ == 0) return;
    const int error = write_fully(fd_, {buffer_, held_});
    held_ = 0;
    if (error != 0) fail(error, where);
  }

  // A listing that refused a write takes no more records: the end of the
  // run must not try the same write again.
  [[noreturn]] void fail(int error, std::source_location where) {
    held_ = 0;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    fatal({write_error_for(error), Statement::kWrite, designation()}, where);
  }

  int fd_ = -1;
  bool read_only_ = false;
  char name_[kMaxFileNameLength];
  std::size_t name_len_ = 0;
  char buffer_[kListingBufferSize];
  std::size_t held_ = 0;
};

ListingFile unit20;

}  // namespace

void connect_listing(std::string_view name, std::source_location where) {
  unit20.connect(name, where);
}

RecordSink& listing_unit() { return unit20; }

void close_listing(std::source_location where) { unit20.close(where); }

void reset_listing() { unit20.reset(); }

}  // namespace prefscan
