// Layout texts: a record described as a row of fields and fixed texts.
//
// parse_layout() reads a layout text once into a table of elements that
// every transfer then walks. It is constexpr, and layout_text() runs it at
// compile time for the program's own layouts, so a malformed layout text
// fails the build instead of a run.
//
// Elements understood: Iw and Iw.m, Zw, A and Aw, nX, nH literals,
// apostrophe and quotation-mark literals (a doubled quote stands for one),
// / and n/, \ and $ (no advance), repeat counts on fields and groups, and
// groups nested up to 16 levels inside the outer parentheses. Letters may be
// of either case; blanks and tabs outside literals are ignored, even between
// the digits of a number; commas between elements are optional.
#pragma once

#include <cstdint>
#include <string_view>

namespace prefscan {

enum class Op : std::uint8_t {
  kInt,         // Iw.m: decimal integer
  kHex,         // Zw: hexadecimal integer
  kChar,        // A or Aw: text (w == 0 means as wide as the item)
  kSkip,        // nX: n blank columns
  kLiteral,     // nH, '...' or "...": fixed text
  kRecordEnd,   // n/: end the record n times
  kNoAdvance,   // \ or $: the last record keeps its line open
  kGroupBegin,  // n( ... ): `link` is the index of the matching kGroupEnd
  kGroupEnd,    // `link` is the index of the matching kGroupBegin
  kEnd,         // the outer closing parenthesis
};

struct Element {
  Op op = Op::kEnd;
  std::uint16_t repeat = 1;  // repeat count; also n of nX and n/
  std::uint16_t w = 0;
  std::uint16_t m = 1;
  std::uint16_t text = 0;    // literal: offset into Layout::chars
  std::uint16_t length = 0;  // literal: number of characters
  std::uint16_t link = 0;
};

inline constexpr int kMaxLayoutElements = 64;
inline constexpr int kMaxLayoutChars = 128;
inline constexpr int kMaxGroupDepth = 16;
inline constexpr int kMaxFieldWidth = 1024;

struct Layout {
  Element element[kMaxLayoutElements] = {};
  int count = 0;
  char chars[kMaxLayoutChars] = {};
  int char_count = 0;
  bool has_field = false;

  constexpr std::string_view literal(const Element& e) const { return {chars + e.text, e.length}; }
};

struct LayoutParse {
  Layout layout;
  const char* error = nullptr;  // nullptr when the text is well formed
  int position = 0;             // offset of the fault in the text
};

namespace layout_detail {

constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

class Parser {
 public:
  constexpr explicit Parser(std::string_view text) : s_(text) {}

  constexpr LayoutParse run() {
    skip_blanks();
    if (!at('(')) return fail("a layout text begins with '('");
    ++i_;
    int open[kMaxGroupDepth + 1] = {};
    int depth = 0;
    while (true) {
      skip_blanks();
      if (i_ >= s_.size()) return fail("missing ')' at the end of the layout text");
      const std::size_t start = i_;
      int n = 0;
      const bool counted = read_number(n);
      if (r_.error != nullptr) return r_;
      skip_blanks();
      if (i_ >= s_.size()) return fail("missing ')' at the end of the layout text");
      const char c = upper(s_[i_]);
      if (counted && n == 0) return fail_at(start, "a count of zero");
      switch (c) {
        case ',':
          if (counted) return fail_at(start, "a number with no element after it");
          ++i_;
          break;
        case '(': {
          if (depth == kMaxGroupDepth) return fail("groups nested deeper than 16 levels");
          ++i_;
          open[depth++] = r_.layout.count;
          Element e;
          e.op = Op::kGroupBegin;
          e.repeat = static_cast<std::uint16_t>(counted ? n : 1);
          if (!add(e)) return r_;
          break;
        }
        case ')': {
          if (counted) return fail_at(start, "a number with no element after it");
          ++i_;
          Element e;
          if (depth == 0) {
            e.op = Op::kEnd;
            if (!add(e)) return r_;
            return r_;
          }
          const int begin = open[--depth];
          e.op = Op::kGroupEnd;
          e.link = static_cast<std::uint16_t>(begin);
          if (!add(e)) return r_;
          r_.layout.element[begin].link = static_cast<std::uint16_t>(r_.layout.count - 1);
          break;
        }
        case 'I':
        case 'Z': {
          ++i_;
          Element e;
          e.op = c == 'I' ? Op::kInt : Op::kHex;
          e.repeat = static_cast<std::uint16_t>(counted ? n : 1);
          int w = 0;
          if (!read_number(w)) return r_.error != nullptr ? r_ : fail("a field needs its width");
          if (w == 0) return fail("a field width of zero");
          e.w = static_cast<std::uint16_t>(w);
          skip_blanks();
          if (c == 'I' && at('.')) {
            ++i_;
            int m = 0;
            if (!read_number(m)) return r_.error != nullptr ? r_ : fail("'.' needs a digit count");
            if (m > w) return fail("more digits than the field is wide");
            e.m = static_cast<std::uint16_t>(m);
          }
          r_.layout.has_field = true;
          if (!add(e)) return r_;
          break;
        }
        case 'A': {
          ++i_;
          Element e;
          e.op = Op::kChar;
          e.repeat = static_cast<std::uint16_t>(counted ? n : 1);
          int w = 0;
          if (read_number(w)) {
            if (w == 0) return fail("a field width of zero");
            e.w = static_cast<std::uint16_t>(w);
          } else if (r_.error != nullptr) {
            return r_;
          }
          r_.layout.has_field = true;
          if (!add(e)) return r_;
          break;
        }
        case 'X': {
          ++i_;
          Element e;
          e.op = Op::kSkip;
          e.repeat = static_cast<std::uint16_t>(counted ? n : 1);
          if (!add(e)) return r_;
          break;
        }
        case 'H': {
          if (!counted) return fail("H needs the number of characters before it");
          ++i_;
          if (s_.size() - i_ < static_cast<std::size_t>(n)) return fail("H literal runs past the end");
          if (!add_literal(s_.substr(i_, static_cast<std::size_t>(n)))) return r_;
          i_ += static_cast<std::size_t>(n);
          break;
        }
        case '\'':
        case '"': {
          if (counted) return fail_at(start, "a count before a quoted literal");
          if (!quoted(c)) return r_;
          break;
        }
        case '/': {
          ++i_;
          Element e;
          e.op = Op::kRecordEnd;
          e.repeat = static_cast<std::uint16_t>(counted ? n : 1);
          if (!add(e)) return r_;
          break;
        }
        case '\\':
        case '$': {
          if (counted) return fail_at(start, "a count before a no-advance mark");
          ++i_;
          Element e;
          e.op = Op::kNoAdvance;
          if (!add(e)) return r_;
          break;
        }
        default:
          return fail("an element this system does not know");
      }
    }
  }

