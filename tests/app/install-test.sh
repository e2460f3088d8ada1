#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks what landed
# with the desktop's own validators.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

id=io.github.tileheron.TileHeron
for file in bin/tile-heron bin/tile-heron-export share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/doc/tile-heron/README.md share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png; do
  [ -f "$prefix/$file" ] || { echo "missing: $file"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
grep -q '^Icon='"$id"'$' "$prefix/share/applications/$id.desktop"
echo "installed and valid"
