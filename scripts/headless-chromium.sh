# Sourced by the stages that render a page in Chromium (render-report, render-live,
# check-report-a11y), after scripts/stage-tools.sh and with $work set to a scratch folder.
# Finds the browser, and runs it headless as these checks need: as root, with no sandbox; a
# fresh profile and no background traffic keep each run reproducible and offline.

# Sets $browser, or ends the stage (skipped, or failed in CI) when Chromium is missing or cannot
# start here.
find_chromium() {
  browser=$(command -v chromium || command -v chromium-browser || true)
  [ -n "$browser" ] || skip_stage "chromium is not installed" chromium
  if ! chromium_run 120 --dump-dom about:blank >"$work/probe.out" 2>&1; then
    skip_stage "chromium cannot run here: $(grep -v -i dbus "$work/probe.out" | tail -n 1)" chromium
  fi
}

# chromium_run SECONDS ARGS...: one headless run, ended after SECONDS.
chromium_run() {
  local seconds=$1 profile
  shift
  profile=$(mktemp -d "$work/profile.XXXXXX")
  timeout "$seconds" "$browser" --headless --no-sandbox --disable-gpu --disable-quic \
    --no-first-run --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" "$@"
}
