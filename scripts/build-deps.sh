#!/usr/bin/env bash
# Builds the libraries the program links that Debian ships only as source for this target:
# libjpeg-turbo, static, with SIMD. The result is cached outside the build tree, per target,
# and rebuilt when the source package's version, the compiler or the build options change. Runs that build
# the same target at once wait for each other instead of building into one folder together.
#   build-deps.sh [i686-w64-mingw32|x86_64-w64-mingw32]
set -euo pipefail
source "$(dirname "$0")/common.sh"
triplet=${1:-i686-w64-mingw32}
prefix=$FOLHAVIDA_CACHE/deps-$triplet
stamp=$prefix/.libjpeg-turbo.done

options=(
  -DCMAKE_BUILD_TYPE=Release
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DREQUIRE_SIMD=ON
  -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF
)
toolchain=$(folhavida_toolchain_file "$triplet")

# The source package apt would fetch now, named by its version ("libjpeg-turbo_2.1.5-2.dsc").
dsc=$(apt-get source --print-uris libjpeg-turbo 2>/dev/null | sed -n "s/^'[^']*' \(libjpeg-turbo_[^ ]*\.dsc\) .*/\1/p")
[ -n "$dsc" ] || { echo "build-deps: apt knows no source package libjpeg-turbo (deb-src missing?)" >&2; exit 1; }
compiler=$("$triplet-gcc-posix" -dumpfullversion)
key=$(printf '%s\n' "$dsc" "$compiler" "${options[@]}" | sha256sum | cut -c1-16)

up_to_date() { [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ]; }
up_to_date && exit 0

mkdir -p "$FOLHAVIDA_CACHE"
exec 8>"$FOLHAVIDA_CACHE/deps-$triplet.lock"
flock 8
up_to_date && exit 0  # another run built it while this one waited

echo "build-deps: building $dsc for $triplet"
work=$FOLHAVIDA_CACHE/src-$triplet
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
apt-get source --download-only libjpeg-turbo >/dev/null 2>&1
dpkg-source --no-check -x "$dsc" libjpeg-turbo >/dev/null

cmake -S libjpeg-turbo -B build -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >/dev/null
cmake --build build >/dev/null
cmake --install build >/dev/null
cd /
rm -rf "$work"
echo "$key" >"$stamp"
