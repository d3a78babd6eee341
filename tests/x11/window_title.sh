#!/usr/bin/env bash
# The editor's title bar under a real X server (Xvfb) reads exactly its caption: "Assistant Editor - "
# and the full path of the file opened, with nothing appended by the platform.
# Usage: window_title.sh EDITOR_BINARY. Exits 77 (skipped) without Xvfb, xdotool or xprop, or when no
# X server can be started on this machine (its log is printed); a server that runs but an editor that
# shows no such title fails.
set -euo pipefail
editor="$1"
for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed" >&2; exit 77; }
done
work="$(mktemp -d)"
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Settings and recovery files of this run stay in the temporary folder.
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
# The X server is the point: whatever platform the other tests use, this one is X11.
export QT_QPA_PLATFORM=xcb

# Start Xvfb on a display it picks itself: -displayfd has the server choose a number whose sockets it
# could bind, and write it only once it accepts connections. That avoids guessing a free number from
# lock files, which fails when another server (in another container) holds the socket but no lock.
start_server() {
  local attempt fifo
  for attempt in 1 2 3; do
    fifo="$work/display.$attempt"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>>"$work/xvfb.log" &
    server=$!
    # Reading the number waits until the server is ready; a server that dies closes the pipe.
    if read -r -t 30 number <"$fifo" && [ -n "$number" ]; then
      export DISPLAY=":$number"
      return 0
    fi
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    server=""
    echo "Xvfb attempt $attempt did not start" >>"$work/xvfb.log"
  done
  return 1
}
if ! start_server; then
  echo "no X server could be started here; Xvfb printed:" >&2
  cat "$work/xvfb.log" >&2
  exit 77
fi

file="$work/title test.amf"
cat >"$file" <<'AMF'
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<ASSISTANT NAME="T" VERSION="1" BACKWARDS="0"><SCREEN NAME="S1"/></ASSISTANT>
AMF
"$editor" "$file" >"$work/editor.log" 2>&1 &
editor_pid=$!
id=""
for _ in $(seq 150); do
  id="$(xdotool search --name "^Assistant Editor - /" 2>/dev/null | head -1 || true)"
  [ -n "$id" ] && break
  kill -0 "$editor_pid" 2>/dev/null || break
  # An authorship notice about the file may be asked first: answer it.
  xdotool key --clearmodifiers Return 2>/dev/null || true
  sleep 0.2
done
props=""
[ -n "$id" ] && props="$(xprop -id "$id" WM_NAME _NET_WM_NAME 2>&1 || true)"
kill "$editor_pid" 2>/dev/null || true
wait "$editor_pid" 2>/dev/null || true

expected="Assistant Editor - $file"
report() {
  echo "$1" >&2
  printf '%s\n' "$props" >&2
  echo "editor printed:" >&2; cat "$work/editor.log" >&2
  echo "Xvfb on $DISPLAY printed:" >&2; cat "$work/xvfb.log" >&2
  exit 1
}
if ! grep -qxF "WM_NAME(STRING) = \"$expected\"" <<<"$props" &&
   ! grep -qxF "WM_NAME(UTF8_STRING) = \"$expected\"" <<<"$props"; then
  report "WM_NAME is not exactly \"$expected\":"
fi
if ! grep -qxF "_NET_WM_NAME(UTF8_STRING) = \"$expected\"" <<<"$props"; then
  report "_NET_WM_NAME is not exactly \"$expected\":"
fi
echo "title: $expected"
