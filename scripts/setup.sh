#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need. Idempotent: when every
# package is already installed it does nothing (not even an apt-get update). libqt6svg6 carries Qt's SVG
# icon and image plug-ins, without which the tool bar's own icons (SVG, for desktops without an icon
# theme) draw nothing.
set -euo pipefail
PACKAGES=(
  build-essential cmake pkg-config git ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqt6svg6
  xvfb xdotool x11-utils
  libpugixml-dev libssl-dev
  libhunspell-dev hunspell hunspell-en-us
  libgraphviz-dev graphviz
  libgtest-dev libgmock-dev googletest libbenchmark-dev libxml2-utils
  clang libclang-rt-14-dev
  chromium
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js may come from elsewhere than Debian (its npm then conflicts with Debian's): ask for the
# Debian packages only when the commands are missing.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
# The browser tests' packages (puppeteer-core), exactly as the lock file names them; again only when
# they are missing or the lock file changed since the last install.
WEB_TESTS="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/web"
if [ ! -d "$WEB_TESTS/node_modules/puppeteer-core" ] ||
   [ "$WEB_TESTS/package-lock.json" -nt "$WEB_TESTS/node_modules/.package-lock.json" ]; then
  (cd "$WEB_TESTS" && npm ci --no-audit --no-fund)
fi
