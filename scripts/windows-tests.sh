#!/usr/bin/env bash
# The Windows deliverable, cross-built with MinGW and run under Wine:
#  - build-win: the 32-bit StatsKEVO.dll and kevo-replay.exe that operators install. CTest
#    checks the DLL's import and export tables and its decorated names against MSVC's scheme.
#  - build-win64: the same sources for 64-bit Windows. CTest runs the platform checks under
#    wine64, natively even where 32-bit programs run on an emulated CPU: all 22 names resolve
#    and agree, and a RADL.lst held open by another process is skipped.
#  - kevo-replay.exe under Wine against the Linux kevo-replay, byte for byte: with the 64-bit
#    build every scripted session and both sample logs, with the 32-bit build the bundled sample
#    and the rounding-edge session. Without the 64-bit tools (g++-mingw-w64-x86-64, wine64) the
#    32-bit build runs all of it.
#  - kevo-live.exe under Wine: its end-to-end test (the 64-bit build where it runs, else the
#    32-bit one), and the 32-bit exe started from a folder laid out as the zip's, which must
#    find the StatsKEVO.dll beside it by itself (the 64-bit one where 32-bit Wine is emulated). It needs expat built for MinGW
#    (scripts/mingw-expat.sh, run by scripts/install-deps.sh all); without that kevo-live.exe
#    is skipped like a missing tool.
# scripts/wine-setup.sh (run by scripts/install-deps.sh all) makes the Wine prefix and, on a
# kernel without 32-bit support, lets qemu-i386-static run 32-bit Wine; this script runs it
# again, which is quick once that is done.
#
# Prints "skipped: <why>" and exits 0 when MinGW or Wine is not installed (fails in CI; see
# scripts/stage-tools.sh); exits 1 when anything it ran failed, a Wine program that hangs
# included. Each step shows its time. Ends with "N passed, N failed".
#
# Environment:
#   KEVO_WIN_BUILD, KEVO_WIN64_BUILD  cross build folders (default build-win, build-win64)
#   KEVO_HOST_BUILD  Linux build holding kevo-replay (default build; built when missing)
#   KEVO_WINE_HOME   holds the Wine prefix (default build-wine; see scripts/wine-setup.sh)
#   KEVO_DEPS_HOME   holds expat built for MinGW (default build-deps; scripts/mingw-expat.sh)
#   KEVO_JOBS        parallel build jobs (default 2)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win_build=${KEVO_WIN_BUILD:-$root/build-win}
win64_build=${KEVO_WIN64_BUILD:-$root/build-win64}
host_build=${KEVO_HOST_BUILD:-$root/build}
wine_home=${KEVO_WINE_HOME:-$root/build-wine}
expat_home=${KEVO_DEPS_HOME:-$root/build-deps}/mingw-expat
jobs=${KEVO_JOBS:-2}
# A Wine program that runs longer than this has hung; that is a failure.
wine_timeout=600
passed=0
failed=0
work=$(mktemp -d)
server_started=
. "$root/scripts/stage-tools.sh"

