#!/usr/bin/env bash
# Installs, as root on a Debian machine, every package the builds, the tests and the demo need.
# A no-op when all of them are present.
set -euo pipefail

packages=(
  cmake ninja-build ccache pkg-config python3
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools
  libz-mingw-w64-dev
  googletest
  wine wine64 libwine-dev xvfb xauth fonts-liberation2
  wixl msitools 7zip
  liblzma-dev dpkg-dev zlib1g-dev libjpeg62-turbo-dev libssl-dev
  nginx-light tinyproxy microsocks
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "bootstrap: run as root to install the missing packages" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
