#!/usr/bin/env bash
# Sets up, builds and starts the editor. Arguments are passed on to it (assistant files to open).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build
if [ -x "$root/build/assistant-editor" ]; then
  exec "$root/build/assistant-editor" "$@"
else
  exec "$root/build/amftool" --help
fi
