#!/usr/bin/env bash
# Checks the `kevo-replay --report` page for accessibility with axe-core (from the npm
# registry) in headless Chromium, on the sample's page with every section (a compared log, the
# audit, the rate sheet). Fails on any serious or critical finding, prints the lesser ones.
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
  var out = document.createElement("pre");
  out.id = "axe-findings";
  out.textContent = JSON.stringify(result.violations.map(function (v) {
    return {id: v.id, impact: v.impact, help: v.help, nodes: v.nodes.length,
            first: v.nodes.slice(0, 3).map(function (n) { return n.target.join(" "); })};
  }));
  document.body.appendChild(out);
});
</script>"""
page = page.replace("</body>", "<script>" + axe + "</script>\n" + runner + "\n</body>")
open(sys.argv[3], "w", encoding="utf-8").write(page)
PY

chromium_run 180 --virtual-time-budget=60000 --window-size=360,1400 \
  --dump-dom "file://$work/checked.html" >"$work/dom.html" 2>"$work/chromium.log" ||
  fail "chromium did not run: $(tail -n 1 "$work/chromium.log")"

python3 - "$work/dom.html" <<'PY'
import html, json, re, sys
dom = open(sys.argv[1], encoding="utf-8").read()
found = re.search(r'<pre id="axe-findings">(.*?)</pre>', dom, re.S)
if not found:
    print("check-report-a11y: axe wrote no findings (it did not finish)", file=sys.stderr)
    print("0 passed, 1 failed")
    sys.exit(1)
findings = json.loads(html.unescape(found.group(1)))
grave = [f for f in findings if f["impact"] in ("serious", "critical")]
for f in findings:
    print(f"{f['impact']}: {f['id']} ({f['nodes']} elements, e.g. {f['first']}): {f['help']}")
print(f"check-report-a11y: {len(findings)} findings, {len(grave)} serious or critical")
print("0 passed, 1 failed" if grave else "1 passed, 0 failed")
sys.exit(1 if grave else 0)
PY
