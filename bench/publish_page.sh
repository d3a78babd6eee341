#!/usr/bin/env bash
# Figures for published web pages: the runtime's size, the page's size against the .amf file's, and
# the time of `amftool publish` against `amftool resave` for a generated assistant (about 30 MB by
# default). Nothing large is kept: the files live in a temporary folder.
# Usage: bench/publish_page.sh AMFTOOL [SCREENS]
set -euo pipefail
amftool=${1:?usage: publish_page.sh AMFTOOL [SCREENS]}
screens=${2:-30000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each screen: three lines of text and three options (go-to, web page, program), with plain and
# markup-like characters so that the escaping has work to do.
awk -v n="$screens" 'BEGIN {
  print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
  print "<ASSISTANT NAME=\"A1\" VERSION=\"1\" BACKWARDS=\"0\">"
  print "  <FIRST>S1</FIRST>"
  print "  <CAPTION>Generated assistant</CAPTION>"
  for (i = 1; i <= n; i++) {
    printf "  <SCREEN NAME=\"S%d\">\n    <CAPTION>Screen %d: checking the &lt;printer&gt; &amp; paper</CAPTION>\n", i, i
    for (d = 1; d <= 3; d++)
      printf "    <DESCRIPTION>Line %d of screen %d explains what to look at \"here\" before going on to the next step.</DESCRIPTION>\n", d, i
    printf "    <OPTION NAME=\"S%dA\">\n      <CAPTION>Go on to screen %d</CAPTION>\n      <DESCRIPTION>When the light is green.</DESCRIPTION>\n      <ACTION TYPE=\"GOTO\" COMMAND=\"S%d\"/>\n    </OPTION>\n", i, i % n + 1, i % n + 1
    printf "    <OPTION NAME=\"S%dB\">\n      <CAPTION>Read the vendor page</CAPTION>\n      <ACTION TYPE=\"INTERNET\" COMMAND=\"https://example.com/help?page=%d\"/>\n    </OPTION>\n", i, i
    printf "    <OPTION NAME=\"S%dC\">\n      <CAPTION>Open the log</CAPTION>\n      <ACTION TYPE=\"EXEC\" COMMAND=\"notepad.exe log%d.txt\"/>\n    </OPTION>\n", i, i
    print "  </SCREEN>"
  }
  print "</ASSISTANT>"
}' >"$work/big.amf"

best() { # best wall time in seconds of three runs of the command
  local best=""
  for _ in 1 2 3; do
    local start end t
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}

"$amftool" publish "$work/big.amf" -o "$work/big.html"
"$amftool" new -o "$work/empty.amf"
"$amftool" publish "$work/empty.amf" -o "$work/empty.html"
amf=$(stat -c %s "$work/big.amf")
page=$(stat -c %s "$work/big.html")
runtime=$(stat -c %s "$work/empty.html")
publish=$(best "$amftool" publish "$work/big.amf" -o "$work/out.html")
resave=$(best "$amftool" resave "$work/big.amf" -o "$work/out.amf")
printf 'screens                 %d\n' "$screens"
printf 'amf size                %d bytes\n' "$amf"
printf 'page size               %d bytes\n' "$page"
printf 'page of empty assistant %d bytes (the runtime)\n' "$runtime"
printf '(page - runtime) / amf  %.3f (limit 1.2)\n' "$(awk -v p="$page" -v r="$runtime" -v a="$amf" 'BEGIN { print (p - r) / a }')"
printf 'publish                 %.3f s\n' "$publish"
printf 'resave                  %.3f s\n' "$resave"
printf 'publish / resave        %.2f (limit 2)\n' "$(awk -v p="$publish" -v r="$resave" 'BEGIN { print p / r }')"
