#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need. Idempotent: when every
# package is already installed it does nothing (not even an apt-get update).
set -euo pipefail
PACKAGES=(
  build-essential cmake pkg-config git ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libpugixml-dev
  libhunspell-dev hunspell hunspell-en-us
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
