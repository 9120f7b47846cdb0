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

echo "replay-sample: building into build/"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"${KEVO_JOBS:-2}" --target kevo-replay >/dev/null

echo "replay-sample: replaying samples/contest.$format (own number 12, own region W, exchange list samples/RADL.lst)"
echo
exec "$root/build/kevo-replay" --own-number 12 --own-region W \
  --exchange-list "$root/samples/RADL.lst" "$@" "$root/samples/contest.$format"
