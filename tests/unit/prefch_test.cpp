// PREFCH in-process: the type code and marker tests, the three layouts and
// the end of the run on a packed nibble that is not a decimal digit.
#include "preface/prefch.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "block_builder.h"
#include "common/blockdata.h"
#include "textio/fatal.h"
#include "textio/frames.h"

namespace prefscan {
namespace {

using testing::BlockBuilder;
using Digits = std::vector<int>;

// What the fatal path saw, carried out of PREFCH by an exception.
struct Raised {
  Failure failure;
  std::string unit;
  std::vector<std::string> routines;  // innermost first
  std::string report;
};

[[noreturn]] void throwing_sink(const Failure& f, std::string_view report) {
  Raised r{f, std::string(f.unit), {}, std::string(report)};
  const auto frames = active_frames();
  for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
    r.routines.emplace_back(it->routine != nullptr ? it->routine : "main program");
  }
  throw r;
}

class Prefch : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_block_data();
    reset_frames();
    previous_sink_ = set_fatal_sink(throwing_sink);
  }
  void TearDown() override {
    set_fatal_sink(previous_sink_);
    reset_frames();
  }

  // Loads the block the way the block loop does, then decodes it.
  static void decode(const BlockBuilder& block) {
    IOFF = 1;
    for (int k = 1; k <= kBlockSize; ++k) {
      IBYTE(k) = static_cast<unsigned char>(block.str()[static_cast<std::size_t>(k - 1)]);
    }
    PREFCH();
  }

  static Digits all_digits() {
    Digits d;
    for (int i = 1; i <= kPrefaceDigits; ++i) d.push_back(IPREF(i));
    return d;
  }

  // `count` entries of `value` and zeros up to entry 89.
  static Digits filled(int count, int value) {
    Digits d(kPrefaceDigits, 0);
    for (int i = 0; i < count; ++i) d[static_cast<std::size_t>(i)] = value;
    return d;
  }

  // The given leading digits, zeros up to entry 89.
  static Digits leading(const Digits& first) {
    Digits d(kPrefaceDigits, 0);
    for (std::size_t i = 0; i < first.size(); ++i) d[i] = first[i];
    return d;
  }

 private:
  FatalSink previous_sink_ = nullptr;
};

// Bytes 4..4096 hold 0x77: a nibble layout reads 7, a packed layout reads 7
// in every digit, a bit-serial layout reads 15 (bit 0 of every byte is set).
BlockBuilder background() {
  BlockBuilder b;
  for (int k = 4; k <= kBlockSize; ++k) b.byte(k, 0x77);
  return b;
}

