#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing WhirlBox, then cross-builds
# libjpeg-turbo for both MinGW targets into a cache inside the build tree. Idempotent: what is there is kept.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache="${WHIRLBOX_DEPS:-$here/build/deps}"

packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 xvfb xdotool x11-apps x11-utils
          imagemagick libjpeg62-turbo-dev nasm libgif-dev clang libclang-rt-14-dev googletest libgtest-dev
          libbenchmark-dev ninja-build cmake zip unzip dpkg-dev nsis osslsigncode openssl)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
# The XScreenSaver hack: Xlib and MIT-SHM, the daemon for its test (pgrep, setpriv, useradd), and
# `file`, which the Debian packager's dependency scan needs.
packages+=(libx11-dev libxext-dev xscreensaver xscreensaver-data procps util-linux passwd file)

# The fuzz targets' coverage report (scripts/fuzz-coverage.sh): llvm-profdata-14 and llvm-cov-14.
packages+=(llvm-14)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# libjpeg-turbo for MinGW: Debian ships none, so build it from Debian's own source package.
build_jpeg() {  # $1 = target triple
  local triple=$1 prefix="$cache/jpeg-$1"
  [ -f "$prefix/lib/libjpeg.a" ] && return 0
  local src
  src=$(ls -d "$cache"/src/libjpeg-turbo-*/ 2>/dev/null | head -n 1 || true)
  if [ -z "$src" ]; then
    mkdir -p "$cache/src"
    if ! apt-cache showsrc libjpeg-turbo >/dev/null 2>&1 || [ -z "$(apt-cache showsrc libjpeg-turbo 2>/dev/null)" ]; then
      # Derive a deb-src entry from the existing deb822 source file; no host name is written here.
      local list=/etc/apt/sources.list.d/debian.sources
      if [ -f "$list" ] && [ ! -f /etc/apt/sources.list.d/whirlbox-src.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' "$list" | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/whirlbox-src.sources >/dev/null
      fi
      "${sudo_cmd[@]}" apt-get update -qq
    fi
    (cd "$cache/src" && apt-get source --download-only libjpeg-turbo >/dev/null 2>&1)
    local orig
    orig=$(ls "$cache"/src/libjpeg-turbo_*.orig.tar.* | head -n 1)
    tar -xf "$orig" -C "$cache/src"
    src=$(ls -d "$cache"/src/libjpeg-turbo-*/ | head -n 1)
  fi
  # The project's own toolchain file for the triple (cmake/mingw-<arch>.cmake).
  local tc="$here/cmake/mingw-${triple%%-*}.cmake"
  echo "install-deps: building libjpeg-turbo for $triple"
  # THREAD_LOCAL: the library's SIMD detection flags are per thread, as in Debian's own build, since
  # the saver decodes its pictures on several threads (without TurboJPEG the library leaves it empty).
  cmake -S "$src" -B "$cache/jpeg-build-$triple" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DCMAKE_BUILD_TYPE=Release \
    -DTHREAD_LOCAL=__thread -Wno-dev >/dev/null
  cmake --build "$cache/jpeg-build-$triple" >/dev/null
  cmake --install "$cache/jpeg-build-$triple" >/dev/null
}
build_jpeg x86_64-w64-mingw32
build_jpeg i686-w64-mingw32
echo "install-deps: ready (libjpeg for MinGW in $cache)"
