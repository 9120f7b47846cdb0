#!/usr/bin/env bash
# Runs test stages with one of their tools hidden from the PATH. In CI (CI=true) each must fail
# and name the package to install; elsewhere it must say "skipped:" and pass. Every stage stops
# at its check of that tool, so the whole test takes a few seconds.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One folder with a link to every program on the PATH, the first of each name as the shell
# would find it; each case takes its hidden tools out of it for its run.
programs=$work/bin
mkdir -p "$programs"
IFS=: read -ra path_dirs <<<"$PATH"
for dir in "${path_dirs[@]}"; do
  [ -d "$dir" ] && ln -s "$dir"/* "$programs"/ 2>/dev/null
done

# stage | hidden tools | package it must name in CI | tools checked before the hidden one,
# stood in for by `true` where this machine lacks them (they are only looked up) | settings
# that hide something else (an empty folder for the libraries built for MinGW)
cases=(
  "check-format|clang-format|clang-format|"
  "windows-tests|i686-w64-mingw32-g++|g++-mingw-w64-i686|"
  "fuzz-smoke|clang++-14|clang-14|"
  "release-tests|lintian|lintian|i686-w64-mingw32-g++ dpkg-deb dpkg-shlibdeps dpkg-parsechangelog unzip python3"
  "release-tests||mingw-expat|i686-w64-mingw32-g++ dpkg-deb dpkg-shlibdeps dpkg-parsechangelog unzip python3 lintian|KEVO_DEPS_HOME=$work/no-deps"
  "render-report|chromium chromium-browser|chromium|"
  "check-report-a11y|chromium chromium-browser|chromium|"
  "render-live|chromium chromium-browser|chromium|"
)

failures=0
fail() {
  echo "FAILED: $*"
  sed 's/^/    /' "$work/out"
  failures=$((failures + 1))
}

for entry in "${cases[@]}"; do
  IFS='|' read -r stage hidden package before settings <<<"$entry"
  stubbed=()
  for tool in $before; do
    [ -e "$programs/$tool" ] || { ln -s "$(command -v true)" "$programs/$tool"; stubbed+=("$tool"); }
  done
  mkdir -p "$work/hidden"
  for tool in $hidden; do
    [ -e "$programs/$tool" ] && mv "$programs/$tool" "$work/hidden/"
  done

  # The time limit keeps a stage that still finds its tool from running in full.
  for ci in true unset; do
    setting=($settings)
    [ "$ci" = true ] && setting+=(CI=true)
    timeout 60 env -u CI -u KEVO_CXX "${setting[@]}" PATH="$programs" "$root/scripts/$stage.sh" \
      >"$work/out" 2>&1
    status=$?
    if [ "$ci" = true ]; then
      [ "$status" -ne 0 ] || fail "$stage without ${hidden:-$package} passed in CI"
      grep -q "package $package " "$work/out" || fail "$stage in CI did not name $package"
      grep -q '^0 passed, 1 failed' "$work/out" || fail "$stage in CI counted no failure"
    else
      [ "$status" -eq 0 ] || fail "$stage without $hidden failed outside CI (status $status)"
      grep -q "^skipped: .*($package)" "$work/out" || fail "$stage outside CI did not skip"
    fi
  done

  mv "$work/hidden/"* "$programs/" 2>/dev/null
  for tool in "${stubbed[@]+"${stubbed[@]}"}"; do rm "$programs/$tool"; done
done

echo "${#cases[@]} stages checked, $failures problem(s)"
[ "$failures" -eq 0 ]
