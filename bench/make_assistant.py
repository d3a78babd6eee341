#!/usr/bin/env python3
"""Writes a generated assistant file (.amf) of SCREENS screens with OPTIONS options each to standard
output, in the form the editor saves: every screen has a caption, a two-line description and an image;
every option a caption, a description line and an action. Four options of each screen go to other
screens (spread over the whole assistant, so that the report, the structure check and the navigation
structure look screens up all over the list; the structure is a balanced tree), the fourth runs a
three-line script, and every eighth option holds a note.
About 1,350 bytes per screen of five options: 2,250 screens make 3 MB, 22,500 screens 30 MB.

    python3 bench/make_assistant.py SCREENS [OPTIONS] > FILE.amf
"""
import sys


def main() -> None:
    screens = int(sys.argv[1])
    options = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    out = sys.stdout
    w = out.write
    w('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n')
    w('<ASSISTANT NAME="Generated" VERSION="1" BACKWARDS="0">\n')
    w('\t<AUTHOR NAME="{00000000-0000-4000-8000-000000000000} Bench" CODE="0">Bench</AUTHOR>\n')
    w('\t<MODIFIER NAME="{00000000-0000-4000-8000-000000000000} Bench" CODE="0"/>\n')
    w('\t<COPYRIGHT>Copyright (c) 2026</COPYRIGHT>\n\t<FIRST>S1</FIRST>\n')
    w('\t<CAPTION>A generated assistant</CAPTION>\n')
    w('\t<DESCRIPTION>Made for measuring how the tools scale.</DESCRIPTION>\n')
    for s in range(1, screens + 1):
        w(f'\t<SCREEN NAME="S{s}">\n')
        w(f'\t\t<CAPTION>Screen number {s} &amp; its caption</CAPTION>\n')
        w(f'\t\t<IMAGE>images/screen{s}.png</IMAGE>\n')
        w('\t\t<DESCRIPTION>Choose one of the options below to go on.</DESCRIPTION>\n')
        w('\t\t<DESCRIPTION>Each of them leads somewhere else.</DESCRIPTION>\n')
        for o in range(1, options + 1):
            n = (s - 1) * options + o
            w(f'\t\t<OPTION NAME="S{s}.{o}">\n')
            w(f'\t\t\t<CAPTION>Option {o} of screen {s}</CAPTION>\n')
            w('\t\t\t<DESCRIPTION>What this option does, in one line.</DESCRIPTION>\n')
            if o == 4:
                w('\t\t\t<SCRIPT>Sub Main<P/>MsgBox "Option"<P/>End Sub</SCRIPT>\n')
                w('\t\t\t<ACTION TYPE="SCRIPT" COMMAND=""/>\n')
            else:
                # Screen s leads to 2s and 2s + 1 (where they exist), to its parent s / 2 and to the
                # ancestor s / 8: every screen is reachable, and the navigation structure is a balanced
                # tree whose depth grows with the logarithm of the size (links up the tree lead to screens
                # already shown). The targets are spread over the whole list of screens.
                child = 2 * s + o - 1
                up = s >> 1 if o != 5 else s >> 3
                target = child if o <= 2 and child <= screens else max(1, up)
                w(f'\t\t\t<ACTION TYPE="GOTO" COMMAND="S{target}"/>\n')
            if n % 8 == 0:
                w(f'\t\t\t<NOTES NAME="Tip" TYPE="Hint" ID="N{n}">A note for option {n}.</NOTES>\n')
            w('\t\t</OPTION>\n')
        w('\t</SCREEN>\n')
    w('</ASSISTANT>\n')


if __name__ == '__main__':
    main()
