#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Usage: scripts/install-deps.sh [core|all]   (core: Linux build and tests; all: also the
# Windows cross build, Wine, the fuzzing toolchain and the report's browser). Needs root or
# sudo when it installs.
set -euo pipefail

want=${1:-all}
core=(cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev)
# qemu-user-static runs 32-bit Wine on kernels booted without 32-bit support; python3-pefile,
# dpkg-dev and unzip make and check the release packages; python3 checks the --report page and
# chromium renders it; clang-format checks the sources' layout.
extra=(g++-mingw-w64-i686 wine wine32:i386 qemu-user-static clang-14 llvm-14 libclang-rt-14-dev
       valgrind python3-pefile dpkg-dev unzip python3 chromium clang-format)

packages=("${core[@]}")
[ "$want" = all ] && packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
echo "install-deps: installing ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
if ! "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  # The Linux build needs only the core packages; the rest widens what the tests cover.
  echo "install-deps: not every package could be installed; retrying the core set alone" >&2
  "${as_root[@]}" apt-get install -y -q --no-install-recommends "${core[@]}"
fi
