#!/usr/bin/env bash
# Checks the decorated names of the export table against MSVC's own scheme: clang compiles the
# twins of the public header for the MSVC target, and every decorated name it produces must be
# in the .def file as an alias of the right plain entry, and nothing else.
# Usage: check-decorations.sh <source root> <.def file>
set -euo pipefail

root=${1:?source root}
def=${2:?the .def file}

pick() { for tool in "$@"; do command -v "$tool" && return 0; done; return 1; }
clangxx=$(pick clang++-14 clang++) || { echo "skipped: clang++ not found"; exit 77; }
nm=$(pick llvm-nm-14 llvm-nm) || { echo "skipped: llvm-nm not found"; exit 77; }
undname=$(pick llvm-undname-14 llvm-undname) || undname=

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$clangxx" -target i686-pc-windows-msvc -ffreestanding -std=c++20 -Wall -Wextra -Werror \
  -I"$root/include" -c "$root/tests/windows/msvc_twins.cpp" -o "$work/twins.obj"
"$nm" -u "$work/twins.obj" | awk '{print $NF}' | grep '^?' | sort > "$work/msvc-names"

# The function name inside a decorated name, and the plain entry it stands for.
plain_of() {
  case "$1" in
    CheckCallFunc0) echo CheckCall0 ;;
    StatsGetExchgCount0) echo GetExchgCount0 ;;
    StatsIsValidExchg0) echo IsValidExchg0 ;;
    *) echo "$1" ;;
  esac
}

status=0
count=$(wc -l < "$work/msvc-names")
if [ "$count" -ne 11 ]; then
  echo "FAIL: clang produced $count decorated names, expected 11"; status=1
fi

: > "$work/expected"
while read -r name; do
  func=${name#\?}; func=${func%%@@*}
  echo "$name=$(plain_of "$func")" >> "$work/expected"
  if [ -n "$undname" ]; then
    # The decoded form must name the function with cdecl; it is printed for the record.
    decoded=$("$undname" "$name" | sed -n 2p)
    case "$decoded" in
      *" __cdecl $func("*) echo "ok: $name -> $decoded" ;;
      *) echo "FAIL: $name decodes to '$decoded'"; status=1 ;;
    esac
  fi
done < "$work/msvc-names"
sort -o "$work/expected" "$work/expected"

# Export lines of the .def file: everything after EXPORTS, comments and blanks dropped.
sed -n '/^EXPORTS/,$p' "$def" | sed '1d; s/;.*//; s/^[[:space:]]*//; s/[[:space:]]*$//' \
  | grep -v '^$' > "$work/def-lines"
grep '=' "$work/def-lines" | sort > "$work/def-aliases" || true
grep -v '=' "$work/def-lines" | sort > "$work/def-plain" || true
printf '%s\n' AddData0 CheckCall0 GetExchgCount0 GetNumberOfSets GetResult0 GetSetName \
  IsValidExchg0 RemoveData0 ResetStats0 RunCommand0 SetupSet0 | sort > "$work/plain-expected"

if ! diff -u "$work/expected" "$work/def-aliases"; then
  echo "FAIL: decorated aliases in $def differ from MSVC's names (- expected, + .def)"; status=1
fi
if ! diff -u "$work/plain-expected" "$work/def-plain"; then
  echo "FAIL: plain names in $def differ (- expected, + .def)"; status=1
fi
[ "$status" -eq 0 ] && echo "decorations: 11 decorated aliases and 11 plain names match MSVC's scheme"
exit "$status"
