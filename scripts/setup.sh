#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, when
# missing. Quiet and quick when everything is already there.
#
# A package mirror caught mid-sync can fail one index during `apt-get update`
# ("Mirror sync in progress?"). That is retried a few times and then
# tolerated: the lists that did arrive are used. If the install then fails
# (typically the resolver, when one architecture's security index is missing
# and the other's is not), it is tried once more pinned to the release's own
# suite with `-t <codename>`, which keeps every architecture on the same
# versions.
set -euo pipefail

APT_GET=${APT_GET:-apt-get}
UPDATE_TRIES=${SETUP_UPDATE_TRIES:-3}
RETRY_PAUSE=${SETUP_RETRY_PAUSE:-5}
OS_RELEASE=${SETUP_OS_RELEASE:-/etc/os-release}
LOG=${SETUP_LOG:-${TMPDIR:-/tmp}/corvale-setup.log}

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if [ -n "${SETUP_NEED:-}" ]; then
  # Tests of this script's decisions name the packages to install.
  read -r -a need <<<"$SETUP_NEED"
else
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
  have_cmd zip || need+=(zip)
  have_cmd unzip || need+=(unzip)
  have_cmd clang++ || need+=(clang)
  [ -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null)" ] || need+=(libclang-rt-14-dev)
  have_cmd python3 || need+=(python3)
  # The makeframes tests stop a run at a chosen rename with strace.
  have_cmd strace || need+=(strace)
  [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
  have_pkg libgtest-dev || need+=(libgtest-dev)
  have_pkg wine32:i386 || need+=(wine32:i386)
  have_cmd wine || need+=(wine)
  # Wine's own fonts (the caption buttons' symbols, its stand-ins for the
  # Windows dialog fonts) and metric-compatible text fonts. Without them the
  # windows look wrong: "0 1 r" for the caption buttons, clipped labels.
  have_pkg fonts-wine || need+=(fonts-wine)
  have_pkg fonts-liberation || need+=(fonts-liberation)
  # Where the machine cannot run 32-bit code, the Wine-side tests run a
  # 64-bit build under 64-bit Wine.
  if [ "$("$(dirname "$0")/wine-arch")" = win64 ]; then
    have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
    [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
  fi
fi

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ] && [ -z "${SETUP_NEED:-}" ]; then
  echo "setup: missing packages (${need[*]}); run as root or install them" >&2
  exit 1
fi

echo "setup: installing ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ -z "${SETUP_NEED:-}" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

: >"$LOG"
try=1
until "$APT_GET" update -q >>"$LOG" 2>&1; do
  if [ "$try" -ge "$UPDATE_TRIES" ]; then
    echo "setup: apt-get update failed $try times (a mirror may be mid-sync); going on with the package lists that are there" >&2
    break
  fi
  try=$((try + 1))
  sleep "$RETRY_PAUSE"
done

install() { "$APT_GET" install -y -q --no-install-recommends "$@" "${need[@]}" >>"$LOG" 2>&1; }

if install; then
  exit 0
fi
codename=$( . "$OS_RELEASE" 2>/dev/null && echo "${VERSION_CODENAME:-}" ) || codename=
if [ -n "$codename" ]; then
  echo "setup: install failed; trying again with the release's own versions (-t $codename)" >&2
  if install -t "$codename"; then
    exit 0
  fi
fi
tail -n 30 "$LOG" >&2
echo "setup: could not install ${need[*]}; run 'apt-get update' again in a few minutes (the mirror may be mid-sync), or install these packages by hand" >&2
exit 1
