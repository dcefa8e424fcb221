// Builds 4096-byte input blocks for tests, so that a fixture says what it
// holds next to the assertion it serves.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace prefscan::testing {

class BlockBuilder {
 public:
  BlockBuilder() : bytes_(4096, '\0') {}

  // Byte k, counted from 1 as the program counts them.
  BlockBuilder& byte(int k, int value) {
    bytes_.at(static_cast<std::size_t>(k - 1)) = static_cast<char>(value);
    return *this;
  }
  // Bytes first, first+1, ... set to the given values.
  BlockBuilder& bytes(int first, std::initializer_list<int> values) {
    for (int v : values) byte(first++, v);
    return *this;
  }
  // The low nibbles of bytes first, first+1, ... set to the digits; the high
  // nibbles are left as they are.
  BlockBuilder& nibbles(int first, std::initializer_list<int> digits) {
    for (int d : digits) {
      const int k = first++;
      byte(k, (static_cast<unsigned char>(bytes_.at(static_cast<std::size_t>(k - 1))) & 0xF0) |
                  (d & 0x0F));
    }
    return *this;
  }
  // One bit-serial digit: bit 0 of bytes first..first+3 from the digit's bits
  // 0..3; the other seven bits of each byte are left as they are.
  BlockBuilder& bit_digit(int first, int digit) {
    for (int k = 0; k < 4; ++k) {
      const auto i = static_cast<std::size_t>(first + k - 1);
      const int old = static_cast<unsigned char>(bytes_.at(i));
      bytes_.at(i) = static_cast<char>((old & 0xFE) | ((digit >> k) & 1));
    }
    return *this;
  }
  // A type 9 block that passes its marker test, with the given preface
  // digits (year, day of year, time) from byte 4.
  static BlockBuilder type9(std::initializer_list<int> digits) {
    BlockBuilder b;
    b.byte(1, 9).byte(2, 60).nibbles(4, digits);
    return b;
  }

  const std::string& str() const { return bytes_; }
  operator const std::string&() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace prefscan::testing
