#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
# No display and no sound card needed, also while CTest lists the tests.
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
scripts/setup.sh build -DCMAKE_BUILD_TYPE=Release
cmake --build build
cd build && ctest --output-on-failure -j"$(nproc)"
