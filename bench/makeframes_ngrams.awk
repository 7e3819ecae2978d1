# The n-grams of length n (-v n=4) of plain ASCII text, one a line, words
# separated by single spaces: the peer's first stage in
# bench/run-makeframes-bench. It follows makeframes' word rules as far as
# its generated corpus and Brown need: lower case; a word is a run of
# letters, digits and inner apostrophes (an apostrophe at a word's start or
# end is dropped); a full stop or comma between two digits stays in the word;
# every other character splits words (hyphens too); . ! ? ; : an empty line
# and a file's end end a sentence, and no n-gram crosses a sentence end.
FNR == 1 { have = 0 }
{
  line = tolower($0)
  if (line !~ /[^ \t\r]/) { have = 0; next }
  # Digits' inner full stops and commas, kept apart from the sentence ends.
  while (match(line, /[0-9][.,][0-9]/)) {
    mark = substr(line, RSTART + 1, 1) == "." ? "\001" : "\002"
    line = substr(line, 1, RSTART) mark substr(line, RSTART + 2)
  }
  gsub(/[.!?;:]/, " . ", line)
  gsub(/[^a-z0-9'\001\002.]+/, " ", line)
  count = split(line, token, " ")
  for (t = 1; t <= count; t++) {
    word = token[t]
    if (word == ".") { have = 0; continue }
    if (index(word, "'")) {
      sub(/^'+/, "", word)
      sub(/'+$/, "", word)
      if (word == "") continue
    }
    if (index(word, "\001")) gsub(/\001/, ".", word)
    if (index(word, "\002")) gsub(/\002/, ",", word)
    if (have < n) have++
    else for (k = 1; k < n; k++) w[k] = w[k + 1]
    w[have] = word
    if (have == n) {
      gram = w[1]
      for (k = 2; k <= n; k++) gram = gram " " w[k]
      print gram
    }
  }
}
