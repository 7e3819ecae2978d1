#!/usr/bin/env bash
# The decisions of scripts/setup.sh, with a stub apt-get that fails on
# request and records how it was called. The real apt-get is never run: the
# script is given the stub by name, and the stub is also first on PATH.
set -uo pipefail
setup=$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh
work=$(mktemp -d "${TMPDIR:-/tmp}/corvale-setup-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# STUB_UPDATE_FAILURES: how many updates fail (exit 100) before one works.
# STUB_INSTALL: "ok", "fail" (every install fails) or "pinned" (only an
# install with -t works).
cat >"$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$STUB_CALLS"
case $1 in
  update)
    n=$(grep -c '^update' "$STUB_CALLS")
    if [ "$n" -le "${STUB_UPDATE_FAILURES:-0}" ]; then
      echo "E: Failed to fetch bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (Mirror sync in progress?)"
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
      exit 100
    fi ;;
  install)
    case ${STUB_INSTALL:-ok},$* in
      ok,*|pinned,*"-t "*) exit 0 ;;
    esac
    for i in $(seq 40); do echo "resolver line $i"; done
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100 ;;
esac
exit 0
STUB
chmod +x "$work/bin/apt-get"
printf 'PRETTY_NAME="Debian GNU/Linux 12 (bookworm)"\nVERSION_CODENAME=bookworm\nID=debian\n' >"$work/os-release"
printf 'ID=debian\n' >"$work/os-release-without-codename"

failures=0
fail() { echo "FAIL: $case_name: $*"; failures=$((failures + 1)); }

# Runs setup.sh for the packages "pkg-a pkg-b"; leaves its exit status in
# status, its stderr in $work/err, its stdout in $work/out, and the stub's
# calls in $work/calls.
run_setup() {
  : >"$work/calls"
  env PATH="$work/bin:$PATH" APT_GET="$work/bin/apt-get" STUB_CALLS="$work/calls" \
    SETUP_NEED="${need-pkg-a pkg-b}" SETUP_UPDATE_TRIES=3 SETUP_RETRY_PAUSE=0 \
    SETUP_OS_RELEASE="${os_release:-$work/os-release}" SETUP_LOG="$work/log" \
    "$@" bash "$setup" >"$work/out" 2>"$work/err"
  status=$?
}
calls() { grep -c "^$1" "$work/calls"; }

case_name="update fails every time: retried, then the install goes on"
run_setup STUB_UPDATE_FAILURES=9
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(calls update)" -eq 3 ] || fail "$(calls update) updates, expected 3"
[ "$(calls install)" -eq 1 ] || fail "$(calls install) installs, expected 1"
grep -q 'update failed 3 times' "$work/err" || fail "no word of the failed update: $(cat "$work/err")"

case_name="update fails once: the second works, no complaint"
run_setup STUB_UPDATE_FAILURES=1
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(calls update)" -eq 2 ] || fail "$(calls update) updates, expected 2"
[ ! -s "$work/err" ] || fail "unexpected message: $(cat "$work/err")"

case_name="first install fails, the one pinned to the release works"
run_setup STUB_UPDATE_FAILURES=9 STUB_INSTALL=pinned
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(calls install)" -eq 2 ] || fail "$(calls install) installs, expected 2"
grep -q '^install .*pkg-a pkg-b' "$work/calls" || fail "packages not named: $(cat "$work/calls")"
tail -n 1 "$work/calls" | grep -q -- '-t bookworm .*pkg-a pkg-b' || fail "second install not pinned: $(tail -n 1 "$work/calls")"
grep -q -- '-t bookworm' "$work/err" || fail "no word of the retry: $(cat "$work/err")"

case_name="both installs fail: apt's last lines, one sentence, failure"
run_setup STUB_INSTALL=fail
[ "$status" -ne 0 ] || fail "exit status 0"
[ "$(calls install)" -eq 2 ] || fail "$(calls install) installs, expected 2"
grep -q 'held broken packages' "$work/err" || fail "apt's last line not shown"
grep -q 'resolver line 40' "$work/err" || fail "apt's lines before it not shown"
[ "$(grep -c '^setup: could not install pkg-a pkg-b' "$work/err")" -eq 1 ] || fail "no closing sentence: $(tail -n 2 "$work/err")"
[ "$(tail -n 1 "$work/err" | cut -c1-27)" = "setup: could not install pk" ] || fail "the sentence is not last"

case_name="install fails and the release has no codename: no second try"
os_release=$work/os-release-without-codename run_setup STUB_INSTALL=pinned
[ "$status" -ne 0 ] || fail "exit status 0"
[ "$(calls install)" -eq 1 ] || fail "$(calls install) installs, expected 1"

case_name="nothing missing: silent, no apt-get at all"
need=" " run_setup
[ "$status" -eq 0 ] || fail "exit status $status"
[ ! -s "$work/calls" ] || fail "apt-get was called: $(cat "$work/calls")"
[ ! -s "$work/out" ] && [ ! -s "$work/err" ] || fail "output: $(cat "$work/out" "$work/err")"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "setup.sh decisions: all checks passed"
