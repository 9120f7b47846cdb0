#!/usr/bin/env bash
# The Windows deliverable: cross-builds StatsKEVO.dll and kevo-replay.exe with MinGW, checks the
# DLL's import and export tables and its decorated names, then runs the Windows programs under
# Wine and compares kevo-replay.exe with the Linux kevo-replay byte for byte.
#
# Prints "skipped: <why>" and exits 0 for what it cannot run here (no MinGW, no Wine, Wine
# unable to start); exits 1 when anything it ran failed. Ends with "N passed, N failed".
#
# Environment:
#   KEVO_WIN_BUILD   cross build folder (default build-win)
#   KEVO_HOST_BUILD  Linux build holding kevo-replay (default build; built when missing)
#   KEVO_WINE_QEMU   0 keeps the script from running 32-bit Wine through qemu-i386-static
#                    on a kernel that runs no 32-bit programs itself (see wine_can_start)
#   KEVO_JOBS        parallel build jobs (default 2)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win_build=${KEVO_WIN_BUILD:-$root/build-win}
host_build=${KEVO_HOST_BUILD:-$root/build}
jobs=${KEVO_JOBS:-2}
passed=0
failed=0
work=$(mktemp -d)

cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

# Runs one named check; its output is shown only when it fails.
# Under an emulated CPU (wine_emulated=1) a Wine program that runs out of time (status 124)
# says more about the emulation than about the plug-in: it is reported as skipped, with the
# reason, and the Wine checks after it are skipped too.
wine_emulated=0
wine_gave_up=
# All Wine checks together get KEVO_WINE_BUDGET seconds (default 35 minutes) from the start of
# the prefix, so that an emulated CPU cannot push the whole test command past CI's limit; the
# checks that no longer fit are reported as skipped, with the reason.
wine_budget=${KEVO_WINE_BUDGET:-2100}
wine_started=
check() {
  local name=$1; shift
  local log="$work/check.log" status
  if [ -z "$wine_gave_up" ] && [ -n "$wine_started" ] && [ "${1:-}" = wine_run ] \
     && [ $((SECONDS - wine_started)) -ge "$wine_budget" ]; then
    wine_gave_up="the Wine checks used up their ${wine_budget}s budget (KEVO_WINE_BUDGET)"
  fi
  if [ -n "$wine_gave_up" ] && [ "${1:-}" = wine_run ]; then
    echo "skipped: $name: $wine_gave_up"
    return
  fi
  "$@" > "$log" 2>&1
  status=$?
  if [ "$status" -eq 0 ]; then
    echo "ok: $name"
    passed=$((passed + 1))
  elif [ "$status" -eq 124 ] && [ "$wine_emulated" = 1 ]; then
    wine_gave_up="an earlier Wine program ran out of time on the emulated CPU"
    echo "skipped: $name: no result within ${wine_timeout}s under Wine on an emulated CPU"
    tail -n 20 "$log" | sed 's/^/    /'
  else
    echo "FAIL: $name"
    sed 's/^/    /' "$log" | tail -n 60
    failed=$((failed + 1))
  fi
}

if ! command -v i686-w64-mingw32-g++ >/dev/null; then
  echo "skipped: Windows tests: i686-w64-mingw32-g++ is not installed (g++-mingw-w64-i686)"
  finish
fi

echo "-- cross build in $win_build"
if cmake -S "$root" -B "$win_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
     -DCMAKE_BUILD_TYPE=Release > "$work/configure.log" 2>&1 \
   && cmake --build "$win_build" -j"$jobs" > "$work/build.log" 2>&1; then
  echo "ok: StatsKEVO.dll and kevo-replay.exe built"
  passed=$((passed + 1))
else
  echo "FAIL: cross build"
  tail -n 40 "$work/configure.log" "$work/build.log"
  failed=$((failed + 1))
  finish
fi
dll="$win_build/StatsKEVO.dll"

check "import and export tables of StatsKEVO.dll" \
  bash "$root/tests/windows/check-dll-tables.sh" "$dll" "$root/plugin/StatsKEVO.def"
