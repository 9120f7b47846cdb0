#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Usage: scripts/install-deps.sh [core|all]   (core: Linux build and tests; all: also the
# Windows cross builds, Wine with its one-time set-up, expat built for MinGW, the fuzzing
# toolchain, the release tools and the report's browser). Needs root or sudo when it installs. apt-get's output goes
# to a log that is shown only on failure.
# When some of the "all" set cannot be installed, a developer's machine makes do with the core
# set (the stages that miss their tools say "skipped:"); in CI (CI=true) that is a failure that
# names the packages missing, since there every stage must run.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
want=${1:-all}
# libboost-dev (Asio and Beast) and libexpat1-dev: kevo-live's sockets, HTTP and XML.
core=(cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev libboost-dev libexpat1-dev)
# wine64 runs the 64-bit Windows tests natively; qemu-user-static runs 32-bit Wine on kernels
# booted without 32-bit support; python3-pefile, dpkg-dev, unzip and lintian make and check the
# release packages; python3 checks the --report page and chromium renders it; clang-format
# checks the sources' layout.
extra=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 qemu-user-static
       clang-14 llvm-14 libclang-rt-14-dev valgrind python3-pefile dpkg-dev unzip lintian python3
       chromium clang-format)

packages=("${core[@]}")
[ "$want" = all ] && packages+=("${extra[@]}")

# The packages of "$@" that are not installed.
not_installed() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
mapfile -t missing < <(not_installed "${packages[@]}")
. "$here/stage-tools.sh"  # in_ci

as_root=()
if [ ${#missing[@]} -gt 0 ] && [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi

# Runs apt-get with its output in a log; on failure shows the end of that output.
log=$(mktemp "${TMPDIR:-/tmp}/install-deps.XXXXXX")
trap 'rm -f "$log"' EXIT
apt_quietly() {
  if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q "$@" > "$log" 2>&1; then
    return 0
  fi
  echo "install-deps: apt-get $1 failed; the end of its output:" >&2
  tail -n 40 "$log" >&2
  return 1
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]} with apt-get (a minute or more; quiet unless it fails)"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
    "${as_root[@]}" dpkg --add-architecture i386
  fi
  # A mirror in the middle of a sync can serve one index of the wrong size, and apt-get update
  # then fails although every other index is fresh. Say so and try the install anyway: only
  # packages that do not install are a failure.
  updated=0
  for wait in 20 40 0; do
    apt_quietly update && { updated=1; break; }
    [ "$wait" -gt 0 ] && { echo "install-deps: trying apt-get update again in $wait s" >&2; sleep "$wait"; }
  done
  [ "$updated" = 1 ] || echo "install-deps: apt-get update failed (see above); installing anyway" >&2
  if ! apt_quietly install -y --no-install-recommends "${missing[@]}"; then
    if in_ci; then
      # apt-get installs all or nothing: try each package alone to name the ones that fail.
      for p in "${missing[@]}"; do
        apt_quietly install -y --no-install-recommends "$p" >/dev/null 2>&1 || true
      done
      still=$(not_installed "${missing[@]}" | tr '\n' ' ')
      if [ -n "$still" ]; then
        echo "install-deps: CI needs every package; not installed: ${still% }" >&2
        exit 1
      fi
    else
      # The Linux build needs only the core packages; the rest widens what the tests cover.
      echo "install-deps: not every package could be installed; retrying the core set alone" >&2
      apt_quietly install -y --no-install-recommends "${core[@]}"
      echo "install-deps: not installed: $(not_installed "${missing[@]}" | tr '\n' ' ')" >&2
    fi
  fi
fi

# Wine prefixes and, where needed, qemu for 32-bit programs; the Windows tests report what
# is still missing, so a failure here does not stop the Linux build.
if [ "$want" = all ]; then
  "$here/wine-setup.sh" || echo "install-deps: the Wine set-up failed (see above)" >&2
  # Debian has no expat for MinGW; kevo-live.exe needs one (quick when it is up to date).
  "$here/mingw-expat.sh" || echo "install-deps: expat for MinGW could not be built (see above)" >&2
fi
