#!/usr/bin/env bash
# Builds the project and runs every test: the plain build (Release, what users build and the
# packages ship), the same suites again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the Windows DLL under Wine and the fuzzers' smoke runs where their tools are installed.
# Installs missing packages first. Exits non-zero when anything that ran failed.
# In CI (CI=true) every stage must run: a missing tool or package fails the run instead of
# skipping its stage (scripts/stage-tools.sh).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. "$root/scripts/stage-tools.sh"
jobs=${KEVO_JOBS:-2}
failed=0
passed_total=0
failed_total=0
skipped=()

"$root/scripts/install-deps.sh" all || { echo "test.sh: could not install the build tools" >&2; exit 1; }
# Every build below, the stages' own included, turns warnings into errors.
export KEVO_WERROR=ON

# Runs ctest in a build directory and adds its counts to the totals.
run_ctest() {
  local dir=$1 label=$2 log
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 900) 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local total bad
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed_total=$((passed_total + total - bad))
    failed_total=$((failed_total + bad))
  fi
  rm -f "$log"
  if [ "$status" -ne 0 ]; then
    echo "test.sh: $label: ctest failed" >&2
    failed=1
  fi
}

build() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j"$jobs"
}

echo "== Plain build and tests"
if build "$root/build" -DCMAKE_BUILD_TYPE=Release; then
  run_ctest "$root/build" "plain build"
else
  echo "test.sh: plain build failed" >&2; failed=1
fi

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
if build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKEVO_SANITIZE=ON; then
  run_ctest "$root/build-asan" "sanitizer build"
else
  echo "test.sh: sanitizer build failed" >&2; failed=1
fi
unset ASAN_OPTIONS UBSAN_OPTIONS

# Optional stages: each script prints "skipped: <why>" and exits 0 when its tools are
# missing (in CI it fails instead), and fails when anything it ran failed.
for stage in check-format windows-tests fuzz-smoke bench-smoke release-tests render-report \
    check-report-a11y render-live; do
  script="$root/scripts/$stage.sh"
  [ -x "$script" ] || continue
  echo "== $stage"
  out=$(mktemp)
  "$script" 2>&1 | tee "$out"
  status=${PIPESTATUS[0]}
  if grep -q '^skipped:' "$out"; then
    skipped+=("$stage: $(grep '^skipped:' "$out" | head -n 1)")
    # In CI nothing may be skipped, whichever check of the stage said so.
    if in_ci; then
      echo "test.sh: $stage skipped a check in CI" >&2
      status=1
    fi
  fi
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$out" | tail -n 1)
  if [ -n "$line" ]; then
    passed_total=$((passed_total + $(cut -d' ' -f1 <<<"$line")))
    failed_total=$((failed_total + $(cut -d' ' -f3 <<<"$line")))
  fi
  rm -f "$out"
  if [ "$status" -ne 0 ]; then echo "test.sh: $stage failed" >&2; failed=1; fi
done

echo
for s in "${skipped[@]+"${skipped[@]}"}"; do echo "note: $s"; done
[ "$failed" -ne 0 ] && [ "$failed_total" -eq 0 ] && failed_total=1
echo "$passed_total passed, $failed_total failed"
exit "$failed"
