// The three transfers through layout texts: a formatted write to a unit or
// an internal text, a formatted read from an internal text, and the
// free-form read of one integer. Each completes or ends the run.
#pragma once

#include <cstdint>
#include <source_location>
#include <span>
#include <string_view>

#include "textio/layout.h"

namespace prefscan {

// One item of a write. The size of an integer item decides how many
// hexadecimal digits its bit pattern has.
struct Item {
  enum class Kind : std::uint8_t { kInt32, kInt16, kText };
  Kind kind;
  std::int32_t value;
  std::string_view text;

  static constexpr Item int32(std::int32_t v) { return {Kind::kInt32, v, {}}; }
  static constexpr Item int16(std::int16_t v) { return {Kind::kInt16, v, {}}; }
  static constexpr Item chars(std::string_view t) { return {Kind::kText, 0, t}; }
};

// Where the records of a formatted write to a unit go.
class RecordSink {
 public:
  // One complete record. `no_advance` is set only on the last record of a
  // write whose layout asked for it.
  // `where` is the write statement that a failure is reported at.
  virtual void put_record(std::string_view record, bool no_advance,
                          std::source_location where) = 0;
  // The designation that a failure of this unit's records shows.
  virtual std::string_view designation() const = 0;

 protected:
  ~RecordSink() = default;
};

// The longest record a formatted write to a unit can build.
inline constexpr int kMaxRecordLength = 1024;

void write_formatted(RecordSink& unit, const Layout& layout, std::span<const Item> items,
                     std::source_location where = std::source_location::current());

// Writes into a fixed-length text that serves as one record: the text is
// blank-filled after the last column written; a character past its end is
// 6600.
void write_internal(std::span<char> text, const Layout& layout, std::span<const Item> items,
                    std::source_location where = std::source_location::current());

// Reads integer items from a fixed-length text under a layout; columns past
// its end read as blanks. A character an integer field cannot take is 6101,
// a value outside the item's range 6100.
void read_internal(std::string_view text, const Layout& layout, std::span<std::int32_t> items,
                   std::source_location where = std::source_location::current());

// Reads one integer from a short text with no layout: blanks around it are
// skipped and a blank or a comma ends it. A character that cannot be part of
// a signed decimal integer is 6101, a value out of range 6100, and a text
// with no value in it 6501.
std::int32_t read_free_integer(std::string_view text,
                               std::source_location where = std::source_location::current());

}  // namespace prefscan
