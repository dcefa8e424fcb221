// Layouts planned at compile time give the same bytes and values as the
// general walk, for the program's own layouts and random items.
#include "textio/fixed_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "fatal_capture.h"

namespace prefscan {
namespace {

constexpr Layout kProgress = layout_text(
    R"layout((1x,' Decoding preface:       rec #',i8,' type'                                       ,i3,2x,5z1,1x,6z1,a1,\))layout");
constexpr Layout kDatstr = layout_text(
    "(I6,I3,1X,5Z1,1X,6Z1,1X,2Z1,2(1X,6Z1),1X,7Z1,1X,2Z1,1X,Z1,1X,2Z1,2(1X,3Z1),1X,14Z1,4(2X,3Z1,1X,Z1,1X,4Z1))");
constexpr Layout kDateLine = layout_text(
    "(i4.4,1h.,i2.2,1h.,i2.2,2h (,i3,2h) ,2i1,                   1h:,2i1,1h:,2i1)");
constexpr Layout kFirstGroup = layout_text("(z2,z1,z2)");
constexpr Layout kSecondGroup = layout_text("(3z2)");
constexpr Layout kFiveDigits = layout_text("(5i1)");
constexpr Layout kSixDigits = layout_text("(6i1)");
constexpr Layout kWide = layout_text("(1x,i3,2x,i2)");

static_assert(kFixedPlan<kProgress, 14>.length == 62);
static_assert(kFixedPlan<kProgress, 14>.no_advance);
static_assert(kFixedPlan<kDatstr, 13>.length == 22);
static_assert(kFixedPlan<kDateLine, 10>.length == 25);

class Records final : public RecordSink {
 public:
  void put_record(std::string_view r, bool no_advance, std::source_location) override {
    text += std::string(r) + (no_advance ? "\\" : "") + "|";
  }
  std::string_view designation() const override { return "test"; }
  std::string text;
};

// Values around the edges of the fields: digits, letters, signs, widths.
std::int32_t random_value(std::mt19937& rng) {
  static const std::int32_t kEdges[] = {0,  1,  9,   10,  15,       16,        -1,      -9,
                                        99, 100, 999, -99, -100, 99999999, 100000000, INT32_MIN};
  std::uniform_int_distribution<int> pick(0, 2);
  if (pick(rng) == 0) return kEdges[rng() % std::size(kEdges)];
  if (pick(rng) == 0) return static_cast<std::int32_t>(rng());
  return static_cast<std::int32_t>(rng() % 32) - 8;
}

template <const Layout& L, std::size_t N>
void expect_same_record(std::mt19937& rng, bool last_is_text) {
  for (int round = 0; round < 500; ++round) {
    Item items[N];
    for (std::size_t i = 0; i < N; ++i) items[i] = Item::int32(random_value(rng));
    static const char kCr = '\r';
    if (last_is_text) items[N - 1] = Item::chars({&kCr, 1});
    Records general, fixed;
    write_formatted(general, L, items);
    write_fixed<L>(fixed, items);
    ASSERT_EQ(fixed.text, general.text);
  }
}

TEST(FixedLayout, UnitRecordsMatchTheGeneralWalk) {
  std::mt19937 rng(12345);
  expect_same_record<kProgress, 14>(rng, true);
  expect_same_record<kDateLine, 10>(rng, false);
}

TEST(FixedLayout, InternalTextsMatchTheGeneralWalk) {
  std::mt19937 rng(777);
  for (int round = 0; round < 500; ++round) {
    Item items[13];
    for (Item& item : items) item = Item::int32(random_value(rng));
    char general[25], fixed[25];
    std::fill(std::begin(general), std::end(general), '#');
    std::fill(std::begin(fixed), std::end(fixed), '?');
    write_internal(general, kDatstr, items);
    write_fixed<kDatstr>(fixed, items);
    ASSERT_EQ(std::string(fixed, 25), std::string(general, 25));

    Item bytes[3];
    for (Item& b : bytes) b = Item::int16(static_cast<std::int16_t>(rng() % 256));
    char g10[10], f10[10];
    write_internal(g10, kFirstGroup, bytes);
    write_fixed<kFirstGroup>(f10, bytes);
    ASSERT_EQ(std::string(f10, 10), std::string(g10, 10));
    write_internal(g10, kSecondGroup, bytes);
    write_fixed<kSecondGroup>(f10, bytes);
    ASSERT_EQ(std::string(f10, 10), std::string(g10, 10));
  }
}

// Reads of every short text over a small alphabet: the same values, or the
// same failure.
TEST(FixedLayout, ReadsMatchTheGeneralWalk) {
  testing::FatalCapture capture;
  const char alphabet[] = {'0', '7', '9', ' ', '\t', '+', '-', 'A', '.'};
  auto outcome = [](auto read) {
    try {
      read();
      return 0;
    } catch (const testing::CapturedFailure& f) {
      return static_cast<int>(f.failure.number);
    }
  };
  std::mt19937 rng(99);
  for (int round = 0; round < 3000; ++round) {
    std::string text(rng() % 8, ' ');
    for (char& c : text) c = alphabet[rng() % std::size(alphabet)];
    std::int32_t g[6] = {-5, -5, -5, -5, -5, -5}, f[6] = {-5, -5, -5, -5, -5, -5};
    ASSERT_EQ(outcome([&] { read_fixed<kSixDigits>(text, std::span<std::int32_t, 6>(f)); }),
              outcome([&] { read_internal(text, kSixDigits, g); }))
        << '"' << text << '"';
    ASSERT_EQ(std::vector<std::int32_t>(f, f + 6), std::vector<std::int32_t>(g, g + 6));
    ASSERT_EQ(outcome([&] { read_fixed<kFiveDigits>(text, std::span<std::int32_t, 5>(f, 5)); }),
              outcome([&] { read_internal(text, kFiveDigits, std::span<std::int32_t>(g, 5)); }));
    ASSERT_EQ(outcome([&] { read_fixed<kWide>(text, std::span<std::int32_t, 2>(f, 2)); }),
              outcome([&] { read_internal(text, kWide, std::span<std::int32_t>(g, 2)); }));
    ASSERT_EQ(std::vector<std::int32_t>(f, f + 6), std::vector<std::int32_t>(g, g + 6));
  }
}

}  // namespace
}  // namespace prefscan
