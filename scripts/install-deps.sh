#!/usr/bin/env bash
# Installs everything Folhavida needs to build and test on a fresh Debian 12 machine.
# Run as root; safe to run again.
set -euo pipefail

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

src_list=/etc/apt/sources.list.d/folhavida-deb-src.sources
if [ ! -f "$src_list" ]; then
  cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

packages=(
  wine wine32:i386 wine64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  xvfb cmake ninja-build googletest nasm python3 dpkg-dev
  fonts-liberation fonts-wine
  qpdf poppler-utils imagemagick ghostscript x11-utils x11-apps
)
packages+=(clang libclang-rt-14-dev)  # the native build: its sanitizers and libFuzzer

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ "$need_update" = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  apt-get install -y -q "${missing[@]}"
fi
