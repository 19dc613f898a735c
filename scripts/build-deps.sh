#!/usr/bin/env bash
# Builds the libraries the program links that Debian ships only as source for this target:
# libjpeg-turbo, static, with SIMD. The result is cached outside the build tree, per target.
#   build-deps.sh [i686-w64-mingw32|x86_64-w64-mingw32]
set -euo pipefail
source "$(dirname "$0")/common.sh"
triplet=${1:-i686-w64-mingw32}
prefix=$FOLHAVIDA_CACHE/deps-$triplet

stamp=$prefix/.libjpeg-turbo.done
[ -f "$stamp" ] && exit 0

work=$FOLHAVIDA_CACHE/src-$triplet
rm -rf "$work"
mkdir -p "$work"
cd "$work"
apt-get source --download-only libjpeg-turbo >/dev/null 2>&1
dpkg-source --no-check -x libjpeg-turbo_*.dsc libjpeg-turbo >/dev/null

cmake -S libjpeg-turbo -B build -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$(folhavida_toolchain_file "$triplet")" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DREQUIRE_SIMD=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF >/dev/null
cmake --build build >/dev/null
cmake --install build >/dev/null
cd /
rm -rf "$work"
touch "$stamp"
