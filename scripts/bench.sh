#!/usr/bin/env bash
# Builds the library and its benchmarks in Release and runs every benchmark: each entry at
# 1,000, 10,000 and 100,000 contacts, the 20,000-contact replay, the memory of a
# 100,000-contact log, and the summary and the reload beside the full walk they replaced. Extra arguments go to the benchmark binary, for example
#   scripts/bench.sh --benchmark_filter=GetResult --benchmark_format=json
#
# Environment: KEVO_BENCH_BUILD (build directory, default build-bench), KEVO_JOBS (default 2).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KEVO_BENCH_BUILD:-$root/build-bench}
jobs=${KEVO_JOBS:-2}

"$root/scripts/install-deps.sh" core
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKEVO_BUILD_BENCHMARKS=ON \
  -DKEVO_BUILD_TESTS=OFF -DKEVO_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target kevo_benchmarks
echo "Machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"
exec "$build/bench/kevo_benchmarks" --benchmark_min_time=0.5 "$@"
