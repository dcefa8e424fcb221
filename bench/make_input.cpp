// Writes a benchmark input: SIZE_MIB mebibytes of complete, valid blocks of
// every layout in a seeded random order, and prints how many blocks of each
// kind it wrote and how many of them the listing will get.
//
//   prefscan_make_input OUT SIZE_MIB [SEED]

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "block_maker.h"

namespace pb = prefscan::bench;

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: %s OUT SIZE_MIB [SEED]\n", argv[0]);
    return 2;
  }
  const long mib = std::strtol(argv[2], nullptr, 10);
  const unsigned long long seed = argc == 4 ? std::strtoull(argv[3], nullptr, 0) : 0x5052454643ULL;
  if (mib <= 0) {
    std::fprintf(stderr, "SIZE_MIB must be positive\n");
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const long blocks = mib * (1024L * 1024L / pb::kBlockBytes);
  constexpr int kKinds = sizeof pb::kAllKinds / sizeof pb::kAllKinds[0];
  long per_kind[kKinds] = {};
  long listed = 0;

  pb::Random order(seed);
  pb::Random content(seed ^ 0xB10C5ULL);
  pb::Block block;
  for (long n = 0; n < blocks; ++n) {
    const int k = order.below(kKinds);
    pb::make_block(pb::kAllKinds[k], content, block);
    ++per_kind[k];
    if (pb::is_listed(pb::kAllKinds[k])) ++listed;
    if (std::fwrite(block.data(), 1, block.size(), out) != block.size()) {
      std::perror(argv[1]);
      return 1;
    }
  }
  if (std::fclose(out) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  std::printf("blocks %ld\nlisted %ld\n", blocks, listed);
  for (int k = 0; k < kKinds; ++k) {
    const std::string_view name = pb::kind_name(pb::kAllKinds[k]);
    std::printf("kind %.*s %ld\n", static_cast<int>(name.size()), name.data(), per_kind[k]);
  }
  return 0;
}
