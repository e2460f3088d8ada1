#!/usr/bin/env bash
# Installs what is missing, builds the program, its tests and benchmarks, and
# runs every test through CTest.
set -euo pipefail
packages="libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils desktop-file-utils appstream"
options="-DBUILD_TESTING=ON -DTH_BUILD_BENCH=ON"
source "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure --parallel "$(nproc)"
