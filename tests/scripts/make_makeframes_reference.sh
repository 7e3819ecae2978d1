#!/usr/bin/env bash
# Makes the corpus and the native makeframes' output that the Wine test of
# makeframes.exe compares its own output with: a folder named in Cyrillic
# holding a Russian UTF-8 text with a Cyrillic name and a generated English-like
# text, run with lengths 3-4, n-gram lists and statistics in code pages 1251
# and 1252. Also a larger generated text for the interrupted run.
#
# Usage: make_makeframes_reference.sh OUT
set -euo pipefail
out=$1
source "$(dirname "$0")/native-tools.sh"

rm -rf "$out"
corpus="$out/Корпус"
mkdir -p "$corpus/вложенная" "$out/native"
for round in 1 2 3; do
  printf 'Привет, мир! Как дела, друг? ПРИВЕТ ДОМ. Ёлка стоит у дома, round %d.\n' "$round"
  printf 'Мы пошли домой в конце дня. В конце дня мы отдыхали.\n\n'
done > "$corpus/вложенная/текст.txt"
"$generate" "$corpus/english.txt" 200000
"$generate" "$out/large.txt" 6000000

for page in 1251 1252; do
  "$tool" -q -n 3-4 -ngrams -stats -codepage "$page" "$corpus" "$out/native/$page" > "$out/native/$page-summary.txt"
done
