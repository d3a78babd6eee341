#!/usr/bin/env bash
# Figures for spell checking: `amftool spell` over every text of a generated assistant (about 3 MB by
# default) against `hunspell -l` over the same texts as plain text, both with the en_US dictionary.
# The generator writes the assistant and, beside it, the same texts one per line, so both programs
# see exactly the same words. Nothing large is kept: the files live in a temporary folder.
# Usage: bench/spell_check.sh AMFTOOL [SCREENS] [MISSPELT-PER-THOUSAND]
set -euo pipefail
amftool=${1:?usage: spell_check.sh AMFTOOL [SCREENS] [MISSPELT-PER-THOUSAND]}
screens=${2:-1600}
permille=${3:-2}
dic=/usr/share/hunspell/en_US.dic
[ -r "$dic" ] || { echo "needs the hunspell-en-us dictionary ($dic)" >&2; exit 2; }
command -v hunspell >/dev/null || { echo "needs the hunspell program" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Vocabulary: the dictionary's plain lower-case words. Each screen: a caption, three lines of text and
# three options with a caption, a description and a note, built from random vocabulary words (fixed
# seed). Typos recur in real texts: a few words in a thousand are one of 40 fixed typos (a vocabulary
# word with two letters swapped).
awk -v n="$screens" -v permille="$permille" -v texts="$work/texts.txt" '
function swapped(w,   i, a, b) {
  i = 2 + int(rand() * (length(w) - 2))
  a = substr(w, i, 1); b = substr(w, i + 1, 1)
  return substr(w, 1, i - 1) b a substr(w, i + 2)
}
function word() {
  if (rand() * 1000 < permille) return typo[int(rand() * nt)]
  return vocab[int(rand() * nv)]
}
function sentence(count,   s, k) {
  s = word(); s = toupper(substr(s, 1, 1)) substr(s, 2)
  for (k = 1; k < count; k++) s = s " " word()
  return s "."
}
function emit(tag, text) {
  printf "%s<%s>%s</%s>\n", indent, tag, text, tag
  print text > texts
}
FNR > 1 {
  sub(/\/.*/, "")
  if ($0 ~ /^[a-z][a-z]+$/) vocab[nv++] = $0
}
END {
  srand(1)
  while (nt < 40) { w = vocab[int(rand() * nv)]; if (length(w) > 5) typo[nt++] = swapped(w) }
  print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
  print "<ASSISTANT NAME=\"A1\" VERSION=\"1\" BACKWARDS=\"0\">"
  print "  <FIRST>S1</FIRST>"
  indent = "  "; emit("CAPTION", "Generated assistant for spelling")
  for (i = 1; i <= n; i++) {
    printf "  <SCREEN NAME=\"S%d\">\n", i
    indent = "    "; emit("CAPTION", sentence(4))
    for (d = 1; d <= 3; d++) emit("DESCRIPTION", sentence(14))
    for (o = 1; o <= 3; o++) {
      printf "    <OPTION NAME=\"S%dO%d\">\n", i, o
      indent = "      "; emit("CAPTION", sentence(3)); emit("DESCRIPTION", sentence(10))
      printf "      <ACTION TYPE=\"GOTO\" COMMAND=\"S%d\"/>\n", i % n + 1
      t = sentence(12)
      printf "      <NOTES NAME=\"Note\" TYPE=\"Hint\" ID=\"N%d\">%s</NOTES>\n    </OPTION>\n", o, t
      print t > texts
    }
    print "  </SCREEN>"
  }
  print "</ASSISTANT>"
}' "$dic" >"$work/big.amf"

best() { # least CPU time (user + system) in seconds of three runs of the command; the exit status is
  # ignored. CPU time, because other work shares the machine and stretches wall times.
  local best="" t
  for _ in 1 2 3; do
    t=$( { TIMEFORMAT='%U %S'; time "$@" >/dev/null 2>&1 || true; } 2>&1 | awk '{ print $1 + $2 }')
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}
hunspell_list() { LC_ALL=C.UTF-8 hunspell -i UTF-8 -d "${dic%.dic}" -l <"$work/texts.txt"; }

amf=$(stat -c %s "$work/big.amf")
words=$(wc -w <"$work/texts.txt")
found=$("$amftool" spell "$work/big.amf" --lang en_US | wc -l || true)
listed=$(hunspell_list | wc -l)
spell=$(best "$amftool" spell "$work/big.amf" --lang en_US)
list=$(best hunspell_list)
printf 'screens                   %d\n' "$screens"
printf 'amf size                  %d bytes\n' "$amf"
printf 'words in the texts        %d\n' "$words"
printf 'misspelt (amftool spell)  %d\n' "$found"
printf 'misspelt (hunspell -l)    %d\n' "$listed"
printf 'amftool spell             %.3f s CPU\n' "$spell"
printf 'hunspell -l               %.3f s CPU\n' "$list"
printf 'spell / hunspell -l       %.2f (limit 2)\n' "$(awk -v s="$spell" -v l="$list" 'BEGIN { print s / l }')"
