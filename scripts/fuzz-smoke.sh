#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build directory of their own and runs each one
# briefly from its committed seed corpus (fuzz/corpus/<target>/). Fails when a fuzzer finds
# anything; the input that broke it is kept under <build>/artifacts/<target>/.
# Prints "skipped: <why>" and exits 0 when clang or its fuzzer runtime is missing (fails in CI;
# see scripts/stage-tools.sh).
#
# Environment: KEVO_FUZZ_SECONDS (per fuzzer, default 60), KEVO_FUZZ_BUILD (build directory,
# default build-fuzz), KEVO_JOBS (build jobs, default 2), KEVO_CXX (default clang++-14),
# KEVO_FUZZ_BUILD_ONLY=1 (build, run nothing), KEVO_FUZZ_SEED (default 1; 0 for a random one).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${KEVO_FUZZ_SECONDS:-60}
build=${KEVO_FUZZ_BUILD:-$root/build-fuzz}
jobs=${KEVO_JOBS:-2}
cxx=${KEVO_CXX:-clang++-14}

. "$root/scripts/stage-tools.sh"
# Debian's packages carry the version of a versioned compiler name (clang++-14: clang-14).
version=
case ${cxx##*-} in [0-9]*) version=-${cxx##*-} ;; esac
if ! command -v "$cxx" >/dev/null; then
  skip_stage "$cxx is not installed" "clang$version"
fi
runtime=$("$cxx" -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null)
if [ ! -f "$runtime" ]; then
  runtime=$("$cxx" --print-runtime-dir 2>/dev/null)/libclang_rt.fuzzer-x86_64.a
fi
if [ ! -f "$runtime" ]; then
  skip_stage "the libFuzzer runtime of $cxx is missing" "libclang-rt$version-dev"
fi

# The fuzzers and their corpus folders; the replay readers only where the tool is present.
targets=(session exchange_list)
[ -f "$root/tools/replay/CMakeLists.txt" ] && targets+=(adif cabrillo script)
[ -f "$root/tools/live/CMakeLists.txt" ] && targets+=(datagram)

echo "fuzz-smoke: building ${targets[*]} in $build"
if ! cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKEVO_BUILD_FUZZERS=ON -DKEVO_BUILD_TESTS=OFF -DKEVO_BUILD_BENCHMARKS=OFF >/dev/null ||
   ! cmake --build "$build" -j"$jobs" --target kevo_fuzzers; then
  echo "fuzz-smoke: the fuzzers did not build" >&2
  echo "0 passed, ${#targets[@]} failed"
  exit 1
fi

if [ "${KEVO_FUZZ_BUILD_ONLY:-0}" = 1 ]; then
  echo "fuzz-smoke: built ${targets[*]}"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kevo-fuzz-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
export KEVO_FUZZ_WORKDIR="$work"  # the session fuzzer's working folders go in here
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1

passed=0
failed=0
for target in "${targets[@]}"; do
  binary="$build/fuzz/fuzz_$target"
  corpus="$work/corpus-$target"
  artifacts="$build/artifacts/$target"
  log="$work/$target.log"
  mkdir -p "$corpus" "$artifacts"
  cp "$root/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null
  # The exchange list fuzzer's compact form expands to megabytes; the others need less.
  max_len=4096
  [ "$target" = exchange_list ] && max_len=65536
  [ "$target" = adif ] || [ "$target" = cabrillo ] && max_len=16384
  echo "== fuzz_$target for ${seconds}s"
  if [ ! -x "$binary" ]; then
    echo "fuzz-smoke: $binary was not built" >&2
    failed=$((failed + 1))
    continue
  fi
  # A fixed seed makes the smoke run take the same path on every run (KEVO_FUZZ_SEED=0 asks
  # libFuzzer for a fresh one): it guards against regressions, the long campaigns explore.
  "$binary" -seed="${KEVO_FUZZ_SEED:-1}" -max_total_time="$seconds" -timeout=30 \
    -rss_limit_mb=3072 -max_len="$max_len" -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" >"$log" 2>&1
  status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done )' "$log" | tr '\n' ' '
  echo
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "fuzz-smoke: fuzz_$target found a problem (exit $status); input kept in $artifacts" >&2
    grep -E 'invariant broken|ERROR:|SUMMARY:|Test unit written' "$log" | head -n 20 >&2
    tail -n 40 "$log" >&2
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
