#!/usr/bin/env bash
# Installs what the build needs (Debian 12) and configures a build folder.
# Usage: scripts/setup.sh BUILD_DIR [extra cmake args...]
set -euo pipefail
cd "$(dirname "$0")/.."

pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev libsdl2-dev libasound2-dev
      libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont-gothic fonts-ipafont-mincho
      xvfb xdotool valgrind)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# Configured every time, so that options given now (warnings as errors in
# CI, say) are never silently kept from an earlier configuration.
build="$1"; shift
cmake -S . -B "$build" -G Ninja "$@" >/dev/null
