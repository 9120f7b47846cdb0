#!/usr/bin/env bash
# Long fuzzing campaigns: runs each named fuzzer (all of them when none is named) for the given
# time, in parallel processes, on a corpus that persists between campaigns.
#
#   scripts/fuzz-long.sh [-t seconds-per-fuzzer] [-j processes] [target ...]
#   targets: session exchange_list adif cabrillo script   (default: all; -t 3600, -j 2)
#
# Builds the fuzzers like scripts/fuzz-smoke.sh (in build-fuzz, or KEVO_FUZZ_BUILD).
# The growing corpus lives in <build>/long-corpus/<target>/, seeded from fuzz/corpus/<target>/;
# inputs that break a fuzzer land in <build>/artifacts/<target>/ (turn each into a test under
# tests/unit/ once fixed). To bring new coverage back into the committed seeds, keeping them
# small, minimise into the seed folder:
#   build-fuzz/fuzz/fuzz_<target> -merge=1 fuzz/corpus/<target> build-fuzz/long-corpus/<target>
# (for fuzz_session, name the folders with absolute paths or from the repository root).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=3600
processes=2
while getopts "t:j:h" option; do
  case $option in
    t) seconds=$OPTARG ;;
    j) processes=$OPTARG ;;
    *) sed -n '2,15p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(session exchange_list adif cabrillo script)

build=${KEVO_FUZZ_BUILD:-$root/build-fuzz}
KEVO_FUZZ_BUILD_ONLY=1 KEVO_FUZZ_BUILD="$build" "$root/scripts/fuzz-smoke.sh" >/dev/null ||
  { echo "fuzz-long: the fuzzers did not build (see scripts/fuzz-smoke.sh)" >&2; exit 1; }
[ -x "$build/fuzz/fuzz_session" ] || { echo "fuzz-long: no fuzzers (clang missing?)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kevo-fuzz-long.XXXXXX")
trap 'rm -rf "$work"' EXIT
export KEVO_FUZZ_WORKDIR="$work"

status=0
for target in "${targets[@]}"; do
  binary="$build/fuzz/fuzz_$target"
  [ -x "$binary" ] || { echo "fuzz-long: no fuzzer $target" >&2; status=1; continue; }
  corpus="$build/long-corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$corpus" "$artifacts" "$work/logs-$target"
  cp -n "$root/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null
  max_len=4096
  [ "$target" = exchange_list ] && max_len=65536
  [ "$target" = adif ] || [ "$target" = cabrillo ] && max_len=16384
  touch "$work/$target.log.start"
  echo "== fuzz_$target: ${seconds}s in $processes processes, corpus $corpus"
  (cd "$work/logs-$target" &&
    "$binary" -max_total_time="$seconds" -fork="$processes" -ignore_crashes=1 -timeout=30 \
      -rss_limit_mb=3072 -max_len="$max_len" -artifact_prefix="$artifacts/" \
      -print_final_stats=1 "$corpus" >"$work/$target.log" 2>&1)
  tail -n 5 "$work/$target.log"
  found=$(find "$artifacts" -type f -newer "$work/$target.log.start" | wc -l)
  if [ "$found" -gt 0 ]; then
    echo "fuzz-long: fuzz_$target: $found new input(s) in $artifacts" >&2
    status=1
  fi
done
exit $status
