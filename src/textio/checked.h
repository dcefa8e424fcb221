// Guards for the system's own arithmetic and tables.
//
// Every table of the system is indexed from 1 and every integer addition,
// subtraction and multiplication is signed 32-bit; a guard that fires ends
// the run with the check report (6096, 6099, 6106) at the guarded statement.
#pragma once

#include <cstdint>
#include <utility>
#include <source_location>

#include "textio/fatal.h"

namespace prefscan {

[[noreturn]] inline void check_failed(ErrorNumber number, std::source_location where) {
  fatal({number, Statement::kCheck, {}}, where);
}

// A fixed table of N entries indexed 1..N; an index outside is 6096.
template <class T, int N>
struct Table {
  static_assert(N > 0);
  T entry[N];

  constexpr T& operator()(std::int32_t i,
                          std::source_location where = std::source_location::current()) {
    if (i < 1 || i > N) check_failed(ErrorNumber::kIndexOutOfBounds, where);
    return entry[i - 1];
  }
  constexpr const T& operator()(std::int32_t i, std::source_location where =
                                                    std::source_location::current()) const {
    if (i < 1 || i > N) check_failed(ErrorNumber::kIndexOutOfBounds, where);
    return entry[i - 1];
  }
  static constexpr int size() { return N; }
  constexpr T* data() { return entry; }
  constexpr const T* data() const { return entry; }
};

inline std::int32_t add(std::int32_t a, std::int32_t b,
                        std::source_location where = std::source_location::current()) {
  std::int32_t r;
  if (__builtin_add_overflow(a, b, &r)) check_failed(ErrorNumber::kIntegerOverflow, where);
  return r;
}

inline std::int32_t sub(std::int32_t a, std::int32_t b,
                        std::source_location where = std::source_location::current()) {
  std::int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) check_failed(ErrorNumber::kIntegerOverflow, where);
  return r;
}

inline std::int32_t mul(std::int32_t a, std::int32_t b,
                        std::source_location where = std::source_location::current()) {
  std::int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) check_failed(ErrorNumber::kIntegerOverflow, where);
  return r;
}

// Converts to a narrower integer type; a value that does not fit is 6106.
template <class To, class From>
To narrow(From value, std::source_location where = std::source_location::current()) {
  if (!std::in_range<To>(value)) check_failed(ErrorNumber::kNarrowingOverflow, where);
  return static_cast<To>(value);
}

}  // namespace prefscan
