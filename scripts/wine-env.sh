# Sourced by the scripts that run Windows programs: one Wine prefix inside
# the build tree, no debug noise, no Mono or Gecko prompts.
#
# Where the machine runs 32-bit code (the usual case) that is a 32-bit prefix
# and the programs' own 32-bit build in build/win. Where it cannot, a 64-bit
# prefix and the 64-bit build of the same source in build/win64
# (scripts/wine-arch says which).
: "${CORVALE_BUILD:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
if [ -z "${CORVALE_WINE_ARCH:-}" ]; then
  CORVALE_WINE_ARCH=$("$(dirname "${BASH_SOURCE[0]}")/wine-arch")
fi
export CORVALE_WINE_ARCH
export WINEARCH=$CORVALE_WINE_ARCH
if [ "$WINEARCH" = win64 ]; then
  export WINEPREFIX="${WINEPREFIX:-$CORVALE_BUILD/wineprefix64}"
  export CORVALE_WIN_TREE="$CORVALE_BUILD/win64"
  # Debian's `wine` starts the 32-bit loader first; call the 64-bit one.
  export WINELOADER=/usr/lib/wine/wine64
  CORVALE_WINE=/usr/lib/wine/wine64
else
  export WINEPREFIX="${WINEPREFIX:-$CORVALE_BUILD/wineprefix}"
  export CORVALE_WIN_TREE="$CORVALE_BUILD/win"
  CORVALE_WINE=wine
fi
export CORVALE_WINE
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="

# The absolute Unix path as a Windows path: Wine maps / to drive Z:.
winpath() {
  local path=$1
  case $path in /*) ;; *) path=$PWD/$path ;; esac
  path="Z:$path"
  echo "${path//\//\\}"
}

# Creates the prefix the first time (about 20 s) and waits until it is ready.
prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    echo "creating the $WINEARCH Wine prefix in $WINEPREFIX (first run, about 20 s)"
    "$CORVALE_WINE" wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
  fi
  # Wine's own fonts (the caption buttons' symbols, the dialog font) are not
  # found in its data folder by this 64-bit loader: a copy in the prefix's
  # font folder is.
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/* "$fonts/"
  fi
}
