#!/usr/bin/env bash
# The release zip, as a Windows user gets it.
#
#   dist_test.sh WINDOWS-BUILD-TREE BUNDLE-RUN-TESTS.exe
#
# Builds the zip of the shipped 32-bit tree ($CORVALE_BUILD/win) with
# scripts/make-dist and checks it without running it: its name, its files,
# CR LF text files, 32-bit programs, their version resources and icons (read
# by windres), and that it is made the same to the byte each time. Then runs
# both programs from an unpacked zip under Wine: the shipped zip where this
# machine runs 32-bit code, else the same zip built from the runnable 64-bit
# tree (CORVALE_WIN_TREE).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
this_tree=$(cd "$1" && pwd)
bundle_tests=$2
export CORVALE_BUILD=${CORVALE_BUILD:-$(dirname "$this_tree")}
source "$root/scripts/wine-env.sh"
shipped=$CORVALE_BUILD/win
work=$(mktemp -d "${TMPDIR:-/tmp}/corvale-dist-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

version=$(head -n 1 "$shipped/version.txt")
grep -q "^project(Corvale VERSION $version " "$root/CMakeLists.txt" || fail "version $version is not the project's"

expected_files='CorvaleMakeFrames.exe
CorvalePhraseFrames.exe
CorvaleStopwords.exe
README.txt
makeframes.exe
samples/
samples/corvale-sample-Alpha-phraseFrames.txt
samples/corvale-sample-Freq-phraseFrames.txt
samples/corvale-sample.txt
samples/ngrams.txt
stopwords'

# Builds the zip of a tree into $work/<name>, checks its name and files and
# unpacks it into $work/<name>/unpacked.
unpack() {
  local tree=$1 name=$2 arch=$3 zip
  zip=$("$root/scripts/make-dist" "$tree" "$work/$name") || { fail "make-dist $tree failed"; return 1; }
  [ "$(basename "$zip")" = "corvale-$version-$arch.zip" ] || fail "zip named $(basename "$zip")"
  [ "$(unzip -Z1 "$zip" | LC_ALL=C sort)" = "$expected_files" ] || fail "$name zip holds: $(unzip -Z1 "$zip" | tr '\n' ' ')"
  # The programs are also beside the zip, the same as in it.
  for exe in $(grep '\.exe$' <<<"$expected_files"); do
    unzip -p "$zip" "$exe" | cmp -s - "$work/$name/$exe" || fail "$name: $exe is not beside the zip as it is in it"
  done
  mkdir "$work/$name/unpacked" && (cd "$work/$name/unpacked" && unzip -q "$zip")
}

# Machine field of a PE file: 014c for 32-bit x86, 8664 for x86-64.
pe_machine() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}

# True when every line of the file ends in CR LF, the last one included.
crlf_only() {
  [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' ')" = 0d0a ] &&
    ! LC_ALL=C grep -q $'[^\r]$' "$1" && ! LC_ALL=C grep -q $'^$' "$1"
}

# The icon images of a resource dump (windres -O rc): the RT_ICON sections.
icon_images() { sed -n '/RT_ICON \*\//,/^END/{/RT_ICON/d;p}' "$1"; }

# The link-time field of a PE header, in hex: zero when the link left it out.
pe_timestamp() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx4 -j$((pe + 8)) -N4 "$1" | tr -d ' '
}

unpack "$shipped" shipped win32 || { echo "cannot go on"; exit 1; }
u=$work/shipped/unpacked
# Made again a moment later, the zip is the same to the byte.
sleep 1
again=$("$root/scripts/make-dist" "$shipped" "$work/again") || fail "make-dist failed the second time"
cmp -s "$again" "$work/shipped/corvale-$version-win32.zip" || fail "a second make-dist gave other bytes"
# Where each program is in a build tree.
tree_path() {
  case $1 in
    CorvaleStopwords.exe) echo stopwords/$1 ;;
    CorvaleMakeFrames.exe) echo makeframes/window/$1 ;;
    *) echo browser/$1 ;;
  esac
}
for exe in CorvalePhraseFrames.exe CorvaleStopwords.exe CorvaleMakeFrames.exe; do
  [ "$(pe_machine "$u/$exe")" = 014c ] || fail "$exe is not a 32-bit x86 program"
  [ "$(pe_timestamp "$u/$exe")" = 00000000 ] || fail "$exe carries its link time ($(pe_timestamp "$u/$exe"))"
  cmp -s "$u/$exe" "$shipped/$(tree_path $exe)" ||
    fail "$exe is not the shipped build"
  i686-w64-mingw32-windres -i "$u/$exe" -O rc -o "$work/$exe.rc" || fail "windres cannot read $exe"
  for value in "CompanyName\", \"Corvale project" "FileVersion\", \"$version" "ProductName\", \"Corvale" \
      "ProductVersion\", \"$version" "LegalCopyright\", \"Copyright (C) 2026 the Corvale project team" \
      "OriginalFilename\", \"$exe"; do
    grep -qF "VALUE \"$value\"" "$work/$exe.rc" || fail "$exe: no $value\""
  done
  grep -q "FILEVERSION ${version//./, }, 0" "$work/$exe.rc" || fail "$exe: FILEVERSION is not $version"
  # The first icon group is the program's own.
  [ "$(grep -m1 'RT_GROUP_ICON' "$work/$exe.rc")" = '"PROGRAM" 14 /* RT_GROUP_ICON */' ] ||
    fail "$exe: first icon group is $(grep -m1 'RT_GROUP_ICON' "$work/$exe.rc")"