TEST_F(Prefch, TypeCodeTableGivesTypeAndFilledEntries) {
  struct Row {
    const char* what;
    BlockBuilder block;
    int type;
    int filled;  // IPREF(1..filled) take the background's digit, the rest 0
    int digit;
  } rows[] = {
      {"type 0", background().bytes(1, {0x00, 60, 255}), 0, 0, 0},
      {"type 1, high bits set", background().bytes(1, {0xF1, 60, 255}), 1, 0, 0},
      {"type 2 passes both tests", background().bytes(1, {0x02, 60, 255}), 2, 11, 7},
      {"type 2 fails the marker", background().bytes(1, {0x02, 61, 255}), -98, 0, 0},
      {"type 2 fails byte 3", background().bytes(1, {0x02, 60, 254}), -98, 0, 0},
      {"type 3, high bits set", background().bytes(1, {0xA3, 60, 255}), 3, 11, 7},
      {"type 3 fails the marker", background().bytes(1, {0x03, 0, 255}), -97, 0, 0},
      {"type 4 has no layout", background().bytes(1, {0x04, 60, 255}), 4, 0, 0},
      {"type 5 has no layout", background().bytes(1, {0x35, 60, 255}), 5, 0, 0},
      {"type 6 has no marker test", background().bytes(1, {0x06, 0, 255}), 6, 11, 7},
      {"type 6 fails byte 3", background().bytes(1, {0x06, 60, 0}), -94, 0, 0},
      {"type 7, high bits set", background().bytes(1, {0xC7, 1, 255}), 7, 11, 7},
      {"type 7 fails byte 3", background().bytes(1, {0x07, 60, 0xFE}), -93, 0, 0},
      {"type 8, high bits set", background().bytes(1, {0xF8, 60}), 8, 57, 7},
      {"type 8 fails the marker", background().bytes(1, {0x08, 0x3D}), -92, 0, 0},
      {"type 9", background().bytes(1, {0x09, 60}), 9, 57, 7},
      {"type 9 fails the marker", background().bytes(1, {0x09, 0xBC}), -91, 0, 0},
      {"type 10 has no test", background().bytes(1, {0x0A, 0}), 10, 89, 15},
      {"type 11", background().bytes(1, {0x1B, 60}), 11, 57, 7},
      {"type 11 fails the marker", background().bytes(1, {0x0B, 255}), -89, 0, 0},
      {"type 12 has no test", background().bytes(1, {0x0C, 0}), 12, 57, 15},
      {"type 13, high bits set", background().bytes(1, {0xED, 0}), 13, 57, 15},
      {"type 14 has no layout", background().bytes(1, {0x0E, 60, 255}), 14, 0, 0},
      {"type 15 packed", background().bytes(1, {0x0F, 0, 0, 204, 204}).byte(10, 255), 15, 11, 7},
      {"type 15 nibbles", background().bytes(1, {0x0F, 0, 0, 204, 204}), 15, 89, 7},
      {"type 15 fails byte 5", background().bytes(1, {0x0F, 60, 255, 204, 205}), -85, 0, 0},
      {"type 15 fails byte 4", background().bytes(1, {0x0F, 60, 255, 203, 204}), -85, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    decode(row.block);
    EXPECT_EQ(ITYPE, row.type);
    EXPECT_EQ(all_digits(), filled(row.filled, row.digit));
  }
}

TEST_F(Prefch, BlockOfAllOnesIsAFailedType15) {
  BlockBuilder b;
  for (int k = 1; k <= kBlockSize; ++k) b.byte(k, 255);
  decode(b);
  EXPECT_EQ(ITYPE, -85);
  EXPECT_EQ(all_digits(), filled(0, 0));
}

// Byte by byte: digit i of the nibble layouts comes from the low nibble of
// the i-th byte of its run, and the bytes just outside the run play no part.
TEST_F(Prefch, NibbleLayoutsReadTheirOwnRunOfBytes) {
  struct Row {
    const char* what;
    BlockBuilder markers;
    int first_byte;
    int count;
  } rows[] = {
      {"type 9 from byte 4", BlockBuilder().bytes(1, {0x09, 60}), 4, 57},
      {"type 15 from byte 9", BlockBuilder().bytes(1, {0x0F, 0, 0, 204, 204}), 9, 89},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    BlockBuilder b = row.markers;
    // Outside the run, every byte that is not a marker reads as 5.
    for (int k = 3; k <= kBlockSize; ++k) {
      if (k < row.first_byte || k >= row.first_byte + row.count) {
        if (k != 4 && k != 5) b.byte(k, 0xF5);
      }
    }
    Digits expected(kPrefaceDigits, 0);
    for (int i = 1; i <= row.count; ++i) {
      b.byte(row.first_byte + i - 1, 0xA0 | ((i * 7) % 16));
      expected[static_cast<std::size_t>(i - 1)] = (i * 7) % 16;
    }
    decode(b);
    EXPECT_EQ(all_digits(), expected);
  }
}

TEST_F(Prefch, NibbleDigitsAboveNineAreStoredAsRead) {
  decode(BlockBuilder().bytes(1, {0x09, 60, 0, 0xAB}));
  EXPECT_EQ(ITYPE, 9);
  EXPECT_EQ(IPREF(1), 11);
  decode(BlockBuilder().bytes(1, {0x0F, 0, 0, 204, 204}).bytes(9, {0, 0x0F}).byte(97, 0x3C));
  EXPECT_EQ(ITYPE, 15);
  EXPECT_EQ(IPREF(2), 15);
  EXPECT_EQ(IPREF(89), 12);
}

// The bytes a bit-serial type reads; every other byte of the block is set
// to 0xFF in the test below and must not change a digit.
struct ByteRange {
  int first;
  int last;
};
const std::vector<ByteRange>& bytes_read(int type) {
  static const std::vector<ByteRange> type10 = {{5, 128}, {257, 384}, {513, 616}};
  static const std::vector<ByteRange> type12 = {{5, 128}, {257, 360}};
  static const std::vector<ByteRange> type13 = {{5, 232}};
  return type == 10 ? type10 : type == 12 ? type12 : type13;
}

TEST_F(Prefch, BitSerialDigitsComeFromTheirFourBytes) {
  struct Row {
    int type;
    int digit;
    int first_byte;
  } rows[] = {
      {10, 1, 5},   {10, 31, 125}, {10, 32, 257}, {10, 63, 381}, {10, 64, 513}, {10, 89, 613},
      {12, 1, 5},   {12, 31, 125}, {12, 32, 257}, {12, 57, 357},
      {13, 1, 5},   {13, 31, 125}, {13, 32, 129}, {13, 57, 229},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("type " + std::to_string(row.type) + " digit " + std::to_string(row.digit));
    // Bytes that are read hold 0xFE (bit 0 clear, the other bits set); all
    // others, skipped frames included, hold 0xFF.
    BlockBuilder b;
    for (int k = 2; k <= kBlockSize; ++k) b.byte(k, 0xFF);
    b.byte(1, row.type);
    for (const ByteRange& r : bytes_read(row.type)) {
      for (int k = r.first; k <= r.last; ++k) b.byte(k, 0xFE);
    }
    b.bit_digit(row.first_byte, 0b1101);
    decode(b);
    EXPECT_EQ(ITYPE, row.type);
    Digits expected(kPrefaceDigits, 0);
    expected[static_cast<std::size_t>(row.digit - 1)] = 13;
    EXPECT_EQ(all_digits(), expected);
  }
}

TEST_F(Prefch, BitSerialTakesBitZeroOfEachByteFirstByteLowest) {
  struct Row {
    int b5, b6, b7, b8;
    int digit;
  } rows[] = {
      {0x01, 0x00, 0x00, 0x01, 9},
      {0xFE, 0xFF, 0x10, 0x03, 10},
      {0x01, 0x00, 0x00, 0x00, 1},
  };
  for (const Row& row : rows) {
    decode(BlockBuilder().bytes(1, {13}).bytes(5, {row.b5, row.b6, row.b7, row.b8}));
    EXPECT_EQ(IPREF(1), row.digit) << row.b5 << " " << row.b6 << " " << row.b7 << " " << row.b8;
  }
}

// Each call starts from 57 digits and a cleared table, whatever the block
// before it was.
TEST_F(Prefch, DigitCountStartsAgainAfterAType10Block) {
  BlockBuilder ones;
  for (int k = 2; k <= kBlockSize; ++k) ones.byte(k, 0xFF);
  decode(BlockBuilder(ones).byte(1, 10));
  ASSERT_EQ(all_digits(), filled(89, 15));

  decode(BlockBuilder(ones).byte(1, 12));
  EXPECT_EQ(all_digits(), filled(57, 15));

  decode(BlockBuilder(ones).byte(1, 10));
  decode(background().bytes(1, {8, 60}));
  EXPECT_EQ(all_digits(), filled(57, 7));

  decode(BlockBuilder(ones).byte(1, 10));
  decode(BlockBuilder(ones).byte(1, 4));
  EXPECT_EQ(all_digits(), filled(0, 0));
}

TEST_F(Prefch, PackedLayoutsCopyTheDecimalNibbles) {
  struct Row {
    const char* what;
    BlockBuilder block;
    int type;
    Digits digits;
  } rows[] = {
      {"type 3 worked values, bytes 7 and 8 not read",
       BlockBuilder().bytes(1, {3, 60, 255, 0x02, 0x01, 0x23, 0xAA, 0xAA, 0x14, 0x05, 0x59}), 3,
       {0, 2, 1, 2, 3, 1, 4, 0, 5, 5, 9}},
      {"type 15 worked values, bytes 6 to 9 not read",
       BlockBuilder()
           .bytes(1, {15, 0, 0, 204, 204, 0xAA, 0xAA, 0xAA, 0xAA, 255})
           .bytes(11, {0x02, 0x03, 0x65, 0xAA, 0xAA, 0x23, 0x59, 0x59}),
       15, {0, 2, 3, 6, 5, 2, 3, 5, 9, 5, 9}},
      {"high nibble of byte 5 dropped",
       BlockBuilder().bytes(1, {2, 60, 255, 0x98, 0x71, 0x76, 0, 0, 0x54, 0x32, 0x10}), 2,
       {9, 8, 1, 7, 6, 5, 4, 3, 2, 1, 0}},
      {"high nibble of byte 5 dropped, letter or not",
       BlockBuilder().bytes(1, {2, 60, 255, 0x98, 0xF1, 0x76, 0, 0, 0x54, 0x32, 0x10}), 2,
       {9, 8, 1, 7, 6, 5, 4, 3, 2, 1, 0}},
      {"type 15: high nibble of byte 12 dropped",
       BlockBuilder().bytes(1, {15, 0, 0, 204, 204}).bytes(10, {255, 0x45, 0xC3, 0x21}).bytes(
           16, {0x12, 0x34, 0x56}),
       15, {4, 5, 3, 2, 1, 1, 2, 3, 4, 5, 6}},
      {"bytes below 16 read back with a leading 0",
       BlockBuilder().bytes(1, {6, 0, 255, 0x09, 0x00, 0x05, 0, 0, 0x01, 0x02, 0x03}), 6,
       {0, 9, 0, 0, 5, 0, 1, 0, 2, 0, 3}},
      {"all zero bytes", BlockBuilder().bytes(1, {6, 0, 255}), 6, {}},
      {"no range test", BlockBuilder().bytes(1, {7, 0, 255, 0x99, 0x09, 0x99, 0, 0, 0x99, 0x99,
                                                 0x99}),
       7, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    decode(row.block);
    EXPECT_EQ(ITYPE, row.type);
    EXPECT_EQ(all_digits(), leading(row.digits));
  }
}

// A nibble of 10..15 where a one-digit decimal field reads it ends the run
// inside PREFCH, after the digits before it have been stored.
TEST_F(Prefch, PackedNibbleAboveNineEndsTheRunInsidePrefch) {
  struct Row {
    const char* what;
    BlockBuilder block;
    Digits stored_before;  // the entries read before the bad one
  } rows[] = {
      {"byte 4 = 0xA0", BlockBuilder().bytes(1, {3, 60, 255, 0xA0, 0x01, 0x23}), {}},
      {"byte 5 = 0x0A", BlockBuilder().bytes(1, {3, 60, 255, 0x02, 0x0A, 0x23}), {0, 2}},
      {"byte 6 = 0x3F",
       BlockBuilder().bytes(1, {7, 0, 255, 0x02, 0x01, 0x3F}), {0, 2, 1, 3}},
      {"byte 9 = 0x1A",
       BlockBuilder().bytes(1, {3, 60, 255, 0x02, 0x01, 0x23, 0, 0, 0x1A, 0x05, 0x59}),
       {0, 2, 1, 2, 3, 1}},
      {"byte 11 = 0xB0",
       BlockBuilder().bytes(1, {2, 60, 255, 0x02, 0x01, 0x23, 0, 0, 0x14, 0x05, 0xB0}),
       {0, 2, 1, 2, 3, 1, 4, 0, 5}},
      {"type 15, byte 18 = 0x5C",
       BlockBuilder().bytes(1, {15, 0, 0, 204, 204}).bytes(10, {255, 0x02, 0x03, 0x65}).bytes(
           16, {0x23, 0x59, 0x5C}),
       {0, 2, 3, 6, 5, 2, 3, 5, 9, 5}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    reset_frames();
    RoutineFrame main_program(nullptr);
    try {
      decode(row.block);
      ADD_FAILURE() << "PREFCH returned";
    } catch (const Raised& r) {
      EXPECT_EQ(r.failure.number, ErrorNumber::kInvalidCharacter);
      EXPECT_EQ(r.failure.statement, Statement::kRead);
      EXPECT_EQ(r.unit, "internal");
      EXPECT_EQ(r.routines, (std::vector<std::string>{"PREFCH", "main program"}));
      EXPECT_TRUE(r.report.starts_with("\r\nprefch.cpp(")) << r.report;
      EXPECT_NE(r.report.find("\t\tfrom PREFCH in prefch.cpp("), std::string::npos) << r.report;
    }
    for (std::size_t i = 0; i < row.stored_before.size(); ++i) {
      EXPECT_EQ(IPREF(static_cast<std::int32_t>(i + 1)), row.stored_before[i]) << "entry " << i + 1;
    }
  }
}

// A high nibble of 10..15 in byte 5 is never written, so it cannot fail.
TEST_F(Prefch, LetterInTheDroppedNibbleDoesNotFail) {
  decode(BlockBuilder().bytes(1, {3, 60, 255, 0x02, 0xA1, 0x23, 0, 0, 0x14, 0x05, 0x59}));
  EXPECT_EQ(ITYPE, 3);
  EXPECT_EQ(all_digits(), leading({0, 2, 1, 2, 3, 1, 4, 0, 5, 5, 9}));
}

}  // namespace
}  // namespace prefscan
