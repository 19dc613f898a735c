#!/usr/bin/env bash
# Installs everything Folhavida needs to build and test on a fresh Debian 12 machine. Safe to run
# again: when everything is present it returns at once, as any user; otherwise it installs what
# is missing as root (through sudo when not run as root).
set -euo pipefail

packages=(
  wine wine32:i386 wine64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  xvfb cmake ninja-build googletest nasm python3 dpkg-dev
  fonts-liberation fonts-wine
  fonts-urw-base35 fonts-kaushanscript  # stand-ins for the lettering models' faces under Wine
  qpdf poppler-utils imagemagick ghostscript x11-utils x11-apps
  chromium  # opens the exported HTML résumé headless in its browser check
  clang libclang-rt-14-dev  # the native build: its sanitizers and libFuzzer
  locales  # the Brazilian locale that run.sh gives Folhavida, as on the Windows it is made for
)
src_list=/etc/apt/sources.list.d/folhavida-deb-src.sources

has_i386() { dpkg --print-foreign-architectures | grep -qx i386; }

missing_packages() {
  { dpkg-query -W -f='${Package} ${Package}:${Architecture} ${db:Status-Abbrev}\n' \
      "${packages[@]%%:*}" 2>/dev/null || true; } |
    awk -v wanted="${packages[*]}" '$3 == "ii" { have[$1]; have[$2] }
      END { n = split(wanted, w, " "); for (i = 1; i <= n; i++) if (!(w[i] in have)) print w[i] }'
}

has_brazilian_locale() { locale -a 2>/dev/null | grep -qix 'pt_BR\.utf-\?8'; }

if has_i386 && [ -f "$src_list" ] && [ -z "$(missing_packages)" ] && has_brazilian_locale; then
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  exec sudo bash "$0" "$@"
fi

need_update=0
if ! has_i386; then
  dpkg --add-architecture i386
  need_update=1
fi

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

mapfile -t missing < <(missing_packages)
if [ ${#missing[@]} -gt 0 ] || [ "$need_update" = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  apt-get install -y -q "${missing[@]}"
fi
if ! has_brazilian_locale; then
  sed -i 's/^# *\(pt_BR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'pt_BR.UTF-8 UTF-8' /etc/locale.gen || echo 'pt_BR.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi
