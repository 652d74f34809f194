#!/bin/sh
# Builds the picture block fuzz target with clang and runs it, seeded with the real blocks.
#   fuzz/run.sh [seconds] [libFuzzer flags...]   (default 60 s)
# e.g. fuzz/run.sh 600 -runs=10000000 -max_len=2048 for ten million small inputs: every
# header path is reachable with small pictures, and they run some 30 times faster.
set -eu
seconds=${1:-60}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKELTO_FUZZ=ON -DKELTO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target picture_block_fuzz kelto_frame_generator
mkdir -p "$build/corpus" "$build/seeds"
"$build/tools/kelto_frame_generator" --block-dir "$build/seeds"
"$build/fuzz/picture_block_fuzz" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=1 \
    "$@" "$build/corpus" "$build/seeds"
