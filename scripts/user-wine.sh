# Sourced by scripts/browse and scripts/filter, which run the programs on the
# user's own files: a Wine prefix of the user's own outside the build tree
# ($XDG_DATA_HOME/corvale/wine, by default ~/.local/share/corvale/wine), so
# it and the browser's settings survive `make clean`.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export CORVALE_BUILD="${CORVALE_BUILD:-$root/build}"
case ${XDG_DATA_HOME:-} in
  /*) corvale_data=$XDG_DATA_HOME/corvale ;;
  *) corvale_data=$HOME/.local/share/corvale ;;
esac
export WINEPREFIX=$corvale_data/wine
source "$root/scripts/wine-env.sh"
# Windows the user's own window manager can move and close (a private
# Xvfb makes do without the faster unmanaged ones).
export CORVALE_MANAGED_WINDOWS=1

# True when there is a display of the user's own (not a private Xvfb).
has_user_display() { [ -n "${DISPLAY:-}" ] && [ -z "${CORVALE_OWN_DISPLAY:-}" ]; }

# Copies a built program into dir, unless the same is there already.
install_program() {
  local exe=$1 dir=$2
  if [ ! -f "$exe" ]; then
    echo "$(basename "$0"): $exe is not built (make win)" >&2
    exit 1
  fi
  mkdir -p "$dir"
  cmp -s "$exe" "$dir/$(basename "$exe")" || cp "$exe" "$dir/"
}

# True when the name, or a folder in it, ends in a blank or a dot (other than
# "." and ".."): Windows drops those, so the program would open another file.
name_has_trailing_blank_or_dot() {
  local part parts
  IFS=/ read -r -a parts <<< "$1"
  for part in "${parts[@]}"; do
    case $part in
      . | ..) ;;
      *' ' | *.) return 0 ;;
    esac
  done
  return 1
}

