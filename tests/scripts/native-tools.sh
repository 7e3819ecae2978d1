# Sourced by the fixture scripts that make files with the native tools: sets
# $root, $tool (makeframes) and $generate (the corpus generator), and stops
# with a message when they are not built.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
native="${CORVALE_NATIVE_BUILD:-${CORVALE_BUILD:-$root/build}/native}"
tool="$native/makeframes/makeframes"
generate="$native/bench/makeframes_generate"
for needed in "$tool" "$generate"; do
  if [ ! -x "$needed" ]; then
    echo "$(basename "$0"): $needed is not built (make native)" >&2
    exit 1
  fi
done