 private:
  constexpr bool at(char c) const { return i_ < s_.size() && s_[i_] == c; }
  constexpr void skip_blanks() {
    while (i_ < s_.size() && is_blank(s_[i_])) ++i_;
  }

  // Reads an unsigned number whose digits may be separated by blanks and
  // leaves the cursor just after its last digit.
  constexpr bool read_number(int& value) {
    skip_blanks();
    if (i_ >= s_.size() || !is_digit(s_[i_])) return false;
    value = 0;
    while (true) {
      value = value * 10 + (s_[i_++] - '0');
      if (value > kMaxFieldWidth) {
        fail("a number larger than 1024");
        return false;
      }
      std::size_t j = i_;
      while (j < s_.size() && is_blank(s_[j])) ++j;
      if (j == s_.size() || !is_digit(s_[j])) return true;
      i_ = j;
    }
  }

  constexpr bool quoted(char quote) {
    ++i_;
    const int first = r_.layout.char_count;
    while (true) {
      if (i_ >= s_.size()) {
        fail("a quoted literal with no closing quote");
        return false;
      }
      if (s_[i_] == quote) {
        if (i_ + 1 < s_.size() && s_[i_ + 1] == quote) {
          if (!put_char(quote)) return false;
          i_ += 2;
          continue;
        }
        ++i_;
        break;
      }
      if (!put_char(s_[i_++])) return false;
    }
    return add_literal_chars(first);
  }

  constexpr bool add_literal(std::string_view text) {
    const int first = r_.layout.char_count;
    for (char c : text) {
      if (!put_char(c)) return false;
    }
    return add_literal_chars(first);
  }

  constexpr bool put_char(char c) {
    if (r_.layout.char_count == kMaxLayoutChars) {
      fail("literal texts longer than 128 characters in all");
      return false;
    }
    r_.layout.chars[r_.layout.char_count++] = c;
    return true;
  }

  constexpr bool add_literal_chars(int first) {
    Element e;
    e.op = Op::kLiteral;
    e.text = static_cast<std::uint16_t>(first);
    e.length = static_cast<std::uint16_t>(r_.layout.char_count - first);
    return add(e);
  }

  constexpr bool add(const Element& e) {
    if (r_.layout.count == kMaxLayoutElements) {
      fail("more than 64 elements");
      return false;
    }
    r_.layout.element[r_.layout.count++] = e;
    return true;
  }

  constexpr LayoutParse fail(const char* why) { return fail_at(i_, why); }
  constexpr LayoutParse fail_at(std::size_t where, const char* why) {
    if (r_.error == nullptr) {
      r_.error = why;
      r_.position = static_cast<int>(where);
    }
    return r_;
  }

  std::string_view s_;
  std::size_t i_ = 0;
  LayoutParse r_;
};

// Not constexpr on purpose: reaching it while a layout text is compiled
// makes the build fail, with the reason in the diagnostic.
inline void malformed_layout_text(const char* /*reason*/) {}

}  // namespace layout_detail

// Parses a layout text; the characters after its closing parenthesis are
// not looked at.
constexpr LayoutParse parse_layout(std::string_view text) {
  return layout_detail::Parser(text).run();
}

// The program's own layout texts: parsed and checked while compiling.
consteval Layout layout_text(std::string_view text) {
  LayoutParse p = parse_layout(text);
  if (p.error != nullptr) layout_detail::malformed_layout_text(p.error);
  return p.layout;
}

}  // namespace prefscan
