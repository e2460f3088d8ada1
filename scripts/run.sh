#!/usr/bin/env bash
# Installs what is missing, builds, and launches Tile Heron.
set -euo pipefail
options="-DBUILD_TESTING=OFF -DTH_BUILD_BENCH=OFF"
source "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
exec "$root/build/app/tile-heron"
