#!/usr/bin/env bash
# One-command benchmark of prefscan against cat as the I/O floor.
#
#   bench/run.sh [--rounds N] [--sizes "64 1024"] [--no-micro]
#
# Builds a Release prefscan with the benchmark tools in build-bench/, makes
# (once, deterministically) inputs of each size in MiB under
# $PREFSCAN_BENCH_DATA (default /tmp/prefscan-bench), then times, in
# alternating rounds, each in a scratch working directory:
#   prefscan FILE > /dev/null     prefscan FILE > file     cat FILE > /dev/null
# and prints the median wall times, prefscan / cat, and the peak resident
# memory of prefscan. Each run's exit status and listing are checked. Then
# the micro-benchmarks run, unless --no-micro is given.
set -euo pipefail

rounds=7
sizes="64 1024"
micro=1
while [[ $# -gt 0 ]]; do
  case "$1" in
    --rounds) rounds="$2"; shift 2 ;;
    --sizes) sizes="$2"; shift 2 ;;
    --no-micro) micro=0; shift ;;
    *) echo "usage: $0 [--rounds N] [--sizes \"64 1024\"] [--no-micro]" >&2; exit 2 ;;
  esac
done

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
data="${PREFSCAN_BENCH_DATA:-/tmp/prefscan-bench}"
mkdir -p "$data"

mkdir -p "$build"
# Quiet unless the build fails.
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
         -DPREFSCAN_BENCH=ON -DPREFSCAN_TESTS=OFF && cmake --build "$build"; } >"$build/bench-build.log" 2>&1; then
  cat "$build/bench-build.log" >&2
  exit 1
fi

prefscan="$build/prefscan"
timed="$build/bench/prefscan_timed_run"
make_input="$build/bench/prefscan_make_input"
scratch="$(mktemp -d "$data/run.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

failed=0
check() {  # check NAME STATUS EXPECTED_LISTING_LINES
  local name="$1" status="$2" want="$3" got
  got=$(tr -cd '\n' <"$scratch/preflist.g" | wc -c)
  if [[ "$status" != 0 || "$got" != "$want" ]]; then
    echo "CHECK FAILED: $name exit status $status, listing $got lines (expected 0 and $want)" >&2
    failed=1
  fi
}

printf '%-9s %12s %12s %12s %10s %10s %14s\n' "input" "prefscan>null" "prefscan>file" "cat>null" \
  "ratio" "ratio_file" "peak_rss"
for mib in $sizes; do
  file="$data/input-${mib}MiB.dat"
  # The input is made again when the generator is newer than it.
  if [[ ! -f "$file" || "$make_input" -nt "$file" ]]; then
    "$make_input" "$file" "$mib" >"$file.counts"
  fi
  listed=$(awk '$1 == "listed" { print $2 }' "$file.counts")
  # Two listing lines for the header, one per listed block.
  want=$((listed + 2))
  cat "$file" >/dev/null  # into the page cache: every command reads from memory

  : >"$scratch/t_null"; : >"$scratch/t_file"; : >"$scratch/t_cat"; : >"$scratch/rss"
  for ((r = 0; r < rounds; r++)); do
    rm -f "$scratch/preflist.g"
    read -r wall rss status < <("$timed" -C "$scratch" -- "$prefscan" "$file")
    check "prefscan >/dev/null" "$status" "$want"
    echo "$wall" >>"$scratch/t_null"; echo "$rss" >>"$scratch/rss"

    rm -f "$scratch/preflist.g"
    read -r wall rss status < <("$timed" -C "$scratch" -o "$scratch/stdout" -- "$prefscan" "$file")
    check "prefscan >file" "$status" "$want"
    echo "$wall" >>"$scratch/t_file"; echo "$rss" >>"$scratch/rss"
    rm -f "$scratch/stdout"

    read -r wall rss status < <("$timed" -C "$scratch" -- cat "$file")
    echo "$wall" >>"$scratch/t_cat"
  done
  rm -f "$scratch/preflist.g"

  t_null=$(median <"$scratch/t_null")
  t_file=$(median <"$scratch/t_file")
  t_cat=$(median <"$scratch/t_cat")
  rss="$(sort -n "$scratch/rss" | head -1)-$(sort -n "$scratch/rss" | tail -1)"
  # GNU time's own figure as a cross-check of the wrapper's rusage.
  if [[ -x /usr/bin/time ]]; then
    rss_time=$(cd "$scratch" && /usr/bin/time -f %M "$prefscan" "$file" 2>&1 >/dev/null </dev/null | tail -1)
    rm -f "$scratch/preflist.g"
  else
    rss_time="n/a"
  fi
  printf '%-9s %12.3fs %12.3fs %11.3fs %10.2f %10.2f %11s KiB  (/usr/bin/time: %s KiB)\n' \
    "${mib}MiB" "$t_null" "$t_file" "$t_cat" \
    "$(awk -v a="$t_null" -v b="$t_cat" 'BEGIN { print a / b }')" \
    "$(awk -v a="$t_file" -v b="$t_cat" 'BEGIN { print a / b }')" "$rss" "$rss_time"
done
echo "medians of $rounds alternating rounds; ratio = prefscan / cat;" \
  "peak_rss = smallest-largest peak over all prefscan runs"

if [[ "$micro" == 1 && -x "$build/bench/prefscan_micro_bench" ]]; then
  echo
  "$build/bench/prefscan_micro_bench" --benchmark_min_time=0.2
fi
exit "$failed"
