#!/usr/bin/env bash
# Builds expat for MinGW, which Debian does not package, so that the Windows builds can make
# kevo-live.exe: a static libexpat.a and its headers per target, from Debian's own source
# package (with Debian's security patches), built with the project's MinGW toolchain files.
#
# Usage: scripts/mingw-expat.sh [i686|x86_64]...   (default: each whose compiler is installed)
# Result: KEVO_DEPS_HOME/mingw-expat/<triplet>/{include/expat.h,lib/libexpat.a,VERSION}
# (default build-deps, ignored by git). scripts/install-deps.sh all runs it; the Windows tests
# and scripts/release.sh use what it leaves.
#
# The source comes through a private apt configuration (one deb-src entry, its own lists and
# cache), so the system's apt set-up stays as it is and no root is needed. A target is built
# again only when Debian's version of expat or this recipe changes; without a network the
# library already built is kept.
#
# Environment:
#   KEVO_DEPS_HOME     where the libraries go (default build-deps)
#   KEVO_EXPAT_MIRROR  the Debian mirror (default: the one this machine's apt uses)
#   KEVO_EXPAT_SUITE   the Debian release (default bookworm)
# Exits 1 when a target that was asked for (or whose compiler is installed) has no library.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
home=${KEVO_DEPS_HOME:-$root/build-deps}/mingw-expat
suite=${KEVO_EXPAT_SUITE:-bookworm}
# Raised when the build below changes, so that every library is built again.
recipe=1

say() { echo "mingw-expat: $*"; }

# The first Debian mirror in the system's apt sources, else Debian's own redirector.
default_mirror() {
  local url
  url=$(grep -h -o -E 'https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list \
    /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
  url=${url%% }
  echo "${url:-http://deb.debian.org/debian}"
}
mirror=${KEVO_EXPAT_MIRROR:-$(default_mirror)}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for arch in i686 x86_64; do
    command -v "$arch-w64-mingw32-gcc" >/dev/null && targets+=("$arch")
  done
  [ ${#targets[@]} -gt 0 ] || { say "no MinGW compiler installed; nothing to build"; exit 0; }
fi
for tool in apt-get dpkg-source cmake; do
  command -v "$tool" >/dev/null || { say "$tool is missing (scripts/install-deps.sh all)"; exit 1; }
done

apt_dir=$home/apt
mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
signed=
[ -r /usr/share/keyrings/debian-archive-keyring.gpg ] &&
  signed=" [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]"
echo "deb-src$signed $mirror $suite main" > "$apt_dir/sources/expat.list"
apt_private=(-o Dir::Etc::sourcelist=/dev/null -o "Dir::Etc::sourceparts=$apt_dir/sources"
  -o "Dir::State::lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o Debug::NoLocking=1
  -o APT::Sandbox::User="$(id -un)")

# The version Debian has now; empty without a network.
version=
if apt-get -q "${apt_private[@]}" update > "$home/apt-update.log" 2>&1; then
  version=$(apt-cache "${apt_private[@]}" showsrc expat 2>/dev/null |
    sed -n 's/^Version: //p' | sort -V | tail -n 1)
fi
[ -n "$version" ] || say "cannot reach $mirror for expat's source (see $home/apt-update.log)"

# build TRIPLET: fetches the source once per version, builds and installs one target.
build() {
  local triplet=$1 out=$home/$1 work=$home/work-$1
  local stamp="expat $version recipe $recipe"
  if [ -z "$version" ]; then
    [ -f "$out/lib/libexpat.a" ] || { say "$triplet: no library and no source"; return 1; }
    say "$triplet: keeping $(cat "$out/VERSION" 2>/dev/null)"
    return 0
  fi
  if [ -f "$out/lib/libexpat.a" ] && [ "$(cat "$out/VERSION" 2>/dev/null)" = "$stamp" ]; then
    say "$triplet: $stamp is up to date"
    return 0
  fi
  local source=$home/source/expat-$version
  if [ ! -d "$source" ]; then
    rm -rf "$home/source"
    mkdir -p "$home/source"
    if ! (cd "$home/source" && apt-get -q "${apt_private[@]}" source "expat=$version") \
      > "$home/source.log" 2>&1; then
      say "apt-get source expat failed:"
      tail -n 20 "$home/source.log"
      return 1
    fi
    mv "$home/source/expat-${version%%-*}" "$source" || return 1
    # A patch Debian backported tests '#if XML_DTD == 1', but CMake's config template
    # defines XML_DTD and XML_NS empty: give them the value the autotools build gives.
    if grep -rqs -E 'XML_(DTD|NS) == 1' "$source/expat/lib"; then
      sed -i -E 's/^#cmakedefine (XML_DTD|XML_NS)$/#cmakedefine \1 1/' \
        "$source/expat/expat_config.h.cmake"
    fi
  fi
  local toolchain=$root/cmake/mingw-${triplet%%-*}.cmake
  local start=$SECONDS
  rm -rf "$work" "$out"
  if cmake -S "$source/expat" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" -DEXPAT_SHARED_LIBS=OFF \
      -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
      -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF > "$home/build-$triplet.log" 2>&1 &&
    cmake --build "$work" -j"${KEVO_JOBS:-2}" >> "$home/build-$triplet.log" 2>&1 &&
    cmake --install "$work" >> "$home/build-$triplet.log" 2>&1 &&
    [ -f "$out/lib/libexpat.a" ]; then
    echo "$stamp" > "$out/VERSION"
    rm -rf "$work"
    say "$triplet: built $stamp in $((SECONDS - start))s"
  else
    say "$triplet: the build failed; the end of its output:"
    tail -n 30 "$home/build-$triplet.log"
    rm -rf "$out"
    return 1
  fi
}

status=0
for arch in "${targets[@]}"; do
  case $arch in
    i686 | x86_64) build "$arch-w64-mingw32" || status=1 ;;
    *) say "unknown target $arch (i686 or x86_64)"; status=1 ;;
  esac
done
exit "$status"
