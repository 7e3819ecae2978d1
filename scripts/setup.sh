#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, when
# missing. Quiet and quick when everything is already there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd make || need+=(make)
have_cmd g++ || need+=(g++)
have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686)
have_cmd i686-w64-mingw32-windres || need+=(binutils-mingw-w64-i686)
have_cmd Xvfb || need+=(xvfb)
have_cmd xauth || need+=(xauth)
have_cmd xwd || need+=(x11-apps)
have_cmd xwininfo || need+=(x11-utils)
have_cmd convert && convert -version 2>/dev/null | grep -q ImageMagick || need+=(imagemagick)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
have_pkg libgtest-dev || need+=(libgtest-dev)
have_pkg wine32:i386 || need+=(wine32:i386)
have_cmd wine || need+=(wine)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (${need[*]}); run as root or install them" >&2
  exit 1
fi

echo "setup: installing ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "${need[@]}" >/tmp/corvale-setup.log 2>&1 || {
  tail -n 30 /tmp/corvale-setup.log >&2
  exit 1
}
