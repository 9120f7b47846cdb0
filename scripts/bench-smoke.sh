#!/usr/bin/env bash
# Builds the benchmarks (Release) in a build directory of their own and runs each benchmark of
# the 1,000-contact size once, very briefly, so that the test run proves they still build and
# run, and the summary at 100,000 contacts and the 20,000-contact reload beside the full walk
# (their counters give both CPU times and the speedup; a few seconds). Only those two figures
# are worth reading; scripts/bench.sh measures the rest.
# Prints "skipped: <why>" and exits 0 when Google Benchmark (libbenchmark-dev) is missing (fails
# in CI; see scripts/stage-tools.sh).
#
# Environment: KEVO_BENCH_BUILD (build directory, default build-bench), KEVO_JOBS (default 2).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KEVO_BENCH_BUILD:-$root/build-bench}
jobs=${KEVO_JOBS:-2}
. "$root/scripts/stage-tools.sh"

found=
for config in /usr/lib/*/cmake/benchmark/benchmarkConfig.cmake \
              /usr/lib/cmake/benchmark/benchmarkConfig.cmake \
              /usr/local/lib/cmake/benchmark/benchmarkConfig.cmake; do
  [ -f "$config" ] && found=$config
done
if [ -z "$found" ]; then
  skip_stage "Google Benchmark is not installed" libbenchmark-dev
fi

echo "bench-smoke: building the benchmarks in $build"
if ! cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKEVO_BUILD_BENCHMARKS=ON \
      -DKEVO_BUILD_TESTS=OFF -DKEVO_BUILD_TOOLS=OFF >/dev/null ||
   ! cmake --build "$build" -j"$jobs" --target kevo_benchmarks; then
  echo "bench-smoke: the benchmarks did not build" >&2
  echo "0 passed, 1 failed"
  exit 1
fi

out=$(mktemp)
"$build/bench/kevo_benchmarks" \
  --benchmark_filter='/1000$|BM_SummaryBesideFullWalk/100000|BM_ReloadBesideFullWalk' \
  --benchmark_min_time=0.01 2>&1 | tee "$out"
status=${PIPESTATUS[0]}
ran=$(grep -cE '^BM_' "$out")
errors=$(grep -E '^BM_' "$out" | grep -c 'ERROR OCCURRED')
rm -f "$out"
if [ "$status" -ne 0 ] || [ "$ran" -eq 0 ]; then
  echo "bench-smoke: the benchmark run failed (exit $status, $ran benchmarks)" >&2
  echo "$((ran - errors)) passed, $((errors > 0 ? errors : 1)) failed"
  exit 1
fi
echo "$((ran - errors)) passed, $errors failed"
[ "$errors" -eq 0 ]
