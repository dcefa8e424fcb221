// Micro-benchmarks of the per-block work: PREFCH for each layout, the date
// and listing step, the progress line, and all of a block's work together.
// Every figure is the time of one block (one iteration).
//
// Standard output is pointed at /dev/null while a benchmark that writes to
// the console runs, and the listing is either not connected (the record is
// built and dropped) or connected to /dev/null (the 1024-byte buffer is
// filled and written out).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "block_maker.h"
#include "common/blockdata.h"
#include "driver/progress.h"
#include "listing/console.h"
#include "listing/dates.h"
#include "listing/listing_file.h"
#include "preface/prefch.h"

namespace pb = prefscan::bench;
using namespace prefscan;

namespace {

void load_block(const pb::Block& b) {
  IOFF = 1;
  for (int i = 1; i <= kBlockSize; ++i) IBYTE(i) = b[static_cast<std::size_t>(i - 1)];
}

// Points standard output at /dev/null for as long as it lives.
class StdoutToNull {
 public:
  StdoutToNull() {
    std::cout.flush();
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    close(null);
  }
  ~StdoutToNull() {
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
  }
  StdoutToNull(const StdoutToNull&) = delete;
  StdoutToNull& operator=(const StdoutToNull&) = delete;

 private:
  int saved_;
};

void BM_PREFCH(benchmark::State& state, pb::Kind kind) {
  pb::Random r(0x5EED);
  pb::Block b;
  pb::make_block(kind, r, b);
  load_block(b);
  for (auto _ : state) {
    PREFCH();
    benchmark::DoNotOptimize(IPREF);
    benchmark::DoNotOptimize(ITYPE);
  }
}

// A decoded block's digits: 01 185 12:34:56, as the date step sees them.
void set_decoded(std::int32_t type) {
  IREC = 123456;
  ITYPE = type;
  IPREF = {};
  const int digits[11] = {0, 1, 1, 8, 5, 1, 2, 3, 4, 5, 6};
  for (int i = 1; i <= 11; ++i) IPREF(i) = digits[i - 1];
}

enum class Listing { kNotConnected, kDevNull };

void BM_DateAndListingStep(benchmark::State& state, std::int32_t type, Listing listing) {
  reset_listing();
  if (listing == Listing::kDevNull) connect_listing("/dev/null");
  set_decoded(type);
  for (auto _ : state) {
    date_and_listing_step();
    benchmark::DoNotOptimize(IDAY);
  }
  reset_listing();
}

void BM_WriteProgressLine(benchmark::State& state) {
  set_decoded(9);
  StdoutToNull quiet;
  reset_console();
  for (auto _ : state) write_progress_line();
  reset_console();
}

// Everything the block loop does for a block once its bytes are read, over
// a mix of every kind: the byte conversion, PREFCH, the date step with the
// listing on /dev/null, and the progress line to /dev/null.
void BM_WholeBlock(benchmark::State& state) {
  constexpr int kPool = 1024;
  std::vector<pb::Block> pool(kPool);
  pb::Random order(1), content(2);
  constexpr int kKinds = sizeof pb::kAllKinds / sizeof pb::kAllKinds[0];
  for (auto& b : pool) pb::make_block(pb::kAllKinds[order.below(kKinds)], content, b);

  reset_listing();
  connect_listing("/dev/null");
  StdoutToNull quiet;
  reset_console();
  int n = 0;
  for (auto _ : state) {
    IREC = n + 1;
    load_block(pool[static_cast<std::size_t>(n)]);
    PREFCH();
    date_and_listing_step();
    write_progress_line();
    n = (n + 1) % kPool;
  }
  reset_console();
  reset_listing();
}

void register_all() {
  for (pb::Kind k : pb::kAllKinds) {
    benchmark::RegisterBenchmark(("PREFCH/" + std::string(pb::kind_name(k))).c_str(), BM_PREFCH, k);
  }
  benchmark::RegisterBenchmark("DateAndListingStep/unlisted/not_connected", BM_DateAndListingStep,
                               0, Listing::kNotConnected);
  benchmark::RegisterBenchmark("DateAndListingStep/listed/not_connected", BM_DateAndListingStep, 9,
                               Listing::kNotConnected);
  benchmark::RegisterBenchmark("DateAndListingStep/listed/dev_null", BM_DateAndListingStep, 9,
                               Listing::kDevNull);
  benchmark::RegisterBenchmark("WriteProgressLine/dev_null", BM_WriteProgressLine);
  benchmark::RegisterBenchmark("WholeBlock/mixed", BM_WholeBlock);
}

}  // namespace

int main(int argc, char** argv) {
  register_all();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
