#!/usr/bin/env bash
# Makes phrase-frame files with the native makeframes for the Wine test that
# opens them in the browser: lengths 3 and 4 from a folder that holds the
# sample essays, a generated Zipf-like text and a UTF-8 text (one of its
# words holds a character without a code page 1252 form). Writes
# OUT/expected.txt: per file its path, the frames and variants the tool
# reported, and its first header line.
#
# Usage: make_generated_pairs.sh OUT
set -euo pipefail
out=$1
source "$(dirname "$0")/native-tools.sh"

rm -rf "$out"
mkdir -p "$out/corpus/more"
cp "$root/samples/text/corvale-sample.txt" "$out/corpus/"
"$generate" "$out/corpus/more/zipf.txt" 300000
for round in 1 2 3; do
  printf '\xe2\x80\x98Caf\xc3\xa9 au lait\xe2\x80\x99 is what the na\xc3\xafve visitor to Gy\xc5\x91r orders.\n'
  printf 'The na\xc3\xafve visitor to the caf\xc3\xa9 orders tea, round %d.\n' "$round"
done > "$out/corpus/more/utf8.txt"

"$tool" -q -n 3-4 "$out/corpus" "$out/made" > "$out/summary.txt"
grep -q '^3 characters without a code page 1252 form' "$out/summary.txt" || {
  echo "make_generated_pairs: the tool did not report the three unmapped characters:" >&2
  cat "$out/summary.txt" >&2
  exit 1
}

# "3-grams: 1,234 n-grams, 56 frames with 789 variants in 0.1 s: A, F and C"
# (C the Corpus file)
: > "$out/expected.txt"
sed -n 's/^[0-9]*-grams: .* n-grams\{0,1\}, \([0-9,]*\) frames\{0,1\} with \([0-9,]*\) variants\{0,1\} .*: \(.*\), \(.*\) and .*$/\1 \2 \3 \4/p' \
    "$out/summary.txt" |
while read -r frames variants alpha freq; do
  for file in "$alpha" "$freq"; do
    top=$(head -n 1 "$file" | tr -d '\r')
    printf '%s\t%s\t%s\t%s\n' "$file" "$frames" "$variants" "$top" >> "$out/expected.txt"
  done
done
if [ "$(wc -l < "$out/expected.txt")" -ne 4 ]; then
  echo "make_generated_pairs: expected two pairs of files; the tool said:" >&2
  cat "$out/summary.txt" >&2
  exit 1
fi
