#!/usr/bin/env bash
# Makes the release packages from the committed tree, into dist/:
#   StatsKEVO-<version>-win32.zip             StatsKEVO.dll, kevo-replay.exe, kevo-live.exe and
#                                             operator docs
#   StatsKEVO-<version>-linux-<arch>.tar.gz   the cmake --install tree below one folder
#   statskevo_<version>_<debian arch>.deb
#   SHA256SUMS
# Every byte depends only on the commit: times come from its date, archives have a fixed order,
# owners and modes, and the binaries hold no build folder and no link time.
#
# Usage: scripts/release.sh [--verify] [--out DIR]
#   --verify  build everything twice, in two different folders, and compare byte for byte
#   --out     where the packages go (default dist/)
# The tree must have no uncommitted changes to tracked files (KEVO_RELEASE_ALLOW_DIRTY=1 builds
# them anyway, for trying out the packaging); untracked files are never packaged.
# kevo-live.exe links expat built for MinGW by scripts/mingw-expat.sh (KEVO_DEPS_HOME, default
# build-deps): the same libexpat.a for both builds of --verify.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
verify=0
out="$root/dist"
while [ $# -gt 0 ]; do
  case $1 in
    --verify) verify=1 ;;
    --out) out=$2; shift ;;
    *) echo "usage: scripts/release.sh [--verify] [--out DIR]" >&2; exit 2 ;;
  esac
  shift
done
jobs=${KEVO_JOBS:-2}
work_root="$root/build-release"
mingw_expat=${KEVO_DEPS_HOME:-$root/build-deps}/mingw-expat/i686-w64-mingw32
umask 022
export LC_ALL=C TZ=UTC

cd "$root"
if [ -n "$(git status --porcelain --untracked-files=no)" ] && [ "${KEVO_RELEASE_ALLOW_DIRTY:-0}" != 1 ]; then
  echo "release: the tree has uncommitted changes; commit them first" >&2
  exit 1
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
for tool in i686-w64-mingw32-g++ dpkg-deb dpkg-shlibdeps python3; do
  command -v "$tool" >/dev/null || { echo "release: $tool is missing (scripts/install-deps.sh all)" >&2; exit 1; }
done
[ -f "$mingw_expat/lib/libexpat.a" ] ||
  { echo "release: no expat built for MinGW in $mingw_expat (scripts/mingw-expat.sh)" >&2; exit 1; }

log() { echo "release: $*"; }

# Gives every file and folder below $1 the commit's time, so no archive sees build times.
touch_tree() { find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +; }

# Text for Windows users: CR LF line ends, @VERSION@ filled in.
windows_text() { sed -e "s/@VERSION@/$version/g" -e 's/\r$//' -e 's/$/\r/' "$1" > "$2"; }

# Copies the tracked files into $1/src, the sources of one build.
stage_sources() {
  rm -rf "$1"
  mkdir -p "$1/src"
  git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$1/src"
}

# Builds every package from $1/src into $1/packages.
build_all() {
  local work=$1 src=$1/src
  mkdir -p "$work/packages"

  log "Linux build in $work"
  cmake -S "$src" -B "$work/build-linux" -DCMAKE_BUILD_TYPE=Release -DKEVO_BUILD_TESTS=OFF \
    -DKEVO_REPRODUCIBLE=ON -DCMAKE_INSTALL_PREFIX=/usr >"$work/configure-linux.log"
  cmake --build "$work/build-linux" -j"$jobs" --target StatsKEVO kevo-replay kevo-live \
    >"$work/build-linux.log"
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$work/build-linux/CMakeCache.txt")

  log "Windows build in $work"
  cmake -S "$src" -B "$work/build-win" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKEVO_BUILD_TESTS=OFF -DKEVO_REPRODUCIBLE=ON \
    -DKEVO_MINGW_EXPAT="$mingw_expat" >"$work/configure-win.log"
  cmake --build "$work/build-win" -j"$jobs" --target StatsKEVO kevo-replay kevo-live \
    >"$work/build-win.log"

  local zip_dir="$work/zip/StatsKEVO-$version-win32"
  mkdir -p "$zip_dir"
  cp "$work/build-win/StatsKEVO.dll" "$work/build-win/kevo-replay.exe" \
    "$work/build-win/kevo-live.exe" "$zip_dir/"
  windows_text "$src/packaging/kevo-live.cmd" "$zip_dir/kevo-live.cmd"
  windows_text "$src/packaging/README-windows.txt" "$zip_dir/README.txt"
  windows_text "$src/packaging/RADL.lst" "$zip_dir/RADL.lst"
  windows_text "$src/LICENSE" "$zip_dir/LICENSE.txt"
  windows_text "$src/CHANGELOG.md" "$zip_dir/CHANGELOG.txt"
  python3 "$src/packaging/make_zip.py" "$work/packages/StatsKEVO-$version-win32.zip" "$zip_dir"

  local tar_name="StatsKEVO-$version-linux-$(uname -m)"
  cmake --install "$work/build-linux" --strip --prefix "$work/tar/$tar_name" >/dev/null
  touch_tree "$work/tar"
  tar -C "$work/tar" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 \
    --numeric-owner --mode=go-w --format=gnu -cf - "$tar_name" |
    gzip -9n >"$work/packages/$tar_name.tar.gz"

  build_deb "$work"
  (cd "$work/packages" && sha256sum -- *.zip *.tar.gz *.deb >SHA256SUMS)
}

