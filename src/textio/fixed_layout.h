// Layouts whose every column is known while compiling.
//
// For a layout of one record whose fields all have a width, and a fixed
// number of items, the walk over the layout does not depend on the items'
// values: which field takes which item and at which column is the same for
// every block. plan_fixed() runs that walk at compile time and keeps the
// result as a flat list of steps at fixed columns; write_fixed() and
// read_fixed() then carry the steps out with the widths as constants, so a
// block pays neither for walking the layout nor for general field editing.
// The results are the same as those of write_formatted(), write_internal()
// and read_internal().
#pragma once

#include <cstdint>
#include <source_location>
#include <span>
#include <string_view>
#include <utility>

#include "textio/fatal.h"
#include "textio/fields.h"
#include "textio/layout.h"
#include "textio/transfer.h"
#include "textio/walk.h"

namespace prefscan {

struct FixedStep {
  Op op = Op::kEnd;  // kInt, kHex, kChar or kLiteral
  std::int16_t w = 0;
  std::int16_t m = 1;
  std::int16_t column = 0;  // counted from 0
  std::int16_t item = 0;    // fields: the item's index
  std::int16_t text = 0;    // literals: offset into FixedPlan::chars
  std::int16_t length = 0;
};

inline constexpr int kMaxFixedSteps = 96;

struct FixedPlan {
  FixedStep step[kMaxFixedSteps] = {};
  int count = 0;
  int length = 0;  // columns of the record
  bool no_advance = false;
  char chars[kMaxLayoutChars] = {};
  const char* error = nullptr;  // why the layout cannot be planned
};

namespace fixed_detail {

struct Planner {
  const Layout& layout;
  FixedPlan plan{};
  int pending = 0;  // blanks from X, put down only when a character follows

