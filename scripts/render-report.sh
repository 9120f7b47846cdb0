#!/usr/bin/env bash
# Renders the bundled sample's `kevo-replay --report` page, its ADIF log compared with its
# Cabrillo log, with headless Chromium to a PNG and fails when the page logs anything to the
# browser console (a refused request, a script, a broken reference), or when at 360 px the
# page is wider than the screen (a table or chart that scrolls the whole page sideways). Prints "skipped: <why>" and exits 0 where Chromium cannot run (fails in
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
      --exchange-list samples/RADL.lst --compare samples/contest.cbr --report "$page" \
      samples/contest.adi \
      >"$work/replay.out" 2>&1); then
  cat "$work/replay.out" >&2
  fail "kevo-replay --report failed"
fi

screenshot_without_console "$png" "file://$page" --window-size=1000,2400

# At 360 px: headless Chromium's window is at least 500 px wide, so the page is shown in a
# 360 px frame. A copy without the page's script ban measures itself there (every section
# unfolded) and posts its width to the frame's holder, whose DOM Chromium dumps.
python3 - "$page" "$work" <<'PY' || fail "cannot prepare the 360 px page"
import re, sys
page = open(sys.argv[1], encoding="utf-8").read()
page = re.sub(r'<meta http-equiv="Content-Security-Policy"[^>]*>\n', "", page)
page = page.replace("<details", "<details open")
measure = """<script>
window.addEventListener("load", function () {
  var root = document.documentElement;
  parent.postMessage(JSON.stringify({page: root.scrollWidth, viewport: root.clientWidth}), "*");
});
</script>"""
open(sys.argv[2] + "/narrow.html", "w", encoding="utf-8").write(
    page.replace("</body>", measure + "\n</body>"))
open(sys.argv[2] + "/frame.html", "w", encoding="utf-8").write("""<!DOCTYPE html>
<html><body style="margin:0"><iframe src="narrow.html" style="width:360px;height:800px;border:0">
</iframe><script>window.addEventListener("message", function (e) {
  var out = document.createElement("pre"); out.id = "width"; out.textContent = e.data;
  document.body.appendChild(out); });</script></body></html>""")
PY
chromium_run 120 --virtual-time-budget=10000 --window-size=500,900 \
  --dump-dom "file://$work/frame.html" >"$work/frame.dom" 2>"$work/chromium.log" ||
  fail "chromium did not run: $(tail -n 1 "$work/chromium.log")"
python3 - "$work/frame.dom" <<'PY' || fail "the page is wider than a 360 px screen"
import html, json, re, sys
found = re.search(r'<pre id="width">(.*?)</pre>', open(sys.argv[1], encoding="utf-8").read())
if not found:
    sys.exit("render-report: the 360 px page reported no width")
width = json.loads(html.unescape(found.group(1)))
print(f"render-report: at 360 px the page is {width['page']} px wide, "
      f"its viewport {width['viewport']} px")
sys.exit(0 if width["page"] <= width["viewport"] else 1)
PY
echo "render-report: $png, no console messages"
echo "2 passed, 0 failed"
