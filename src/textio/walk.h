// Walks a parsed layout for a transfer of `item_count` items.
//
// The walk carries out control elements as it meets them and hands each
// field one item; once the items are used up it goes on through control
// elements only and stops at the next field or at the closing parenthesis.
// Should items remain at the closing parenthesis (no layout of the system
// does that), the record ends and the walk starts again from the top.
#pragma once

#include "textio/layout.h"

namespace prefscan {

// Visitor: field(element, item_index), literal(text), skip(n), record_end(),
// no_advance().
template <class Visitor>
constexpr void walk_layout(const Layout& layout, int item_count, Visitor& visit) {
  struct Open {
    int begin;
    int left;
  };
  Open open[kMaxGroupDepth];
  int depth = 0;
  int item = 0;
  int pos = 0;
  while (true) {
    const Element& e = layout.element[pos];
    switch (e.op) {
      case Op::kGroupBegin:
        open[depth++] = {pos, e.repeat};
        ++pos;
        break;
      case Op::kGroupEnd:
        if (--open[depth - 1].left > 0) {
          pos = open[depth - 1].begin + 1;
        } else {
          --depth;
          ++pos;
        }
        break;
      case Op::kEnd:
        if (item < item_count && layout.has_field) {
          visit.record_end();
          pos = 0;
          break;
        }
        return;
      case Op::kInt:
      case Op::kHex:
      case Op::kChar:
        for (int r = 0; r < e.repeat; ++r) {
          if (item == item_count) return;
          visit.field(e, item++);
        }
        ++pos;
        break;
      case Op::kLiteral:
        visit.literal(layout.literal(e));
        ++pos;
        break;
      case Op::kSkip:
        visit.skip(e.repeat);
        ++pos;
        break;
      case Op::kRecordEnd:
        for (int r = 0; r < e.repeat; ++r) visit.record_end();
        ++pos;
        break;
      case Op::kNoAdvance:
        visit.no_advance();
        ++pos;
        break;
    }
  }
}

}  // namespace prefscan
