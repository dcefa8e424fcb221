// Field editing: one field's characters from an item, and an item from one
// field's characters. Output fields never fail; input fields say why not.
#pragma once

#include <cstdint>
#include <string_view>

namespace prefscan {

// Iw.m: right-aligned in `w` columns with at least `m` digits and a "-" for a
// negative value; `w` asterisks when the text does not fit.
void edit_decimal(char* out, std::int32_t value, int w, int m);

// Zw: the significant hexadecimal digits of the item's bit pattern
// (`item_digits` is 8 for a 32-bit item, 4 for a 16-bit one), upper case,
// right-aligned; when there are more than `w`, only the `w` lowest ones.
void edit_hex(char* out, std::uint32_t bits, int item_digits, int w);

// Aw: the first `w` characters of the text, or the text right-aligned
// behind blanks when it is shorter.
void edit_text(char* out, std::string_view text, int w);

enum class InputFault : std::uint8_t { kNone, kInvalidCharacter, kOutOfRange };

// Iw input: blanks and tabs are dropped; an optional sign, then digits; an
// empty field, or a sign alone, is 0.
InputFault read_decimal(std::string_view field, std::int32_t& value);

// Zw input: blanks and tabs are dropped; hexadecimal digits of either case
// giving the item's bit pattern; an empty field is 0.
InputFault read_hex(std::string_view field, std::int32_t& value);

}  // namespace prefscan
