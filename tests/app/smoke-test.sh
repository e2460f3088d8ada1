#!/usr/bin/env bash
# Starts the real program on a private X server with an empty home, waits for
# its main window, quits it with Ctrl+Q and checks that the first run left the
# installed preference file behind (it is saved on the way out).
set -euo pipefail
program="$1"

home="$(mktemp -d)"
cleanup() {
  kill "${app:-}" "${xserver:-}" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT

# The server picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$home/display" &
xserver=$!
for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$home/display")"

mkdir "$home/user"
HOME="$home/user" QT_QPA_PLATFORM=xcb "$program" &
app=$!
window="$(timeout 20 xdotool search --sync --onlyvisible --name '^Tile Heron v2$' | head -n 1)"
[ -n "$window" ] || { echo "the main window did not appear"; exit 1; }

# No window manager runs here: give the window the focus and type as a user.
xdotool windowfocus --sync "$window"
xdotool key ctrl+q
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then echo "Ctrl+Q did not end the program"; exit 1; fi
wait "$app"

expected=$'\xEF\xBB\xBF\n[Examples]\nHTML5 = 1'
actual="$(cat "$home/user/Library/Application Support/Tile Heron/TileHeronV2.prefs")"
[ "$actual" = "$expected" ] || { echo "unexpected preference file: $actual"; exit 1; }
echo "window appeared, Ctrl+Q quit, preferences saved"