  constexpr void add(FixedStep s, int width) {
    if (plan.count == kMaxFixedSteps) {
      plan.error = "too many steps for a fixed layout";
      return;
    }
    s.column = static_cast<std::int16_t>(plan.length + pending);
    plan.length += pending + width;
    pending = 0;
    plan.step[plan.count++] = s;
  }
  constexpr void field(const Element& e, int item) {
    if (e.op == Op::kChar && e.w == 0) plan.error = "a character field without a width";
    FixedStep s;
    s.op = e.op;
    s.w = static_cast<std::int16_t>(e.w);
    s.m = static_cast<std::int16_t>(e.m);
    s.item = static_cast<std::int16_t>(item);
    add(s, e.w);
  }
  constexpr void literal(std::string_view t) {
    FixedStep s;
    s.op = Op::kLiteral;
    s.text = static_cast<std::int16_t>(t.data() - layout.chars);
    s.length = static_cast<std::int16_t>(t.size());
    add(s, static_cast<int>(t.size()));
  }
  constexpr void skip(int n) { pending += n; }
  constexpr void record_end() { plan.error = "a fixed layout has one record"; }
  constexpr void no_advance() { plan.no_advance = true; }
};

inline void unplannable_layout(const char* /*reason*/) {}  // not constexpr: fails the build

}  // namespace fixed_detail

consteval FixedPlan plan_fixed(const Layout& layout, int items) {
  fixed_detail::Planner p{layout};
  walk_layout(layout, items, p);
  for (int i = 0; i < kMaxLayoutChars; ++i) p.plan.chars[i] = layout.chars[i];
  if (p.plan.error != nullptr) fixed_detail::unplannable_layout(p.plan.error);
  return p.plan;
}

template <const Layout& L, std::size_t N>
inline constexpr FixedPlan kFixedPlan = plan_fixed(L, static_cast<int>(N));

namespace fixed_detail {

inline constexpr char kHexDigit[] = "0123456789ABCDEF";

template <const FixedPlan& P, std::size_t I>
inline void put(char* out, const Item* items) {
  constexpr FixedStep s = P.step[I];
  char* at = out + s.column;
  if constexpr (s.op == Op::kLiteral) {
    for (int k = 0; k < s.length; ++k) at[k] = P.chars[s.text + k];
  } else {
    const Item& item = items[s.item];
    if constexpr (s.op == Op::kChar) {
      edit_text(at, item.kind == Item::Kind::kText ? item.text : std::string_view(), s.w);
    } else if (item.kind == Item::Kind::kText) {
      for (int k = 0; k < s.w; ++k) at[k] = '*';  // no number to show
    } else if constexpr (s.op == Op::kInt && s.w == 1) {
      // One column holds a digit; anything else, a sign included, does not fit.
      const auto v = static_cast<std::uint32_t>(item.value);
      *at = v <= 9 ? static_cast<char>('0' + v) : '*';
    } else if constexpr (s.op == Op::kInt) {
      edit_decimal(at, item.value, s.w, s.m);
    } else if constexpr (s.w == 1) {
      *at = kHexDigit[static_cast<std::uint32_t>(item.value) & 0xF];
    } else if (item.kind == Item::Kind::kInt16) {
      edit_hex(at, static_cast<std::uint16_t>(item.value), 4, s.w);
    } else {
      edit_hex(at, static_cast<std::uint32_t>(item.value), 8, s.w);
    }
  }
}

template <const FixedPlan& P, std::size_t... I>
inline void fill(char* out, const Item* items, std::index_sequence<I...>) {
  for (int c = 0; c < P.length; ++c) out[c] = ' ';
  (put<P, I>(out, items), ...);
}

template <const FixedPlan& P, std::size_t I>
inline void get(std::string_view text, std::int32_t* items, std::source_location where) {
  constexpr FixedStep s = P.step[I];
  if constexpr (s.op == Op::kInt) {
    InputFault fault = InputFault::kNone;
    if constexpr (s.w == 1) {
      const char c = static_cast<std::size_t>(s.column) < text.size() ? text[s.column] : ' ';
      if (c >= '0' && c <= '9') {
        items[s.item] = c - '0';
      } else if (c == ' ' || c == '\t' || c == '+' || c == '-') {
        items[s.item] = 0;  // a blank, or a sign alone, is 0
      } else {
        fault = InputFault::kInvalidCharacter;
      }
    } else {
      const auto from = static_cast<std::size_t>(s.column);
      fault = read_decimal(from < text.size() ? text.substr(from, s.w) : std::string_view(),
                           items[s.item]);
    }
    if (fault == InputFault::kInvalidCharacter) {
      fatal({ErrorNumber::kInvalidCharacter, Statement::kRead, kInternalUnit}, where);
    }
    if (fault == InputFault::kOutOfRange) {
      fatal({ErrorNumber::kIntegerOutOfRange, Statement::kRead, kInternalUnit}, where);
    }
  } else {
    static_assert(s.op == Op::kLiteral, "a fixed read takes decimal fields only");
  }
}

template <const FixedPlan& P, std::size_t... I>
inline void get_all(std::string_view text, std::int32_t* items, std::source_location where,
                    std::index_sequence<I...>) {
  (get<P, I>(text, items, where), ...);
}

}  // namespace fixed_detail

// write_formatted() for a layout planned at compile time.
template <const Layout& L, std::size_t N>
void write_fixed(RecordSink& unit, const Item (&items)[N],
                 std::source_location where = std::source_location::current()) {
  constexpr int length = kFixedPlan<L, N>.length;
  constexpr int steps = kFixedPlan<L, N>.count;
  static_assert(length <= kMaxRecordLength);
  static char record[length > 0 ? length : 1];
  fixed_detail::fill<kFixedPlan<L, N>>(record, items, std::make_index_sequence<steps>{});
  unit.put_record({record, static_cast<std::size_t>(length)}, kFixedPlan<L, N>.no_advance, where);
}

// write_internal() for a layout planned at compile time; a record longer
// than the text fails the build instead of the run.
template <const Layout& L, std::size_t N, std::size_t T>
void write_fixed(char (&text)[T], const Item (&items)[N]) {
  constexpr int length = kFixedPlan<L, N>.length;
  constexpr int steps = kFixedPlan<L, N>.count;
  static_assert(length <= static_cast<int>(T), "the record does not fit its text");
  fixed_detail::fill<kFixedPlan<L, N>>(text, items, std::make_index_sequence<steps>{});
  for (std::size_t c = length; c < T; ++c) text[c] = ' ';
}

// read_internal() for a layout of decimal fields planned at compile time.
template <const Layout& L, std::size_t N>
void read_fixed(std::string_view text, std::span<std::int32_t, N> items,
                std::source_location where = std::source_location::current()) {
  constexpr int steps = kFixedPlan<L, N>.count;
  fixed_detail::get_all<kFixedPlan<L, N>>(text, items.data(), where,
                                          std::make_index_sequence<steps>{});
}

}  // namespace prefscan
