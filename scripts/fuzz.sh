#!/usr/bin/env bash
# Fuzzes the lap counter's receive path for a bounded time; fails on the first crash, hang or
# broken invariant. Usage: scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KV_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"

CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON -DKV_LINK_ONLY=ON -DKV_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_link_receive

# New inputs go to a scratch corpus; the seeds in the tree stay as they are.
work="$build/fuzz-work"
mkdir -p "$work/corpus" "$work/artifacts"
"$build/fuzz/fuzz_link_receive" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
  "$work/corpus" "$root/fuzz/corpus"
