// Valid input blocks of every preface layout, made from a seeded generator so
// that the same seed always gives the same bytes.
//
// "Valid" means a block the program runs through: every date digit (preface
// entries 1 to 5) is 0..9, and so is every digit a packed layout reads, so no
// block ends the run. The bytes a layout does not read are random, and so are
// the bits of a byte that a layout drops (high nibbles, the upper seven bits
// of a bit-serial byte), which shows that they play no part.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace prefscan::bench {

inline constexpr int kBlockBytes = 4096;
using Block = std::array<unsigned char, kBlockBytes>;

// splitmix64: small, fast and fully determined by its seed.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t state_;
};

// The eleven date and time digits: year, day of year, hour, minute, second.
struct DateDigits {
  int d[11];
};

inline DateDigits random_date(Random& r) {
  const int year = r.below(100);
  const int doy = 1 + r.below(366);
  const int hour = r.below(24), minute = r.below(60), second = r.below(60);
  return {{year / 10, year % 10, doy / 100, doy / 10 % 10, doy % 10, hour / 10, hour % 10,
           minute / 10, minute % 10, second / 10, second % 10}};
}

// The kinds of block in the benchmark input, one per layout path.
enum class Kind : std::uint8_t {
  kNone0,        // types 0, 1, 4, 5, 14: no layout
  kNone1,        //
  kNone4,        //
  kNone5,        //
  kNone14,       //
  kPacked2,      // packed, bytes 4-6 and 9-11
  kPacked3,      // the same, listed
  kPacked6,      // the same
  kPacked7,      // the same, listed
  kNibble8,      // nibble from byte 4, 57 digits
  kNibble9,      // the same, listed
  kNibble11,     // the same, listed
  kBitSerial10,  // 89 digits with skips
  kBitSerial12,  // 57 digits with a skip
  kBitSerial13,  // 57 digits, no skip
  kPacked15,     // packed, bytes 11-13 and 16-18
  kNibble15,     // nibble from byte 9, 89 digits
  kFailed9,      // marker byte 2 is not 60: type -91
  kFailed3,      // byte 3 is not 255: type -97
  kFailed15,     // bytes 4, 5 are not both 204: type -85
};

inline constexpr Kind kAllKinds[] = {
    Kind::kNone0,    Kind::kNone1,    Kind::kNone4,       Kind::kNone5,       Kind::kNone14,
    Kind::kPacked2,  Kind::kPacked3,  Kind::kPacked6,     Kind::kPacked7,     Kind::kNibble8,
    Kind::kNibble9,  Kind::kNibble11, Kind::kBitSerial10, Kind::kBitSerial12, Kind::kBitSerial13,
    Kind::kPacked15, Kind::kNibble15, Kind::kFailed9,     Kind::kFailed3,     Kind::kFailed15,
};

inline constexpr std::string_view kind_name(Kind k) {
  constexpr std::string_view names[] = {
      "none/0",    "none/1",    "none/4",       "none/5",       "none/14",
      "packed/2",  "packed/3",  "packed/6",     "packed/7",     "nibble/8",
      "nibble/9",  "nibble/11", "bitserial/10", "bitserial/12", "bitserial/13",
      "packed/15", "nibble/15", "failed/9",     "failed/3",     "failed/15",
  };
  return names[static_cast<int>(k)];
}

// Whether the block adds a line to the listing (types 3, 7, 9 and 11 that
// pass their tests).
inline constexpr bool is_listed(Kind k) {
  return k == Kind::kPacked3 || k == Kind::kPacked7 || k == Kind::kNibble9 || k == Kind::kNibble11;
}

namespace detail {

class Filler {
 public:
  Filler(Block& b, Random& r) : b_(b), r_(r) {}
  // Byte k, counted from 1.
  void set(int k, int v) { b_[static_cast<std::size_t>(k - 1)] = static_cast<unsigned char>(v); }
  int get(int k) const { return b_[static_cast<std::size_t>(k - 1)]; }
  void type(int t) { set(1, (r_.below(16) << 4) | t); }
  // Two decimal digits in one byte, high nibble first.
  void packed(int k, int high, int low) { set(k, (high << 4) | low); }
  // A digit in the low nibble, a random high nibble.
  void nibble(int k, int digit) { set(k, (r_.below(16) << 4) | digit); }
  // Bit 0 of bytes k..k+3 from the digit's bits 0..3; the other bits random.
  void bit_digit(int k, int digit) {
    for (int j = 0; j < 4; ++j) set(k + j, (get(k + j) & 0xFE) | ((digit >> j) & 1));
  }