if command -v clang++-14 >/dev/null || command -v clang++ >/dev/null; then
  check "decorated names against MSVC's scheme" \
    bash "$root/tests/windows/check-decorations.sh" "$root"
else
  echo "skipped: decorated names: clang++ is not installed (clang-14, llvm-14)"
fi

# ---- Wine ----------------------------------------------------------------------------------

# True when Wine runs here. A 64-bit kernel booted without 32-bit support (ia32_emulation off)
# cannot start the 32-bit Wine loader; qemu-i386-static registered for 32-bit programs through
# binfmt_misc then runs it, slowly. That registration changes the machine, so it is only done
# as root and can be turned off with KEVO_WINE_QEMU=0.
wine_problem=
wine_can_start() {
  command -v wine >/dev/null || { wine_problem="wine is not installed (wine, wine32:i386)"; return 1; }
  if wine --version > "$work/wine-version.log" 2>&1; then
    # Registered earlier (by a previous run, say): 32-bit programs still run emulated.
    if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
      echo "note: 32-bit programs, Wine among them, run through qemu-i386 on this machine"
      wine_emulated=1
    fi
    return 0
  fi
  if ! grep -qi 'exec format error' "$work/wine-version.log"; then
    wine_problem="wine does not start: $(head -c 200 "$work/wine-version.log")"
    return 1
  fi
  local qemu reason="this kernel runs no 32-bit programs (ia32 emulation off)"
  qemu=$(command -v qemu-i386-static || true)
  if [ "${KEVO_WINE_QEMU:-1}" = 0 ] || [ -z "$qemu" ] || [ "$(id -u)" -ne 0 ]; then
    wine_problem="$reason; running Wine through qemu-i386-static needs it installed"
    wine_problem+=" (qemu-user-static), root, and KEVO_WINE_QEMU not 0"
    return 1
  fi
  local misc=/proc/sys/fs/binfmt_misc
  [ -e "$misc/register" ] || mount -t binfmt_misc binfmt_misc "$misc" 2>/dev/null
  if [ ! -e "$misc/qemu-i386" ]; then
    # Flag F: the interpreter is opened now, so it also serves other mount namespaces.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
      > "$misc/register" 2>/dev/null
  fi
  if wine --version > "$work/wine-version.log" 2>&1; then
    echo "note: $reason; Wine runs through $qemu"
    wine_emulated=1
    return 0
  fi
  wine_problem="$reason, and registering $qemu for 32-bit programs did not help"
  return 1
}

if ! wine_can_start; then
  echo "skipped: Wine tests: $wine_problem"
  finish
fi

export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts, and no display: nothing here may wait for a person.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# Seconds for one Wine program (and for creating the prefix).
wine_timeout=${KEVO_WINE_TIMEOUT:-900}

echo "-- creating a throw-away Wine prefix (slow on an emulated CPU)"
wine_started=$SECONDS
# One persistent wineserver for all the programs below (cleanup stops it): a new server for
# each program would start the prefix's services again every time, which takes minutes when
# emulated.
mkdir -p "$WINEPREFIX"
wineserver -p > /dev/null 2>&1 || true
# wineboot may end with an error status under emulation and still leave a usable prefix.
if ! timeout "$wine_timeout" wineboot --init > "$work/wineboot.log" 2>&1; then
  if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
    echo "skipped: Wine tests: Wine could not create a prefix within ${wine_timeout}s"
    tail -n 20 "$work/wineboot.log"
    finish
  fi
fi

# Each program gets wine_timeout seconds, but never more than is left of the budget.
run_wine() {
  local left=$((wine_budget - (SECONDS - wine_started)))
  [ "$left" -lt 60 ] && left=60
  [ "$left" -gt "$wine_timeout" ] && left=$wine_timeout
  timeout "$left" wine "$@"
}
# Marks a check as one that runs Wine (see check); the status 124 of a time-out passes through.
wine_run() { "$@"; }

