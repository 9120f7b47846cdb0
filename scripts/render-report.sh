#!/usr/bin/env bash
# Renders the bundled sample's `kevo-replay --report` page with headless Chromium to a PNG and
# fails when the page logs anything to the browser console (a refused request, a script, a
# broken reference). Prints "skipped: <why>" and exits 0 where Chromium cannot run (fails in
# CI; see scripts/stage-tools.sh).
# Usage: scripts/render-report.sh [PNG]   (default: a temporary file; docs/report-sample.png
# is made with `scripts/render-report.sh docs/report-sample.png`)
# KEVO_BUILD names the build folder (default build/); it is configured and built if needed.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KEVO_BUILD:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
png=${1:-$work/report-sample.png}

fail() {
  echo "render-report: $*" >&2
  echo "0 passed, 1 failed"
  exit 1
}

. "$root/scripts/stage-tools.sh"
. "$root/scripts/headless-chromium.sh"
find_chromium

if [ ! -x "$build/kevo-replay" ]; then
  cmake -S "$root" -B "$build" >/dev/null && cmake --build "$build" -j"${KEVO_JOBS:-2}" \
    --target kevo-replay >/dev/null || fail "cannot build kevo-replay"
fi

page="$work/report.html"
# Relative names, so that the page names the sample as a reader of the repository sees it.
if ! (cd "$root" && "$build/kevo-replay" --own-number 12 --own-region W \
      --exchange-list samples/RADL.lst --report "$page" samples/contest.adi \
      >"$work/replay.out" 2>&1); then
  cat "$work/replay.out" >&2
  fail "kevo-replay --report failed"
fi

screenshot_without_console "$png" "file://$page" --window-size=800,2500
echo "render-report: $png, no console messages"
echo "1 passed, 0 failed"
