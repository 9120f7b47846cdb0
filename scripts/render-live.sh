#!/usr/bin/env bash
# Renders kevo-live's page with headless Chromium, after a short generated contest sent over
# loopback, and fails when the page logs anything to the browser console (a refused request, a
# script error). Prints "skipped: <why>" and exits 0 where Chromium cannot run (fails in CI; see
# scripts/stage-tools.sh).
# Usage: scripts/render-live.sh [PNG]   (docs/live-sample.png is made with
# `scripts/render-live.sh docs/live-sample.png`). KEVO_BUILD names the build folder (default
# build/), which must hold kevo-live.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KEVO_BUILD:-$root/build}
work=$(mktemp -d)
live_pid=
cleanup() {
  [ -n "$live_pid" ] && kill "$live_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
png=${1:-$work/live-sample.png}

fail() {
  echo "render-live: $*" >&2
  echo "0 passed, 1 failed"
  exit 1
}

. "$root/scripts/stage-tools.sh"
. "$root/scripts/headless-chromium.sh"
find_chromium
[ -x "$build/kevo-live" ] || fail "$build/kevo-live is not built"

"$build/kevo-live" --udp 127.0.0.1:0 --http 127.0.0.1:0 --journal "$work/journal" \
  --own-number 12 --own-region W >"$work/live.out" 2>"$work/live.err" &
live_pid=$!
for _ in $(seq 100); do
  grep -q "live page" "$work/live.out" && break
  sleep 0.1
done
udp=$(grep -o 'udp [0-9.]*:[0-9]*' "$work/live.out" | cut -d' ' -f2)
page=$(grep -o 'http://[0-9.:]*/' "$work/live.out")
[ -n "$udp" ] && [ -n "$page" ] || fail "kevo-live did not start: $(cat "$work/live.err")"

# Two hours of a small contest, one duplicate and one edit among them.
python3 - "$udp" <<'PY' || fail "cannot send the contest"
import random, socket, sys
host, port = sys.argv[1].split(":")
rng = random.Random(7)
sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
def send(root, n, call, band, exchange):
    minute = 600 + n * 2
    sock.sendto(("<%s><timestamp>2026-03-14 %02d:%02d:00</timestamp><band>%s</band>"
                 "<mode>CW</mode><call>%s</call><exchange1>%s</exchange1><section>%s</section>"
                 "<ID>%032X</ID></%s>" % (root, minute // 60, minute % 60, band, call, exchange,
                                          rng.choice("WEN"), n, root)).encode(),
                (host, int(port)))
calls = ["DL%dABC" % i for i in range(1, 10)] + ["OK%dXY" % i for i in range(1, 10)]
for n in range(60):
    send("contactinfo", n, rng.choice(calls), rng.choice(["3.5", "7", "14", "21"]),
         str(rng.randint(10, 40)))
send("contactinfo", 60, "DL1ABC", "14", "12")
send("contactinfo", 61, "DL1ABC", "14", "12")
send("contactreplace", 5, "OK1XY", "7", "33")
PY
sleep 2  # the charts follow the contacts within a second

screenshot_without_console "$png" "$page" --window-size=1250,1500 --virtual-time-budget=4000
echo "render-live: $png, no console messages"
echo "1 passed, 0 failed"
