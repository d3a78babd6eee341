#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures and builds the project into DIR.
# ccache, when installed, keeps compiled objects between builds and checkouts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}" CCACHE_NOHASHDIR=1
fi
cmake -S "$root" -B "$root/$dir" "${launcher[@]}" "$@" >/dev/null
cmake --build "$root/$dir" -j "$(nproc)"
