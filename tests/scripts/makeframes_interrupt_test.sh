#!/usr/bin/env bash
# makeframes.exe stopped with Ctrl-C part way (Wine hands SIGINT to the
# program's console control handler, as Windows hands it Ctrl-C) while it
# writes its output: it says it was interrupted, ends with status 1, and leaves
# nothing in the output folder, neither a file under a final name nor a
# temporary one nor its scratch folder.
#   tests/scripts/makeframes_interrupt_test.sh MAKEFRAMES_EXE LARGE_CORPUS
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
exe=$1
corpus=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/corvale-interrupt-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
out="$work/Вывод"
mkdir "$out"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

"$CORVALE_WINE" "$exe" -n 3-5 -ngrams -mem 64M "$(winpath "$corpus")" "$(winpath "$out/кадры")" \
  </dev/null >"$work/stdout" 2>"$work/stderr" &
pid=$!
# Interrupted once it writes the first output under its temporary name.
for _ in $(seq 1200); do
  compgen -G "$out/*.partial" >/dev/null && break
  sleep 0.1
done
compgen -G "$out/*.partial" >/dev/null || fail "no output was being written when the run was interrupted"
kill -INT "$pid"
wait "$pid"
status=$?
cat "$work/stderr"

[ $status -eq 1 ] || fail "the interrupted run ended with status $status"
tr "\r" "\n" <"$work/stderr" | grep -qx "makeframes: interrupted" || fail "the run did not say it was interrupted"
left=$(ls -A "$out")
[ -z "$left" ] || fail "the interrupted run left: $left"

[ $failures -eq 0 ] && echo "passed"
exit $((failures > 0))
