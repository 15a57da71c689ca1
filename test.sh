#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build -DCMAKE_BUILD_TYPE=Release
cmake --build build
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
cd build && ctest --output-on-failure -j"$(nproc)"
