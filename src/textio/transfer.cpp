#include "textio/transfer.h"

#include <cstring>

#include "textio/fatal.h"
#include "textio/fields.h"
#include "textio/walk.h"

namespace prefscan {
namespace {

// The width a field takes for an item: A alone is as wide as its text.
int field_width(const Element& e, const Item& item) {
  if (e.op == Op::kChar && e.w == 0) {
    return item.kind == Item::Kind::kText ? static_cast<int>(item.text.size()) : 4;
  }
  return e.w;
}

void edit_field(char* out, const Element& e, const Item& item, int w) {
  switch (e.op) {
    case Op::kInt:
      if (item.kind == Item::Kind::kText) {
        std::memset(out, '*', static_cast<std::size_t>(w));  // no number to show
      } else {
        edit_decimal(out, item.value, w, e.m);
      }
      break;
    case Op::kHex:
      if (item.kind == Item::Kind::kText) {
        std::memset(out, '*', static_cast<std::size_t>(w));
      } else if (item.kind == Item::Kind::kInt16) {
        edit_hex(out, static_cast<std::uint16_t>(item.value), 4, w);
      } else {
        edit_hex(out, static_cast<std::uint32_t>(item.value), 8, w);
      }
      break;
    case Op::kChar:
      edit_text(out, item.kind == Item::Kind::kText ? item.text : std::string_view(), w);
      break;
    default:
      break;
  }
}

// Builds the characters of one record at a time into `out` (capacity
// `limit`); blanks owed by X are put down only when a character follows.
class Builder {
 public:
  Builder(char* out, int limit, const Failure& overflow, std::source_location where)
      : out_(out), limit_(limit), overflow_(overflow), where_(where) {}

  char* reserve(int n) {
    if (length_ + pending_ + n > limit_) fatal(overflow_, where_);
    for (; pending_ > 0; --pending_) out_[length_++] = ' ';
    char* at = out_ + length_;
    length_ += n;
    return at;
  }
  void skip(int n) { pending_ += n; }
  void clear() {
    length_ = 0;
    pending_ = 0;
  }
  int length() const { return length_; }

 private:
  char* out_;
  int limit_;
  int length_ = 0;
  int pending_ = 0;
  Failure overflow_;
  std::source_location where_;
};

struct WriteVisitor {
  Builder& b;
  std::span<const Item> items;
  RecordSink* unit;  // nullptr for an internal text
  const Failure& overflow;
  std::source_location where;
  const char* record;
  bool no_advance_asked = false;

  void field(const Element& e, int i) {
    const Item& item = items[static_cast<std::size_t>(i)];
    const int w = field_width(e, item);
    edit_field(b.reserve(w), e, item, w);
  }
  void literal(std::string_view text) {
    std::memcpy(b.reserve(static_cast<int>(text.size())), text.data(), text.size());
  }
  void skip(int n) { b.skip(n); }
  void record_end() {
    if (unit == nullptr) fatal(overflow, where);  // an internal text is one record
    unit->put_record({record, static_cast<std::size_t>(b.length())}, false, where);
    b.clear();
  }
  void no_advance() { no_advance_asked = true; }
};

struct ReadVisitor {
  std::string_view text;
  std::span<std::int32_t> items;
  std::source_location where;
  std::size_t column = 0;  // next column, counted from 0

  std::string_view take(std::size_t w) {
    if (column >= text.size()) {
      column += w;
      return {};
    }
    std::string_view f = text.substr(column, w);  // past the end reads as blanks
    column += w;
    return f;
  }
  void field(const Element& e, int i) {
    std::int32_t& item = items[static_cast<std::size_t>(i)];
    InputFault fault = InputFault::kInvalidCharacter;
    if (e.op == Op::kInt) {
      fault = read_decimal(take(e.w), item);
    } else if (e.op == Op::kHex) {
      fault = read_hex(take(e.w), item);
    }
    // A character field cannot take an integer item: no layout of the
    // system reads one, and it fails like a character an integer refuses.
    if (fault == InputFault::kInvalidCharacter) {
      fatal({ErrorNumber::kInvalidCharacter, Statement::kRead, kInternalUnit}, where);
    }
    if (fault == InputFault::kOutOfRange) {
      fatal({ErrorNumber::kIntegerOutOfRange, Statement::kRead, kInternalUnit}, where);
    }
  }
  void literal(std::string_view t) { column += t.size(); }
  void skip(int n) { column += static_cast<std::size_t>(n); }
  void record_end() {
    // The one record of an internal text has no successor.
    fatal({ErrorNumber::kEndOfFile, Statement::kRead, kInternalUnit}, where);
  }
  void no_advance() {}
};

}  // namespace

void write_formatted(RecordSink& unit, const Layout& layout, std::span<const Item> items,
                     std::source_location where) {
  static char record[kMaxRecordLength];
  const Failure overflow{ErrorNumber::kPastEndOfText, Statement::kWrite, unit.designation()};
  Builder b(record, kMaxRecordLength, overflow, where);
  WriteVisitor v{b, items, &unit, overflow, where, record};
  walk_layout(layout, static_cast<int>(items.size()), v);
  unit.put_record({record, static_cast<std::size_t>(b.length())}, v.no_advance_asked, where);
}

void write_internal(std::span<char> text, const Layout& layout, std::span<const Item> items,
                    std::source_location where) {
  const Failure overflow{ErrorNumber::kPastEndOfText, Statement::kWrite, kInternalUnit};
  Builder b(text.data(), static_cast<int>(text.size()), overflow, where);
  WriteVisitor v{b, items, nullptr, overflow, where, text.data()};
  walk_layout(layout, static_cast<int>(items.size()), v);
  for (std::size_t i = static_cast<std::size_t>(b.length()); i < text.size(); ++i) text[i] = ' ';
}

void read_internal(std::string_view text, const Layout& layout, std::span<std::int32_t> items,
                   std::source_location where) {
  ReadVisitor v{text, items, where};
  walk_layout(layout, static_cast<int>(items.size()), v);
}

std::int32_t read_free_integer(std::string_view text, std::source_location where) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::size_t end = i;
  while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != ',') ++end;
  if (end == i) fatal({ErrorNumber::kEndOfFile, Statement::kRead, kInternalUnit}, where);
  const std::string_view token = text.substr(i, end - i);
  // A sign is taken only in front of the digits, and a sign alone is no value.
  const std::size_t signs = token[0] == '+' || token[0] == '-' ? 1 : 0;
  std::int32_t value = 0;
  InputFault fault = token.size() == signs ? InputFault::kInvalidCharacter
                                           : read_decimal(token, value);
  if (fault == InputFault::kInvalidCharacter) {
    fatal({ErrorNumber::kInvalidCharacter, Statement::kRead, kInternalUnit}, where);
  }
  if (fault == InputFault::kOutOfRange) {
    fatal({ErrorNumber::kIntegerOutOfRange, Statement::kRead, kInternalUnit}, where);
  }
  return value;
}

}  // namespace prefscan
