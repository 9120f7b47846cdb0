#!/usr/bin/env bash
# Checks the release packages: scripts/release.sh --verify (two builds, byte-identical), then
# the packages of that run: the version resources and the export table of the Windows binaries,
# the contents of the zip, the tarball and the .deb, and the .deb unpacked into a scratch root,
# whose kevo-replay must find its installed plug-in and score the bundled sample as the build
# tree's kevo-replay does; lintian finds no error in the .deb. Runs no Windows program.
# Prints "skipped: <why>" and exits 0 when a tool is missing (fails in CI; see
# scripts/stage-tools.sh); ends with "N passed, M failed".
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. "$root/scripts/stage-tools.sh"

# Each tool with the package that has it.
for tool_package in i686-w64-mingw32-g++:g++-mingw-w64-i686 dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev \
  dpkg-parsechangelog:dpkg-dev unzip:unzip python3:python3 lintian:lintian; do
  tool=${tool_package%%:*}
  command -v "$tool" >/dev/null || skip_stage "$tool is not installed" "${tool_package#*:}"
done
# kevo-live.exe in the zip links expat built for MinGW.
expat=${KEVO_DEPS_HOME:-$root/build-deps}/mingw-expat/i686-w64-mingw32
[ -f "$expat/lib/libexpat.a" ] ||
  skip_stage "no expat built for MinGW in $expat (scripts/mingw-expat.sh)" mingw-expat
# Debian's python3-pefile, whatever other Python comes first on the PATH.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
"$python" -c 'import pefile' 2>/dev/null || skip_stage "pefile is not installed" python3-pefile

passed=0
failed=0
check() {
  local name=$1; shift
  if "$@"; then
    echo "ok      $name"; passed=$((passed + 1))
  else
    echo "FAILED  $name"; failed=$((failed + 1))
  fi
}

dist="$root/build-release/dist"
# The tests package the tree as it is, uncommitted changes included. --no-build checks the
# packages of the previous run again.
if [ "${1:-}" != --no-build ]; then
  start=$(date +%s)
  if ! KEVO_RELEASE_ALLOW_DIRTY=1 "$root/scripts/release.sh" --verify --out "$dist"; then
    echo "FAILED  release.sh --verify"
    echo "0 passed, 1 failed"
    exit 1
  fi
  echo "ok      release.sh --verify ($(($(date +%s) - start)) s)"
  passed=1
fi

build="$root/build-release/one"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/build-linux/CMakeCache.txt")
arch=$(dpkg --print-architecture)
zip_file="$dist/StatsKEVO-$version-win32.zip"
tar_file="$dist/StatsKEVO-$version-linux-$(uname -m).tar.gz"
deb_file="$dist/statskevo_${version}_$arch.deb"