check "StatsKEVO.dll loads, 22 names resolve, both names give the same answers" \
  wine_run run_wine "$win_build/kevo_dll_names_test.exe" "$dll"
check "RADL.lst held open by another process: Plugins\\RADL.lst or nothing is read" \
  wine_run run_wine "$win_build/kevo_radl_lock_test.exe" "$dll"

# ---- kevo-replay.exe under Wine against kevo-replay on Linux -------------------------------

linux_replay="$host_build/kevo-replay"
if [ ! -x "$linux_replay" ]; then
  echo "-- Linux build of kevo-replay in $host_build"
  if ! { cmake -S "$root" -B "$host_build" > "$work/host-configure.log" 2>&1 \
         && cmake --build "$host_build" -j"$jobs" --target kevo-replay StatsKEVO \
              > "$work/host-build.log" 2>&1; }; then
    echo "FAIL: Linux build of kevo-replay"
    tail -n 40 "$work/host-configure.log" "$work/host-build.log"
    failed=$((failed + 1))
    finish
  fi
fi

# Runs one replay on both platforms in twin folders with the same relative arguments and
# compares the exit status, the standard output and the files left in the working directory.
# The Windows C runtime writes standard output in text mode (LF as CR LF); dropping one CR
# before each LF undoes exactly that. Lines that hold a path or a time are left out.
compare_replay() {
  local name=$1; shift
  local dir="$work/replay/$name"
  mkdir -p "$dir/linux" "$dir/windows"
  for side in linux windows; do
    cp "$root/samples/"* "$root/tests/replay/data/"*.script "$dir/$side/"
  done
  (cd "$dir/linux" && "$linux_replay" "$@" --workdir wd > ../linux.out 2> ../linux.err)
  echo $? > "$dir/linux.status"
  (cd "$dir/windows" && run_wine "$win_build/kevo-replay.exe" "$@" --workdir wd > ../windows.raw 2> ../windows.err)
  echo $? > "$dir/windows.status"
  [ "$(cat "$dir/windows.status")" = 124 ] && { echo "kevo-replay.exe timed out"; return 124; }
  sed 's/\r$//' "$dir/windows.raw" > "$dir/windows.out"
  local ok=0
  for side in linux windows; do
    grep -v -E '^  (time taken|ExtLog\.txt):' "$dir/$side.out" > "$dir/$side.cmp"
  done
  if ! cmp -s "$dir/linux.status" "$dir/windows.status"; then
    echo "exit status: linux $(cat "$dir/linux.status"), windows $(cat "$dir/windows.status")"
    cat "$dir/windows.err"
    ok=1
  fi
  if ! cmp -s "$dir/linux.cmp" "$dir/windows.cmp"; then
    echo "standard output differs (- linux, + windows):"
    diff -u "$dir/linux.cmp" "$dir/windows.cmp" | head -n 40
    ok=1
  fi
  # Every file the plug-in or the script wrote, ExtLog.txt above all, byte for byte.
  if ! diff -r "$dir/linux/wd" "$dir/windows/wd" > "$dir/files.diff" 2>&1; then
    echo "files in the working directory differ:"
    head -n 40 "$dir/files.diff"
    ok=1
  fi
  [ -s "$dir/linux.cmp" ] || { echo "no output to compare"; ok=1; }
  return "$ok"
}

check "replay of the sample ADIF log: Windows = Linux" \
  wine_run compare_replay sample-adif --own-number 12 --own-region W --exchange-list RADL.lst \
    --extlog ABC contest.adi
check "replay of the sample Cabrillo log by decorated names: Windows = Linux" \
  wine_run compare_replay sample-cabrillo --decorated --own-number 12 --exchange-list RADL.lst \
    --extlog XYZ contest.cbr
# The decorated names of every entry are compared with the plain ones by the names test above;
# here each scripted session runs once, by plain names.
for script in "$root"/tests/replay/data/*.script; do
  base=$(basename "$script" .script)
  check "scripted session $base: Windows = Linux" \
    wine_run compare_replay "script-$base" --script "$base.script"
done

finish
