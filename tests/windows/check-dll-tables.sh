#!/usr/bin/env bash
# Checks the tables of the built StatsKEVO.dll:
#  - imports: system DLLs only (a libwinpthread-1.dll, libstdc++ or libgcc import would make the
#    host fail to load the plug-in on a machine without MinGW);
#  - exports: exactly the names of the .def file, 22 of them, and every decorated alias at the
#    same address as its plain entry.
# Usage: check-dll-tables.sh <StatsKEVO.dll> <StatsKEVO.def>
set -euo pipefail

dll=${1:?dll}
def=${2:?def file}
objdump=$(command -v i686-w64-mingw32-objdump || command -v objdump)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$objdump" -p "$dll" > "$work/headers"

status=0
fail() { echo "FAIL: $*"; status=1; }

grep -q 'file format pei-i386' "$work/headers" || fail "$dll is not a 32-bit PE file"

# Imports.
awk '/DLL Name:/ {print $3}' "$work/headers" > "$work/imports"
[ -s "$work/imports" ] || fail "no import table found"
while read -r name; do
  lower=$(printf '%s' "$name" | tr 'A-Z' 'a-z')
  case "$lower" in
    kernel32.dll|user32.dll|msvcrt.dll|ntdll.dll|advapi32.dll|ucrtbase.dll|api-ms-win-*.dll)
      echo "ok: imports $name" ;;
    *) fail "imports $name, which is not a system DLL" ;;
  esac
done < "$work/imports"

# Exports: the address table (index -> RVA) and the name table (index -> name).
sed -n '/^Export Address Table/,/^\[Ordinal\/Name Pointer\] Table/p' "$work/headers" \
  | awk '/Export RVA/ { gsub(/[][]/, " "); print $1, $(NF-2) }' > "$work/rvas"
sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' "$work/headers" | sed 1d \
  | awk 'NF { line = $0; gsub(/[][]/, " ", line); split(line, f, " ");
              if ($0 ~ /\+base\[/) print f[3] - 1, $NF; else print f[1], $NF }' > "$work/names"
awk 'NR == FNR { rva[$1] = $2; next } { print $2, rva[$1] }' "$work/rvas" "$work/names" \
  | sort > "$work/exports"

count=$(wc -l < "$work/exports")
[ "$count" -eq 22 ] || fail "$count exported names, expected 22"

# The names the .def file promises: plain names and NAME=TARGET aliases.
sed -n '/^EXPORTS/,$p' "$def" | sed '1d; s/;.*//; s/^[[:space:]]*//; s/[[:space:]]*$//' \
  | grep -v '^$' > "$work/def-lines"
sed 's/=.*//' "$work/def-lines" | sort > "$work/def-names"
awk '{print $1}' "$work/exports" > "$work/dll-names"
if ! diff -u "$work/def-names" "$work/dll-names"; then
  fail "exported names differ from $def (- .def, + DLL)"
fi

# Same address for both names of an entry.
while IFS='=' read -r alias target; do
  [ -n "${target:-}" ] || continue
  a=$(awk -v n="$alias" '$1 == n {print $2}' "$work/exports")
  t=$(awk -v n="$target" '$1 == n {print $2}' "$work/exports")
  if [ -z "$a" ] || [ "$a" != "$t" ]; then
    fail "$alias at RVA '${a}', $target at RVA '${t}'"
  else
    echo "ok: $target and its alias at RVA $a"
  fi
done < "$work/def-lines"

[ "$status" -eq 0 ] && echo "dll tables: system imports only, 22 exports, aliases at their twins' addresses"
exit "$status"
