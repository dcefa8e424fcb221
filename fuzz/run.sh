#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs each for a bounded time
# from the seed corpus in fuzz/corpus/<target>/.
#
#   fuzz/run.sh [SECONDS]        (default 30 per target, or $PREFSCAN_FUZZ_SECONDS)
#
# New inputs that libFuzzer finds go to build-fuzz/corpus/<target>/, never
# into the repository; an input that makes a target fail is saved under
# build-fuzz/artifacts/<target>/ and the script exits with status 1.
# Without a suitable clang the script says so and exits with status 0.
set -euo pipefail

seconds="${1:-${PREFSCAN_FUZZ_SECONDS:-30}}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

# The first clang that links libFuzzer and has std::source_location (clang
# 15 on; clang 14 lacks the builtin that the standard library needs), or
# $PREFSCAN_FUZZ_CXX when set.
probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
cat >"$probe/probe.cpp" <<'EOF_PROBE'
#include <cstddef>
#include <cstdint>
#include <source_location>
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) {
  return static_cast<int>(std::source_location::current().line()) > 0 ? 0 : 1;
}
EOF_PROBE
cxx=""
for candidate in ${PREFSCAN_FUZZ_CXX:-clang++-19 clang++-18 clang++-17 clang++-16 clang++-15 clang++}; do
  if command -v "$candidate" >/dev/null 2>&1 &&
     "$candidate" -std=c++20 -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" \
       -o "$probe/probe" >/dev/null 2>&1; then
    cxx="$(command -v "$candidate")"
    break
  fi
done
if [[ -z "$cxx" ]]; then
  echo "fuzz: no clang++ with libFuzzer and std::source_location (clang 15 or later); skipped"
  exit 0
fi
echo "fuzz: compiler $cxx"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPREFSCAN_FUZZ=ON -DPREFSCAN_TESTS=OFF -DPREFSCAN_SANITIZE=ON -DPREFSCAN_WERROR=ON \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build"

# The largest input each target looks at: a block and its block number; a
# selector byte and a short text.
declare -A max_len=([block_fuzz]=4100 [read_fuzz]=41)

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
for target in block_fuzz read_fuzz; do
  binary="$build/fuzz/prefscan_$target"
  if [[ ! -x "$binary" ]]; then
    echo "fuzz: $target was not built (see the configure messages); skipped"
    continue
  fi
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target/"
  mkdir -p "$corpus" "$artifacts"
  log="$build/$target.log"
  echo "fuzz: $target for ${seconds}s"
  if "$binary" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
       -artifact_prefix="$artifacts" -print_final_stats=1 \
       "$corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
    echo "fuzz: $target passed: ${runs:-?} inputs run, corpus $(ls "$corpus" | wc -l) files"
  else
    status=1
    echo "fuzz: $target FAILED; log $log, input(s):"
    ls -1 "$artifacts"
    grep -m5 -E 'prefscan fuzz finding|ERROR: |runtime error' "$log" || true
  fi
done
exit "$status"
