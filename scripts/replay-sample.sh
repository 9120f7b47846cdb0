#!/usr/bin/env bash
# The Quick start's main command: installs what the build needs (with apt-get, as root or
# through sudo), builds the project into build/ and replays the bundled sample contest with
# kevo-replay, printing the library's score summary.
#
# Usage: scripts/replay-sample.sh [adi|cbr] [extra kevo-replay options]
#   adi (default) replays samples/contest.adi, cbr the same contest as Cabrillo.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

format=adi
if [ $# -gt 0 ] && { [ "$1" = adi ] || [ "$1" = cbr ]; }; then
  format=$1
  shift
fi

# The same installer as the test command's, limited to what the Linux build needs.
"$root/scripts/install-deps.sh" core

# Shows the build's progress as one percentage (a line that keeps being rewritten on a terminal,
# a line per step otherwise) instead of the compiler lines; the full log only on failure.
show_progress() {
  local line percent last=
  while IFS= read -r line; do
    if [[ $line =~ ^\[\ *([0-9]+)%\] ]]; then
      percent=${BASH_REMATCH[1]}
    elif [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then  # Ninja
      percent=$((100 * BASH_REMATCH[1] / BASH_REMATCH[2]))
    else
      continue
    fi
    [ "$percent" = "$last" ] && continue
    last=$percent
    if [ -t 1 ]; then
      printf '\rreplay-sample: building into build/ %3d%%' "$percent"
    else
      echo "replay-sample: building into build/ $percent%"
    fi
  done
  if [ -t 1 ]; then echo; fi
}

log=$(mktemp "${TMPDIR:-/tmp}/replay-sample.XXXXXX")
echo "replay-sample: configuring build/"
if ! { cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$log" 2>&1 \
       && cmake --build "$root/build" -j"${KEVO_JOBS:-2}" --target kevo-replay 2>&1 \
          | tee -a "$log" | show_progress; }; then
  echo "replay-sample: the build failed; the end of its output:" >&2
  tail -n 40 "$log" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"

echo "replay-sample: replaying samples/contest.$format (own number 12, own region W, exchange list samples/RADL.lst)"
echo
exec "$root/build/kevo-replay" --own-number 12 --own-region W \
  --exchange-list "$root/samples/RADL.lst" "$@" "$root/samples/contest.$format"