# Version resources and exports, read back with pefile.
pe_check() {
  "$python" - "$version" "$@" <<'EOF'
import sys
import pefile

EXPORTS = {
    "GetSetName", "GetNumberOfSets", "GetExchgCount0", "IsValidExchg0", "SetupSet0",
    "RunCommand0", "ResetStats0", "AddData0", "RemoveData0", "CheckCall0", "GetResult0",
    "?GetSetName@@YAPBDH@Z", "?GetNumberOfSets@@YAHXZ", "?StatsGetExchgCount0@@YAHPBD00@Z",
    "?StatsIsValidExchg0@@YAHPBD000HHH@Z", "?SetupSet0@@YAXXZ", "?RunCommand0@@YAPBDHPBD@Z",
    "?ResetStats0@@YAHPBDH0PBVCOleDateTime@@10000000000HHHNN000@Z",
    "?AddData0@@YAHPBD0PBVCOleDateTime@@111II000000000000000HHHNN00000@Z",
    "?RemoveData0@@YAHPBD0PBVCOleDateTime@@111II000000000000000HHHNN00000@Z",
    "?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z", "?GetResult0@@YAPBDPAH@Z",
}
version, problems = sys.argv[1], []
for path in sys.argv[2:]:
    name = path.rsplit("/", 1)[-1]
    pe = pefile.PE(path)
    strings = {}
    for info in getattr(pe, "FileInfo", []):
        for block in info:
            for table in getattr(block, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    want = {"FileVersion": version, "ProductVersion": version, "ProductName": "StatsKEVO",
            "OriginalFilename": name,
            "LegalCopyright": "Copyright (c) 2026 The StatsKEVO authors. MIT License."}
    for key, value in want.items():
        if strings.get(key) != value:
            problems.append(f"{name}: {key} is {strings.get(key)!r}, not {value!r}")
    if not strings.get("FileDescription"):
        problems.append(f"{name}: no FileDescription")
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = [fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF, fixed.FileVersionLS >> 16]
    if ".".join(map(str, numbers)) != version:
        problems.append(f"{name}: fixed FILEVERSION {numbers}")
    if pe.FILE_HEADER.TimeDateStamp != 0:
        problems.append(f"{name}: link time stamp {pe.FILE_HEADER.TimeDateStamp}")
    if name.endswith(".dll"):
        names = {e.name.decode() for e in pe.DIRECTORY_ENTRY_EXPORT.symbols if e.name}
        if names != EXPORTS or len(pe.DIRECTORY_ENTRY_EXPORT.symbols) != 22:
            problems.append(f"{name}: exports differ: extra {sorted(names - EXPORTS)}, "
                            f"missing {sorted(EXPORTS - names)}")
for problem in problems:
    print("  " + problem)
sys.exit(1 if problems else 0)
EOF
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unzip -q "$zip_file" -d "$scratch/zip"
check "version resource and exports of the zip's DLL and exes" \
  pe_check "$scratch"/zip/*/StatsKEVO.dll "$scratch"/zip/*/kevo-replay.exe \
  "$scratch"/zip/*/kevo-live.exe

# Compares a contents list with the expected one and shows both when they differ.
same_list() {
  local label=$1 expected=$2 actual=$3
  [ "$expected" = "$actual" ] && return 0
  diff <(echo "$expected") <(echo "$actual") | sed "s/^/  $label: /"
  return 1
}

zip_contents() {
  local top="StatsKEVO-$version-win32"
  same_list zip "$(printf "$top/%s\n" CHANGELOG.txt LICENSE.txt RADL.lst README.txt \
    StatsKEVO.dll kevo-live.cmd kevo-live.exe kevo-replay.exe)" "$(unzip -Z1 "$zip_file")" ||
    return 1
  # Every text for Notepad has CR LF line ends and no bare LF.
  local text
  for text in README.txt RADL.lst LICENSE.txt CHANGELOG.txt kevo-live.cmd; do
    unzip -p "$zip_file" "$top/$text" | python3 -c 'import sys; d = sys.stdin.buffer.read();
sys.exit(0 if d.count(b"\n") == d.count(b"\r\n") > 0 else 1)' || { echo "  $text: not CR LF"; return 1; }
  done
  unzip -p "$zip_file" "$top/README.txt" | grep -q "^StatsKEVO $version "
}
check "zip contents, CR LF texts, version in README.txt" zip_contents

linux_files() {  # $1: prefix, $2: library folder below it, $3...: doc and man files
  local prefix=$1 lib=$2; shift 2
  printf "$prefix%s\n" bin/kevo-replay bin/kevo-live include/StatsKEVO.h \
    "$lib/statskevo/StatsKEVO.so" \
    share/doc/statskevo/CHANGELOG.md share/doc/statskevo/README.md "$@" | sort
}
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
check "tarball contents" same_list tar \
  "$(linux_files "StatsKEVO-$version-linux-$(uname -m)/" "lib/$multiarch" \
    share/doc/statskevo/LICENSE share/man/man1/kevo-replay.1 share/man/man1/kevo-live.1)" \
  "$(tar -tzf "$tar_file" | grep -v '/$' | sort)"
# Debian's layout: a copyright file instead of LICENSE, a Debian changelog, a gzipped man page.
check ".deb contents" same_list deb \
  "$(linux_files ./usr/ "lib/$multiarch" share/doc/statskevo/changelog.gz \
    share/doc/statskevo/copyright share/man/man1/kevo-replay.1.gz \
    share/man/man1/kevo-live.1.gz)" \
  "$(dpkg-deb -c "$deb_file" | awk '$1 !~ /^d/ {print $6}' | sort)"
# lintian prints every tag it finds (warnings and notes too); only errors fail the check.
lintian_clean() {
  lintian --fail-on error --display-info "$deb_file" 2>&1 |
    grep -v '^running with root privileges' | sed 's/^/  /'
  [ "${PIPESTATUS[0]}" -eq 0 ]
}
check "lintian finds no error in the .deb" lintian_clean
check "SHA256SUMS" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"

# The unpacked .deb: its kevo-replay finds the plug-in below ../lib and scores the sample as the
# build tree's kevo-replay (beside its own plug-in) does.
dpkg -x "$deb_file" "$scratch/root"
replay_sample() {
  "$1" --own-number 12 --own-region W --exchange-list "$root/samples/RADL.lst" \
    "$root/samples/contest.adi" | grep -v -e '^ *time'
}
installed_replay() {
  local installed expected
  [ "$("$scratch/root/usr/bin/kevo-replay" --version)" = "kevo-replay $version" ] ||
    { echo "  --version does not say $version"; return 1; }
  installed=$(replay_sample "$scratch/root/usr/bin/kevo-replay") || return 1
  expected=$(replay_sample "$build/build-linux/kevo-replay") || return 1
  grep -q 'Score: ' <<<"$installed" && same_list replay "$expected" "$installed"
}
check "installed kevo-replay scores the sample with the installed plug-in" installed_replay

# The unpacked .deb's kevo-live starts on loopback with the installed plug-in and a fresh journal.
installed_live() {
  local live="$scratch/root/usr/bin/kevo-live" started
  [ "$("$live" --version)" = "kevo-live $version" ] ||
    { echo "  kevo-live --version does not say $version"; return 1; }
  started=$(timeout 3 "$live" --udp 127.0.0.1:0 --http 127.0.0.1:0 \
    --journal "$scratch/live.journal" 2>&1)
  grep -q "library: .*/root/usr/lib/.*/statskevo/StatsKEVO.so" <<<"$started" ||
    { echo "  kevo-live did not load the installed plug-in:"; sed 's/^/    /' <<<"$started"; return 1; }
}
check "installed kevo-live starts with the installed plug-in" installed_live

# The installed files Debian's tools read: the changelog's latest entry is this version, the
# copyright file names the licence of LICENSE, and man finds the compressed page.
debian_docs() {
  local doc="$scratch/root/usr/share/doc/statskevo" latest
  latest=$(gzip -dc "$doc/changelog.gz" | dpkg-parsechangelog -l- -SVersion) || return 1
  [ "$latest" = "$version" ] || { echo "  changelog.gz: latest entry $latest, not $version"; return 1; }
  grep -qx 'License: Expat' "$doc/copyright" &&
    grep -q '^ THE SOFTWARE IS PROVIDED "AS IS"' "$doc/copyright" ||
    { echo "  copyright: no Expat licence text"; return 1; }
  gzip -dc "$scratch/root/usr/share/man/man1/kevo-replay.1.gz" | grep -q "^\.TH KEVO-REPLAY 1 .*$version" &&
    gzip -dc "$scratch/root/usr/share/man/man1/kevo-live.1.gz" | grep -q "^\.TH KEVO-LIVE 1 .*$version"
}
check "the .deb's changelog, copyright file and man page" debian_docs

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
