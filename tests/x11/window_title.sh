#!/usr/bin/env bash
# The editor's title bar under a real X server (Xvfb) reads exactly its caption: "Assistant Editor - "
# and the full path of the file opened, with nothing appended by the platform.
# Usage: window_title.sh EDITOR_BINARY. Exits 77 (skipped) without xvfb-run, xdotool or xprop.
set -euo pipefail
editor="$1"
for tool in xvfb-run xdotool xprop; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed" >&2; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Settings and recovery files of this run stay in the temporary folder.
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
# The X server is the point: whatever platform the other tests use, this one is X11.
export QT_QPA_PLATFORM=xcb
file="$work/title test.amf"
cat >"$file" <<'AMF'
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<ASSISTANT NAME="T" VERSION="1" BACKWARDS="0"><SCREEN NAME="S1"/></ASSISTANT>
AMF
export EDITOR_BINARY="$editor" AMF_FILE="$file"
xvfb-run -a bash -c '
  "$EDITOR_BINARY" "$AMF_FILE" &
  pid=$!
  id=""
  for _ in $(seq 100); do
    id="$(xdotool search --name "^Assistant Editor - /" 2>/dev/null | head -1 || true)"
    [ -n "$id" ] && break
    # An authorship notice about the file may be asked first: answer it.
    xdotool key --clearmodifiers Return 2>/dev/null || true
    sleep 0.2
  done
  [ -n "$id" ] && xprop -id "$id" WM_NAME _NET_WM_NAME
  kill "$pid" 2>/dev/null || true
' >"$work/props" 2>"$work/errors" || true
expected="Assistant Editor - $file"
if ! grep -qxF "WM_NAME(STRING) = \"$expected\"" "$work/props" &&
   ! grep -qxF "WM_NAME(UTF8_STRING) = \"$expected\"" "$work/props"; then
  echo "WM_NAME is not exactly \"$expected\":" >&2; cat "$work/props" "$work/errors" >&2; exit 1
fi
if ! grep -qxF "_NET_WM_NAME(UTF8_STRING) = \"$expected\"" "$work/props"; then
  echo "_NET_WM_NAME is not exactly \"$expected\":" >&2; cat "$work/props" >&2; exit 1
fi
echo "title: $expected"