maintainer="The StatsKEVO authors <statskevo@example.invalid>"

# The .deb: the same install below /usr, laid out as Debian's policy wants it (the licence as
# a machine-readable copyright file, a Debian changelog, the man page compressed), with a
# control file and md5sums. gzip -n keeps names and times out of the compressed files.
build_deb() {
  local work=$1 deb_root=$1/deb arch src=$1/src
  arch=$(dpkg --print-architecture)
  DESTDIR="$deb_root" cmake --install "$work/build-linux" --strip >/dev/null
  local doc="$deb_root/usr/share/doc/statskevo"
  rm "$doc/LICENSE"
  debian_copyright "$src/LICENSE" >"$doc/copyright"
  python3 "$src/packaging/debian_changelog.py" "$src/CHANGELOG.md" "$version" "$maintainer" |
    gzip -9n >"$doc/changelog.gz"
  gzip -9n "$deb_root"/usr/share/man/man1/kevo-replay.1 "$deb_root"/usr/share/man/man1/kevo-live.1
  mkdir -p "$deb_root/DEBIAN"
  local depends
  depends=$(shared_library_depends "$work" "$deb_root"/usr/bin/kevo-replay \
    "$deb_root"/usr/bin/kevo-live \
    "$deb_root"/usr/lib/*/statskevo/StatsKEVO.so)
  cat >"$deb_root/DEBIAN/control" <<EOF
Package: statskevo
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $(du -sk --apparent-size "$deb_root/usr" | cut -f1)
${depends:+Depends: $depends
}Section: hamradio
Priority: optional
Description: KEVO contest scoring plug-in for logging hosts
 StatsKEVO scores the KEVO amateur-radio contest inside a logging host that
 loads it as a shared library: points, duplicates, multipliers, rates, the
 call check and a scored fixed-column log. kevo-replay replays ADIF and
 Cabrillo logs and scripted sessions through the plug-in; kevo-live scores
 the contacts a contest logger broadcasts over UDP as they are logged, on a
 live web page, and posts the score to online scoreboards.
EOF
  (cd "$deb_root" && find usr -type f | sort | xargs md5sum >DEBIAN/md5sums)
  touch_tree "$deb_root"
  dpkg-deb --root-owner-group -Zxz --build "$deb_root" \
    "$work/packages/statskevo_${version}_$arch.deb" >/dev/null
}

# LICENSE (the MIT licence: a copyright line, then its text) in Debian's copyright format,
# under the licence's Debian name, Expat.
debian_copyright() {
  cat <<EOF
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: StatsKEVO
Upstream-Contact: $maintainer

Files: *
Copyright: $(sed -n 's/^Copyright (c) //p' "$1")
License: Expat

License: Expat
EOF
  sed -n '/^Permission is hereby granted/,$p' "$1" | sed -e 's/^$/./' -e 's/^/ /'
}

# The Depends line for the given binaries, as Debian's own packages get it.
shared_library_depends() {
  local work=$1; shift
  mkdir -p "$work/shlibdeps/debian"
  printf 'Source: statskevo\n\nPackage: statskevo\nArchitecture: any\n' \
    >"$work/shlibdeps/debian/control"
  (cd "$work/shlibdeps" && dpkg-shlibdeps -O "$@" 2>/dev/null) | sed -n 's/^shlibs:Depends=//p'
}

if [ "$verify" = 0 ]; then
  stage_sources "$work_root/one"
  build_all "$work_root/one"
else
  # Two folders of different depth and name length, so that any build path left in a binary
  # shows as a difference. Both copies are taken before either build starts.
  stage_sources "$work_root/one"
  stage_sources "$work_root/second-build/two"
  build_all "$work_root/one"
  build_all "$work_root/second-build/two"
  log "comparing the two builds"
  different=0
  for file in build-linux/StatsKEVO.so build-linux/kevo-replay build-linux/kevo-live \
    build-win/StatsKEVO.dll build-win/kevo-replay.exe build-win/kevo-live.exe $(cd "$work_root/one" && ls packages/*); do
    if cmp -s "$work_root/one/$file" "$work_root/second-build/two/$file"; then
      echo "  same:      $file"
    else
      echo "  DIFFERENT: $file"
      different=1
    fi
  done
  if [ "$different" -ne 0 ]; then
    echo "release: the two builds differ" >&2
    exit 1
  fi
fi

mkdir -p "$out"
rm -f "$out"/StatsKEVO-*.zip "$out"/StatsKEVO-*.tar.gz "$out"/statskevo_*.deb "$out"/SHA256SUMS
cp "$work_root/one/packages/"* "$out/"
log "packages in $out:"
(cd "$out" && cat SHA256SUMS)
