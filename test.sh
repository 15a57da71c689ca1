#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
# No display and no sound card needed, also while CTest lists the tests.
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
scripts/setup.sh build -DCMAKE_BUILD_TYPE=Release
cmake --build build
# Every test has a time limit of its own (CMakeLists.txt): one still running
# after two minutes has hung (the longest takes about twenty seconds), and
# CTest stops it and names it.
cd build && ctest --output-on-failure -j"$(nproc)"
