#!/usr/bin/env bash
# Checks the `kevo-replay --report` page for accessibility with axe-core (from the npm
# registry) in headless Chromium, on the sample's page with every section (a compared log, the
# audit, the rate sheet), at 1280 px and at 360 px. Fails on any serious or critical finding,
# prints the lesser ones.
# The page forbids scripts, so axe runs in a copy without that policy; the page itself is as
# written. Prints "skipped: <why>" and exits 0 where Chromium, npm or the registry is missing
# (in CI it fails instead; see scripts/stage-tools.sh).
# Usage: scripts/check-report-a11y.sh   (KEVO_BUILD names the build folder, default build/)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KEVO_BUILD:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$root/scripts/stage-tools.sh"

fail() {
  echo "check-report-a11y: $*" >&2
  echo "0 passed, 1 failed"
  exit 1
}

. "$root/scripts/headless-chromium.sh"
find_chromium
command -v npm >/dev/null || skip_stage "npm is not installed" npm
command -v python3 >/dev/null || skip_stage "python3 is not installed" python3

# axe-core once per build folder, pinned to its major version.
axe="$build/axe/node_modules/axe-core/axe.min.js"
if [ ! -s "$axe" ]; then
  mkdir -p "$build/axe"
  if ! timeout 300 npm install --prefix "$build/axe" axe-core@4 --no-audit --no-fund \
      >"$work/npm.log" 2>&1; then
    skip_stage "cannot install axe-core from the npm registry: $(tail -n 1 "$work/npm.log")" \
      "axe-core (npm registry)"
  fi
fi

if [ ! -x "$build/kevo-replay" ]; then
  cmake -S "$root" -B "$build" >/dev/null && cmake --build "$build" -j"${KEVO_JOBS:-2}" \
    --target kevo-replay >/dev/null || fail "cannot build kevo-replay"
fi
page="$work/report.html"
if ! (cd "$root" && "$build/kevo-replay" --own-number 12 --own-region W \
      --exchange-list samples/RADL.lst --compare samples/contest.cbr --report "$page" \
      samples/contest.adi >"$work/replay.out" 2>&1); then
  cat "$work/replay.out" >&2
  fail "kevo-replay --report failed"
fi

# The copy: no Content-Security-Policy, axe and a runner before </body>; the runner writes
# the findings into the page, which Chromium then dumps.
python3 - "$page" "$axe" "$work/checked.html" <<'PY' || fail "cannot prepare the page"
import re, sys
page = open(sys.argv[1], encoding="utf-8").read()
axe = open(sys.argv[2], encoding="utf-8").read()
page = re.sub(r'<meta http-equiv="Content-Security-Policy"[^>]*>\n', "", page)
runner = """<script>
axe.run(document, {resultTypes: ["violations"]}).then(function (result) {
  var text = JSON.stringify(result.violations.map(function (v) {
    return {id: v.id, impact: v.impact, help: v.help, nodes: v.nodes.length,
            first: v.nodes.slice(0, 3).map(function (n) { return n.target.join(" "); })};
  }));
  if (window.parent !== window) { parent.postMessage(text, "*"); return; }
  var out = document.createElement("pre");
  out.id = "axe-findings";
  out.textContent = text;
  document.body.appendChild(out);
});
</script>"""
page = page.replace("</body>", "<script>" + axe + "</script>\n" + runner + "\n</body>")
open(sys.argv[3], "w", encoding="utf-8").write(page)
# Headless Chromium's window is at least 500 px wide: a phone's 360 px is a frame of that
# width, to which the checked page posts its findings.
open(sys.argv[3].replace("checked.html", "frame.html"), "w", encoding="utf-8").write("""<!DOCTYPE html>
<html lang="en"><title>360 px</title><body style="margin:0">
<iframe title="The report at 360 px" src="checked.html" style="width:360px;height:1400px;border:0">
</iframe><script>window.addEventListener("message", function (e) {
  var out = document.createElement("pre"); out.id = "axe-findings"; out.textContent = e.data;
  document.body.appendChild(out); });</script></body></html>""")
PY

# On a desktop's width, and in a phone's 360 px.
chromium_run 180 --virtual-time-budget=60000 --window-size=1280,1400 \
  --dump-dom "file://$work/checked.html" >"$work/dom-1280.html" 2>"$work/chromium.log" ||
  fail "chromium did not run: $(tail -n 1 "$work/chromium.log")"
chromium_run 180 --virtual-time-budget=60000 --window-size=500,1400 \
  --dump-dom "file://$work/frame.html" >"$work/dom-360.html" 2>"$work/chromium.log" ||
  fail "chromium did not run: $(tail -n 1 "$work/chromium.log")"

python3 - "$work/dom-1280.html" "$work/dom-360.html" <<'PY'
import html, json, re, sys
passed = failed = 0
for path, width in zip(sys.argv[1:], ("1280 px", "360 px")):
    dom = open(path, encoding="utf-8").read()
    found = re.search(r'<pre id="axe-findings">(.*?)</pre>', dom, re.S)
    if not found:
        print(f"check-report-a11y: at {width} axe wrote no findings (it did not finish)",
              file=sys.stderr)
        failed += 1
        continue
    findings = json.loads(html.unescape(found.group(1)))
    grave = [f for f in findings if f["impact"] in ("serious", "critical")]
    for f in findings:
        print(f"{f['impact']}: {f['id']} ({f['nodes']} elements, e.g. {f['first']}): {f['help']}")
    print(f"check-report-a11y: at {width} {len(findings)} findings, "
          f"{len(grave)} serious or critical")
    if grave:
        failed += 1
    else:
        passed += 1
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
PY
