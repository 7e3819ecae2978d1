# Sourced by the scripts that run Windows programs: one 32-bit Wine prefix
# inside the build tree, no debug noise, no Mono or Gecko prompts.
: "${CORVALE_BUILD:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
export WINEPREFIX="${WINEPREFIX:-$CORVALE_BUILD/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