cleanup() {
  [ -n "$server_started" ] && wineserver -k >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

finish() {
  echo "$passed passed, $failed failed (Windows stage ${SECONDS}s)"
  [ "$failed" -eq 0 ]
  exit
}

# Runs one named step; its output is shown only when it fails.
check() {
  local name=$1 start=$SECONDS; shift
  if "$@" > "$work/check.log" 2>&1; then
    echo "ok: $name ($((SECONDS - start))s)"
    passed=$((passed + 1))
  else
    echo "FAIL: $name ($((SECONDS - start))s)"
    sed 's/^/    /' "$work/check.log" | tail -n 60
    failed=$((failed + 1))
    return 1
  fi
}

# cross_build DIR TOOLCHAIN TRIPLET
cross_build() {
  cmake -S "$root" -B "$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2" -DCMAKE_BUILD_TYPE=Release \
    -DKEVO_MINGW_EXPAT="$expat_home/$3" && cmake --build "$1" -j"$jobs"
}

# kevo-live.exe is built where scripts/mingw-expat.sh left expat for the target.
has_expat() { [ -f "$expat_home/$1/lib/libexpat.a" ]; }

# imports_system_only EXE: the program runs on a bare Windows, with nothing installed beside it.
imports_system_only() {
  local dlls
  dlls=$(i686-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p')
  echo "imports: $(tr '\n' ' ' <<<"$dlls")"
  [ -n "$dlls" ] && ! grep -qviE '^(kernel32|msvcrt|ws2_32|mswsock|user32|advapi32)\.dll$' <<<"$dlls"
}

# run_ctest LABEL DIR [ctest options]: the tests CMake registered, counted one by one.
run_ctest() {
  local label=$1 dir=$2 start=$SECONDS; shift 2
  (cd "$dir" && ctest --output-on-failure --timeout "$wine_timeout" "$@") > "$work/ctest.log" 2>&1
  local status=$?
  grep -E '^ *[0-9]+/[0-9]+ Test' "$work/ctest.log" | sed 's/^ */    /'
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$work/ctest.log" | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  if [ "$status" -ne 0 ]; then
    echo "FAIL: ctest in $dir ($label, $((SECONDS - start))s)"
    sed 's/^/    /' "$work/ctest.log" | tail -n 60
    [ -n "$line" ] || failed=$((failed + 1))
  else
    echo "ok: $label ($((SECONDS - start))s)"
  fi
}

# ---- cross builds and the checks of the DLL file --------------------------------------------

if ! command -v i686-w64-mingw32-g++ >/dev/null; then
  tool_missing "Windows tests: i686-w64-mingw32-g++ is not installed" g++-mingw-w64-i686 ||
    failed=$((failed + 1))
  finish
fi
have_live=1
if ! has_expat i686-w64-mingw32; then
  have_live=0
  tool_missing "kevo-live.exe: no expat built for MinGW in $expat_home (scripts/mingw-expat.sh)" \
    mingw-expat || failed=$((failed + 1))
fi
check "32-bit StatsKEVO.dll, kevo-replay.exe and kevo-live.exe built in $win_build" \
  cross_build "$win_build" mingw-i686.cmake i686-w64-mingw32 || finish
run_ctest "tables and decorations of the 32-bit StatsKEVO.dll" "$win_build" -LE wine
if [ "$have_live" = 1 ]; then
  check "kevo-live.exe imports system DLLs only" imports_system_only "$win_build/kevo-live.exe" ||
    have_live=0
fi

# ---- Wine ------------------------------------------------------------------------------------

if ! command -v wine >/dev/null; then
  tool_missing "Wine tests: wine is not installed" wine ||
    failed=$((failed + 1))
  finish
fi
start=$SECONDS
if "$root/scripts/wine-setup.sh" > "$work/setup.log" 2>&1; then
  echo "ok: Wine set-up ($((SECONDS - start))s)"
  passed=$((passed + 1))
else
  echo "FAIL: Wine set-up ($((SECONDS - start))s)"
  failed=$((failed + 1))
fi
sed 's/^/    /' "$work/setup.log"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# One wineserver for all the programs (cleanup stops it): a new server for each program would
# start the prefix's services again.
export WINEPREFIX=$wine_home/prefix
if [ ! -f "$WINEPREFIX/.kevo-ready" ]; then
  echo "FAIL: no Wine prefix in $WINEPREFIX (see the Wine set-up above)"
  failed=$((failed + 1))
  finish
fi
wineserver -p >/dev/null 2>&1 || true
server_started=1
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
if grep -qs '^win64 ' "$WINEPREFIX/.kevo-ready"; then prefix_loader=$wine64; else prefix_loader=wine; fi
# The first program starts the prefix's services, which live as long as the server and keep
# its standard output open: under ctest, which reads a test's output to its end, every test
# would then wait for its time-out. Start them here, attached to nothing.
check "Wine services started" timeout "$wine_timeout" "$prefix_loader" cmd /c exit \
  < /dev/null || finish

have64=0
if command -v x86_64-w64-mingw32-g++ >/dev/null && grep -qs '^win64 ' "$WINEPREFIX/.kevo-ready"; then
  have64=1
  check "64-bit StatsKEVO.dll, kevo-replay.exe and tests built in $win64_build" \
    cross_build "$win64_build" mingw-x86_64.cmake x86_64-w64-mingw32 || have64=0
else
  echo "note: no 64-bit MinGW or wine64: the 32-bit build runs every Wine check"
fi
if [ "$have64" = 1 ]; then
  run_ctest "platform checks of the 64-bit StatsKEVO.dll under wine64" "$win64_build" -L wine
else
  run_ctest "platform checks of the 32-bit StatsKEVO.dll under Wine" "$win_build" -L wine
fi

# ---- kevo-replay.exe under Wine against kevo-replay on Linux -------------------------------

linux_replay="$host_build/kevo-replay"
if [ ! -x "$linux_replay" ]; then
  check "Linux kevo-replay built in $host_build" \
    eval 'cmake -S "$root" -B "$host_build" && cmake --build "$host_build" -j"$jobs" --target kevo-replay StatsKEVO' \
    || finish
fi

# compare_replay NAME LOADER EXE ARGS...: runs one replay on both platforms in twin folders with
# the same relative arguments and compares the exit status, the standard output and the files
# left in the working directory. The Windows C runtime writes standard output in text mode (LF
# as CR LF); dropping one CR before each LF undoes exactly that. Lines that hold a path or a
# time are left out.
compare_replay() {
  local name=$1 loader=$2 exe=$3; shift 3
  local dir="$work/replay/$name"
  mkdir -p "$dir/linux" "$dir/windows"
  for side in linux windows; do
    cp "$root/samples/"* "$root/tests/replay/data/"*.script "$dir/$side/"
  done
  (cd "$dir/linux" && "$linux_replay" "$@" --workdir wd > ../linux.out 2> ../linux.err)
  echo $? > "$dir/linux.status"
  (cd "$dir/windows" && timeout "$wine_timeout" "$loader" "$exe" "$@" --workdir wd \
     > ../windows.raw 2> ../windows.err)
  echo $? > "$dir/windows.status"
  [ "$(cat "$dir/windows.status")" = 124 ] && { echo "kevo-replay.exe hung"; return 1; }
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

# replay_all LABEL LOADER EXE: both sample logs and every scripted session.
replay_all() {
  local label=$1; shift
  check "$label: replay of the sample ADIF log: Windows = Linux" \
    compare_replay "$label-sample-adif" "$@" --own-number 12 --own-region W \
      --exchange-list RADL.lst --extlog ABC contest.adi
  check "$label: replay of the sample Cabrillo log by decorated names: Windows = Linux" \
    compare_replay "$label-sample-cabrillo" "$@" --decorated --own-number 12 \
      --exchange-list RADL.lst --extlog XYZ contest.cbr
  # The decorated names of every entry are compared with the plain ones by the names test;
  # here each scripted session runs once, by plain names.
  for script in "$root"/tests/replay/data/*.script; do
    base=$(basename "$script" .script)
    check "$label: scripted session $base: Windows = Linux" \
      compare_replay "$label-script-$base" "$@" --script "$base.script"
  done
}

if [ "$have64" = 1 ]; then
  replay_all 64-bit "$wine64" "$win64_build/kevo-replay.exe"
  # The DLL that hosts load, end to end, on the emulated CPU where there is one: the sample, and
  # the session whose double-precision arithmetic an x87 build would get wrong.
  check "32-bit: replay of the sample ADIF log: Windows = Linux" \
    compare_replay 32-bit-sample-adif wine "$win_build/kevo-replay.exe" --own-number 12 \
      --own-region W --exchange-list RADL.lst --extlog ABC contest.adi
  check "32-bit: scripted session rounding_edges: Windows = Linux" \
    compare_replay 32-bit-script-rounding_edges wine "$win_build/kevo-replay.exe" \
      --script rounding_edges.script
else
  replay_all 32-bit wine "$win_build/kevo-replay.exe"
fi

# ---- kevo-live.exe under Wine ----------------------------------------------------------------

# Wine hands a Windows program a Linux SIGINT as Ctrl+C, and nothing for SIGTERM.
if [ "$have_live" = 1 ]; then
  if [ "$have64" = 1 ] && [ -f "$win64_build/kevo-live.exe" ]; then
    live_label=64-bit live_loader=$wine64 live_exe=$win64_build/kevo-live.exe
  else
    live_label=32-bit live_loader=wine live_exe=$win_build/kevo-live.exe
  fi
  check "$live_label: kevo-live.exe end to end (crash, restart, scoreboard) = kevo-replay" \
    timeout "$wine_timeout" python3 "$root/tests/live/live_e2e.py" "$live_exe" "$linux_replay" \
    "$work/live-e2e" --loader "$live_loader" --stop-signal INT
  # The zip's two binaries alone in a folder, started from another one with no --library.
  # Where 32-bit Wine runs on qemu-i386, kevo-live.exe's sockets and signals are not dependable
  # (it stopped answering HTTP and died in the emulator on SIGINT, while kevo-replay.exe runs);
  # there the 64-bit pair, built from the same sources, stands in.
  zip_bits=32-bit zip_loader=wine zip_build=$win_build
  if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386 && [ "$live_label" = 64-bit ]; then
    echo "note: 32-bit programs run on an emulated CPU: the 64-bit kevo-live.exe stands in"
    zip_bits=64-bit zip_loader=$wine64 zip_build=$win64_build
  fi
  mkdir -p "$work/zip-folder"
  cp "$zip_build/StatsKEVO.dll" "$zip_build/kevo-live.exe" "$work/zip-folder/"
  check "$zip_bits: kevo-live.exe finds the StatsKEVO.dll beside it, scores, stops on Ctrl+C" \
    timeout "$wine_timeout" python3 "$root/tests/live/live_smoke.py" \
    "$work/zip-folder/kevo-live.exe" "$work/live-smoke" --loader "$zip_loader" --stop-signal INT
fi

finish
