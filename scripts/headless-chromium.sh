# Sourced by the stages that render a page in Chromium (render-report, render-live,
# check-report-a11y), after scripts/stage-tools.sh, with $work set to a scratch folder and a
# fail function that ends the stage.
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

# screenshot_without_console PNG URL ARGS...: renders URL into PNG (ARGS: window size and the
# like) and fails the stage when the page logged to the browser console (a refused request, a
# script error) or nothing was rendered.
screenshot_without_console() {
  local png=$1 url=$2 status
  shift 2
  chromium_run 120 --enable-logging=stderr --v=0 --hide-scrollbars --force-device-scale-factor=1 \
    "$@" --screenshot="$png" "$url" >"$work/chromium.log" 2>&1
  status=$?
  if grep -q ':CONSOLE' "$work/chromium.log"; then
    grep ':CONSOLE' "$work/chromium.log" >&2
    fail "the page logged to the browser console"
  fi
  if [ "$status" -ne 0 ] || [ ! -s "$png" ]; then
    tail -n 5 "$work/chromium.log" >&2
    fail "chromium did not render the page (status $status)"
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
