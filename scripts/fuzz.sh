#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/) and runs each for the given number of seconds.
# Usage: scripts/fuzz.sh SECONDS [target ...]   (default: every fuzz_* target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DROTAFLEX_BUILD_FUZZ=ON -DROTAFLEX_BUILD_TESTS=OFF -DROTAFLEX_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(sed -n 's/^rotaflex_add_fuzzer(\([a-z_]*\) .*/\1/p' fuzz/CMakeLists.txt)
fi
cmake --build build-fuzz --target "${targets[@]}" -- -j2
mkdir -p build-fuzz/corpus
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== $t: ${seconds}s"
  ./build-fuzz/fuzz/"$t" -max_total_time="$seconds" -print_final_stats=1 "build-fuzz/corpus/$t" 2>&1 \
    | grep -E 'stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY|Done' || true
done
