#!/usr/bin/env bash
# scripts/browse refuses a name Windows would change (a trailing blank or
# dot, in the file's name or a folder's): Wine would drop it and the browser
# would open another file. The refusal comes before any Wine start, so the
# test needs no display and no build (an empty build folder: no browser can
# run even if the check let a name through).
#   tests/scripts/browse_script_test.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/corvale-browse-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
export CORVALE_BUILD=$work/no-build XDG_DATA_HOME=$work/data
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

mkdir -p "$work/frames."
printf 'the cat\t1\r\n' > "$work/x-Freq-phraseFrames.txt"
printf 'the cat\t1\r\n' > "$work/x-Freq-phraseFrames.txt "
printf 'the cat\t1\r\n' > "$work/x-Freq-phraseFrames.txt."
printf 'the cat\t1\r\n' > "$work/frames./x-Freq-phraseFrames.txt"

for name in 'x-Freq-phraseFrames.txt ' 'x-Freq-phraseFrames.txt.' 'frames./x-Freq-phraseFrames.txt'; do
  (cd "$work" && timeout 60 env -u DISPLAY "$root/scripts/browse" "$name") > "$work/out" 2>&1
  status=$?
  cat "$work/out"
  [ $status -eq 1 ] || fail "the name '$name' was not refused (status $status)"
  grep -q "Windows drops a blank or dot at the end of a name" "$work/out" || fail "no reason given for refusing '$name'"
done

[ -e "$work/data" ] && fail "a Wine prefix was made for a refused name"
[ $failures -eq 0 ] && echo "browse script: all checks passed"
exit $((failures > 0))
