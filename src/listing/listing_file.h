// Unit 20: the listing file, a text of records each followed by carriage
// return and line feed, appended to through a buffer of 1024 bytes.
#pragma once

#include <source_location>
#include <string_view>

#include "textio/transfer.h"

namespace prefscan {

inline constexpr std::size_t kListingBufferSize = 1024;

// Connects unit 20 to `name` for appending, creating the file when absent.
// Read and write access is asked for first, then read-only, then write-only,
// so that a listing that may only be read is still connected and fails at
// its first write (6421). No access at all ends the run (6414, 6416, 6412).
void connect_listing(std::string_view name,
                     std::source_location where = std::source_location::current());

// Unit 20 for formatted writes.
RecordSink& listing_unit();

// Writes the held records and closes the file. A failed write or close ends
// the run: 6422 when the device is full, 6421 otherwise.
void close_listing(std::source_location where = std::source_location::current());

// Forgets the connection without writing anything; for in-process tests.
void reset_listing();

}  // namespace prefscan
