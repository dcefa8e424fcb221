// Unit 1: the input file, read as raw bytes in large chunks and handed out
// one 4096-byte block at a time.
#pragma once

#include <cstdint>
#include <source_location>
#include <string_view>

namespace prefscan {

// Connects unit 1 to an existing file, read-only. A file that is missing,
// may not be read or has a name the platform refuses ends the run (6416,
// 6414, 6412) with the name as the designation.
void connect_input(std::string_view name,
                   std::source_location where = std::source_location::current());

// The name unit 1 was connected under.
std::string_view input_name();

// Copies the next block into `block` (4096 bytes) and returns the status of
// the read: 0 when the whole block arrived, -1 when the file ended before or
// inside it, or the errno of a failed read. A trailing partial block is
// never handed out.
std::int32_t read_block(char* block);

}  // namespace prefscan