 private:
  Block& b_;
  Random& r_;
};

// Bytes first..first+2 and second..second+2: the packed date and time; the
// high nibble of the middle byte of the first group is never read.
inline void fill_packed(Filler& f, Random& r, int first, int second, const DateDigits& t) {
  f.packed(first, t.d[0], t.d[1]);
  f.packed(first + 1, r.below(16), t.d[2]);
  f.packed(first + 2, t.d[3], t.d[4]);
  f.packed(second, t.d[5], t.d[6]);
  f.packed(second + 1, t.d[7], t.d[8]);
  f.packed(second + 2, t.d[9], t.d[10]);
}

inline void fill_nibbles(Filler& f, Random& r, int first, int count, const DateDigits& t) {
  for (int i = 0; i < count; ++i) f.nibble(first + i, i < 11 ? t.d[i] : r.below(10));
}

// Digits from byte 5, four bytes each; types 10 and 12 pass over 128 bytes
// after digits 31 and 63.
inline void fill_bit_serial(Filler& f, Random& r, int count, bool skips, const DateDigits& t) {
  int pos = 5;
  for (int i = 1; i <= count; ++i) {
    f.bit_digit(pos, i <= 11 ? t.d[i - 1] : r.below(16));
    pos += 4;
    if (skips && (i + 1) % 32 == 0) pos += 128;
  }
}

}  // namespace detail

inline void make_block(Kind kind, Random& r, Block& b) {
  for (std::size_t i = 0; i < b.size(); i += 8) {
    const std::uint64_t v = r.next();
    for (std::size_t j = 0; j < 8; ++j) b[i + j] = static_cast<unsigned char>(v >> (8 * j));
  }
  detail::Filler f(b, r);
  const DateDigits t = random_date(r);
  switch (kind) {
    case Kind::kNone0: f.type(0); break;
    case Kind::kNone1: f.type(1); break;
    case Kind::kNone4: f.type(4); break;
    case Kind::kNone5: f.type(5); break;
    case Kind::kNone14: f.type(14); break;
    case Kind::kPacked2:
    case Kind::kPacked3:
    case Kind::kPacked6:
    case Kind::kPacked7: {
      const int type = kind == Kind::kPacked2   ? 2
                       : kind == Kind::kPacked3 ? 3
                       : kind == Kind::kPacked6 ? 6
                                                : 7;
      f.type(type);
      if (type == 2 || type == 3) f.set(2, 60);
      f.set(3, 255);
      detail::fill_packed(f, r, 4, 9, t);
      break;
    }
    case Kind::kNibble8:
    case Kind::kNibble9:
    case Kind::kNibble11:
      f.type(kind == Kind::kNibble8 ? 8 : kind == Kind::kNibble9 ? 9 : 11);
      f.set(2, 60);
      detail::fill_nibbles(f, r, 4, 57, t);
      break;
    case Kind::kBitSerial10:
      f.type(10);
      detail::fill_bit_serial(f, r, 89, true, t);
      break;
    case Kind::kBitSerial12:
      f.type(12);
      detail::fill_bit_serial(f, r, 57, true, t);
      break;
    case Kind::kBitSerial13:
      f.type(13);
      detail::fill_bit_serial(f, r, 57, false, t);
      break;
    case Kind::kPacked15:
      f.type(15);
      f.set(4, 204);
      f.set(5, 204);
      f.set(10, 255);
      detail::fill_packed(f, r, 11, 16, t);
      break;
    case Kind::kNibble15:
      f.type(15);
      f.set(4, 204);
      f.set(5, 204);
      // Byte 10 carries a digit 0..9 in its low nibble, so it is never 255.
      detail::fill_nibbles(f, r, 9, 89, t);
      break;
    case Kind::kFailed9:
      f.type(9);
      f.set(2, 61);
      break;
    case Kind::kFailed3:
      f.type(3);
      f.set(2, 60);
      f.set(3, 254);
      break;
    case Kind::kFailed15:
      f.type(15);
      f.set(4, 204);
      f.set(5, 205);
      break;
  }
}

}  // namespace prefscan::bench
