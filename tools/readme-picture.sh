#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture: the program on a private X
# server with an empty home, the examples imported and set in columns, and the
# script editor beside the main window. Run after a build:
#   tools/readme-picture.sh [build-folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
program="$build/tools/readme-picture/th-readme-picture"
[ -x "$program" ] || { echo "build th-readme-picture first: cmake --build $build --target th-readme-picture"; exit 1; }

home="$(mktemp -d)"
cleanup() {
  kill "${xserver:-}" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT

# The server picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$home/display" &
xserver=$!
for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$home/display")"

mkdir "$home/user"
HOME="$home/user" QT_QPA_PLATFORM=xcb "$program" "$root/examples" "$root/docs/screenshot.png"
echo "wrote $root/docs/screenshot.png"