done
grep -qF 'FileDescription", "Corvale phrase-frame browser"' "$work/CorvalePhraseFrames.exe.rc" || fail "browser: FileDescription"
grep -qF 'FileDescription", "Corvale stopword line filter"' "$work/CorvaleStopwords.exe.rc" || fail "filter: FileDescription"
grep -qF 'FileDescription", "Corvale phrase-frame maker"' "$work/CorvaleMakeFrames.exe.rc" || fail "maker: FileDescription"
for program in browser stopwords makeframes/window; do
  name=${program%%/*}
  echo "PROGRAM ICON \"$root/$program/program.ico\"" >"$work/$name-icon.rc"
  i686-w64-mingw32-windres -i "$work/$name-icon.rc" -O rc -o "$work/$name-icon.out.rc"
done
icon_images "$work/CorvaleMakeFrames.exe.rc" | cmp -s - <(icon_images "$work/makeframes-icon.out.rc") ||
  fail "the maker's icon is not makeframes/window/program.ico"
icon_images "$work/CorvaleMakeFrames.exe.rc" | cmp -s - <(icon_images "$work/CorvalePhraseFrames.exe.rc") &&
  fail "the maker's icon is the browser's"
icon_images "$work/CorvaleStopwords.exe.rc" | cmp -s - <(icon_images "$work/stopwords-icon.out.rc") ||
  fail "the filter's icon is not stopwords/program.ico"
icon_images "$work/CorvaleStopwords.exe.rc" | cmp -s - <(icon_images "$work/CorvalePhraseFrames.exe.rc") &&
  fail "the filter's icon is the browser's"

for text in README.txt stopwords; do
  crlf_only "$u/$text" || fail "$text has a line that does not end in CR LF"
done
head -n 1 "$u/stopwords" | grep -q '^|' || fail "stopwords does not start with its comment header"
words=$(tr -d '\r' <"$u/stopwords" | sed 's/|.*//; s/^ *//; s/ *$//' | grep -c .)
[ "$words" -ge 200 ] || fail "stopwords holds only $words words"
grep -q "^Corvale $version" "$u/README.txt" || fail "README.txt does not name version $version"
for topic in 'drop' 'overwritten' 'Corvale.cfg' '8-bit' '32-bit'; do
  grep -qi -- "$topic" "$u/README.txt" || fail "README.txt says nothing of $topic"
done
cmp -s "$u/samples/ngrams.txt" "$root/samples/filter/ngrams.txt" || fail "samples/ngrams.txt is not the sample"

# Runs both programs from an unpacked zip.
if [ "$CORVALE_WINE_ARCH" = win32 ]; then
  run=$u
else
  unpack "$CORVALE_WIN_TREE" runnable win64 && run=$work/runnable/unpacked
  for exe in CorvalePhraseFrames.exe CorvaleStopwords.exe CorvaleMakeFrames.exe; do
    [ "$(pe_machine "$run/$exe")" = 8664 ] || fail "$exe of $CORVALE_WIN_TREE is not an x86-64 program"
  done
fi
if [ -n "${run:-}" ]; then
  CORVALE_BUNDLE=$run "$CORVALE_WINE" "$bundle_tests" || fail "the programs did not run as expected from the unpacked zip"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "release zip corvale-$version-win32.zip: all checks passed (programs run from the $CORVALE_WINE_ARCH zip)"
