#!/usr/bin/env python3
"""Writes a generated assistant file (.amf) of SCREENS screens with OPTIONS options each to standard
output, in the form the editor saves: every screen has a caption, a two-line description and an image;
every option a caption, a description line and an action. Most options go to other screens (spread
over the whole assistant, so that the report, the structure check and the navigation structure look
screens up all over the list; the structure is a balanced tree); every fourth runs a three-line script and every eighth holds a note.
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
            if n % 4 == 0:
                w('\t\t\t<SCRIPT>Sub Main<P/>MsgBox "Option"<P/>End Sub</SCRIPT>\n')
                w('\t\t\t<ACTION TYPE="SCRIPT" COMMAND=""/>\n')
            else:
                # The first two options go to screens 2s and 2s + 1: every screen is reachable and the
                # navigation structure is a balanced tree (its depth grows with the logarithm of the
                # size, not with the size). The others go anywhere.
                target = 2 * s + o - 1 if o <= 2 and 2 * s + o - 1 <= screens \
                    else (s * 7919 + o * 104729) % screens + 1
                w(f'\t\t\t<ACTION TYPE="GOTO" COMMAND="S{target}"/>\n')
            if n % 8 == 0:
                w(f'\t\t\t<NOTES NAME="Tip" TYPE="Hint" ID="N{n}">A note for option {n}.</NOTES>\n')
            w('\t\t</OPTION>\n')
        w('\t</SCREEN>\n')
    w('</ASSISTANT>\n')


if __name__ == '__main__':
    main()
