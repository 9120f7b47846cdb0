#!/usr/bin/env bash
# One-time Wine set-up for scripts/windows-tests.sh. scripts/install-deps.sh all runs it; the
# Windows tests run it again, which takes a moment once everything is in place.
#  - 32-bit programs: a 64-bit kernel booted without 32-bit support (ia32 emulation off) cannot
#    start the 32-bit Wine loader. qemu-i386-static, registered for 32-bit programs through
#    binfmt_misc, then runs them on an emulated CPU. That changes the machine, so it is only
#    done as root; KEVO_WINE_QEMU=0 leaves the machine alone, KEVO_WINE_QEMU=always registers
#    qemu even where the kernel runs 32-bit programs itself (to reproduce such a machine).
#  - The prefix: KEVO_WINE_HOME/prefix (default build-wine/prefix), a 64-bit one where wine64
#    is installed (it runs the 64-bit programs natively and the 32-bit ones too), else a 32-bit
#    one. It is made once, and again when Wine changes; its file .kevo-ready names the
#    architecture and Wine's version.
# Prints one line per step. Exits 0 when Wine is not installed (nothing to set up) and 1 when
# something that is installed cannot be made to work.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
home=${KEVO_WINE_HOME:-$root/build-wine}
misc=/proc/sys/fs/binfmt_misc

# No Mono or Gecko installer prompts, and no display: nothing here may wait for a person.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

command -v wine >/dev/null || { echo "wine-setup: wine is not installed; nothing to set up"; exit 0; }
mkdir -p "$home"

# Registers qemu-i386-static for 32-bit ELF programs. Flag F opens the interpreter now, so that
# it also serves other mount namespaces.
register_qemu() {
  local qemu
  qemu=$(command -v qemu-i386-static) || { echo "wine-setup: qemu-i386-static is not installed (qemu-user-static)"; return 1; }
  [ "$(id -u)" -eq 0 ] || { echo "wine-setup: registering qemu-i386-static for 32-bit programs needs root"; return 1; }
  [ -e "$misc/register" ] || mount -t binfmt_misc binfmt_misc "$misc" 2>/dev/null
  [ -e "$misc/qemu-i386" ] && return 0
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
    > "$misc/register" 2>/dev/null
  [ -e "$misc/qemu-i386" ] || { echo "wine-setup: the kernel refused the qemu-i386 registration"; return 1; }
  echo "wine-setup: 32-bit programs, Wine among them, now run through $qemu (slow)"
}

status=0
if grep -qs '^enabled' "$misc/qemu-i386"; then
  echo "wine-setup: 32-bit programs run through qemu-i386 on this machine"
elif [ "${KEVO_WINE_QEMU:-}" = always ]; then
  register_qemu || status=1
elif ! wine --version > "$home/wine-version.log" 2>&1; then
  if ! grep -qi 'exec format error' "$home/wine-version.log"; then
    echo "wine-setup: wine does not start: $(head -c 200 "$home/wine-version.log")"
    status=1
  elif [ "${KEVO_WINE_QEMU:-}" = 0 ]; then
    echo "wine-setup: this kernel runs no 32-bit programs, and KEVO_WINE_QEMU=0 keeps qemu out"
    status=1
  else
    echo "wine-setup: this kernel runs no 32-bit programs (ia32 emulation off)"
    register_qemu || status=1
  fi
fi

# A 64-bit prefix also holds the 32-bit system (syswow64): creating it runs 32-bit programs
# too, but one prefix costs less than two where they run emulated.
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
if [ -x "$wine64" ]; then arch=win64 loader=$wine64; else arch=win32 loader=wine; fi
prefix=$home/prefix
version="$arch $("$loader" --version 2>/dev/null)" || { echo "wine-setup: $loader does not start"; exit 1; }
[ "$(cat "$prefix/.kevo-ready" 2>/dev/null)" = "$version" ] && exit "$status"

echo "wine-setup: creating the $arch Wine prefix $prefix"
start=$SECONDS
rm -rf "$prefix"
mkdir -p "$prefix"
# wineboot may end with an error status on an emulated CPU and still leave a usable prefix;
# wineserver -w waits until the registry is on disk.
WINEPREFIX=$prefix WINEARCH=$arch timeout 1800 "$loader" wineboot --init > "$home/wineboot.log" 2>&1
WINEPREFIX=$prefix timeout 600 wineserver -w
if [ ! -d "$prefix/drive_c/windows/system32" ]; then
  echo "wine-setup: could not create $prefix; the end of wineboot's output:"
  tail -n 20 "$home/wineboot.log"
  exit 1
fi
echo "$version" > "$prefix/.kevo-ready"
echo "wine-setup: $prefix ready after $((SECONDS - start))s"
exit "$status"
