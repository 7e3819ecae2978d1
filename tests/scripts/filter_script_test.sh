#!/usr/bin/env bash
# scripts/filter as `make filter` runs it on a machine without a display:
# every box the program shows is printed and answered, so the run ends; a
# skipped file makes the exit status 1; lines and bytes are reported; a name
# Windows would change (a trailing blank or dot) is refused.
#   tests/scripts/filter_script_test.sh BUILD_ROOT   (the folder holding win/ or win64/)
set -uo pipefail
export CORVALE_BUILD=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/corvale-filter-test.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
# A prefix of the test's own, as a user would have (created on the first run).
export XDG_DATA_HOME=$CORVALE_BUILD/filter-script-test
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

# Without a display of the user's: the script starts its own private one.
filter() {
  (cd "$work" && timeout 300 env -u DISPLAY -u CORVALE_OWN_DISPLAY STOPWORDS="$work/list" \
    "$root/scripts/filter" "$@") > "$work/out" 2>&1
}

printf 'the\r\n' > "$work/list"
printf 'the cat\t3\ncat\t2\n' > "$work/ok.txt"
printf 'the x\r\nkeep\r\n' > "$work/ro.txt"
chmod a-w "$work/ro.txt"
# Four lines of UTF-16 text, which the program leaves alone.
printf '\xff\xfea\0\r\0\n\0b\0\r\0\n\0c\0\r\0\n\0d\0\r\0\n\0' > "$work/u16.txt"

filter ok.txt ro.txt u16.txt
status=$?
cat "$work/out"
[ $status -eq 1 ] || fail "a run with a skipped file ended with status $status (124: it hung)"
grep -q '^\[CorvaleStopwords\]$' "$work/out" || fail "the box's caption was not printed"
grep -q 'ro.txt: read-only$' "$work/out" || fail "the skipped file was not listed with its reason"
grep -q '^(answered OK)$' "$work/out" || fail "the box's answer was not printed"
grep -Eq '^ +2 +1 +16 +6  ok.txt$' "$work/out" || fail "lines and bytes before and after not reported for ok.txt"
grep -Eq '^ +4 +4 +26 +26  u16.txt$' "$work/out" || fail "the lines of UTF-16 text were not counted as such"
[ "$(cat "$work/ok.txt")" = "$(printf 'cat\t2')" ] || fail "ok.txt was not filtered"
[ "$(od -c "$work/ro.txt")" = "$(printf 'the x\r\nkeep\r\n' | od -c)" ] || fail "ro.txt was changed"

printf 'the dog\r\ndog\r\n' > "$work/clean.txt"
filter clean.txt
status=$?
cat "$work/out"
[ $status -eq 0 ] || fail "a clean run ended with status $status"
grep -q 'Lines and bytes before and after' "$work/out" || fail "no report after a clean run"
grep -q '^\[' "$work/out" && fail "a clean run printed a box"

# Wine would drop the blank and filter trail.txt, which was never named.
printf 'the a\n' > "$work/trail.txt"
printf 'the b\n' > "$work/trail.txt "
printf 'the c\n' > "$work/dot."
for name in 'trail.txt ' 'dot.'; do
  filter "$name"
  status=$?
  [ $status -eq 1 ] || fail "the name '$name' was not refused (status $status)"
  grep -q "Windows drops a blank or dot" "$work/out" || fail "no reason given for refusing '$name'"
done
[ "$(cat "$work/trail.txt")" = "the a" ] || fail "trail.txt was changed"
[ "$(cat "$work/trail.txt ")" = "the b" ] || fail "'trail.txt ' was changed"

# A run stopped while it rewrites a file (here the fault-test build, whose
# disk "fills up" part way) leaves the only whole copy of the kept lines,
# stops.tmp, beside that file; the next run refuses and says where it is,
# instead of filtering the half-written file.
faults=$work/faults-build
tree=$(source "$root/scripts/wine-env.sh" && echo "$CORVALE_WIN_TREE")
mkdir -p "$faults/$(basename "$tree")/stopwords" "$work/half"
cp "$tree/stopwords/CorvaleStopwordsWithFaults.exe" "$faults/$(basename "$tree")/stopwords/CorvaleStopwords.exe"
for i in $(seq 200); do printf 'the %d\t1\nkeep %d\t1\n' $i $i; done > "$work/half/a.txt"
CORVALE_BUILD=$faults CORVALE_FAIL_OVERWRITE_AFTER=100 filter half/a.txt
status=$?
cat "$work/out"
[ $status -eq 1 ] || fail "a run whose rewrite failed ended with status $status"
cp "$work/half/a.txt" "$work/half-written"
filter half/a.txt
status=$?
cat "$work/out"
[ $status -eq 1 ] || fail "a run with a stops.tmp left beside its file ended with status $status"
grep -qF "filter: $work/half/stops.tmp is there: it holds the kept lines of $work/half/a.txt" "$work/out" ||
  fail "the refusal did not say where stops.tmp is and whose lines it holds"
cmp -s "$work/half/a.txt" "$work/half-written" || fail "the half-written file was filtered again"

[ $failures -eq 0 ] && echo "filter script: all checks passed"
exit $((failures > 0))
