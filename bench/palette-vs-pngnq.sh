#!/usr/bin/env bash
# The palette export against the reference quantiser pngnq, whole process
# against whole process (decode, quantise, write) on the shared sheet: five
# pairs per colour count (or $PAIRS) run in alternation, medians compared.
#   [PAIRS=9] bench/palette-vs-pngnq.sh [build folder] [data folder]
# pngnq is no build dependency: without it the comparison is skipped.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
data="${2:-${TH_BENCH_DATA:-$root/../shared/bench-data}}"
sheet="$data/sheet4096.png"
ours="$build/bench/palette_save"
pairs=${PAIRS:-5}

if ! command -v pngnq > /dev/null; then
  echo "pngnq is not installed (Debian package pngnq): comparison skipped"
  exit 0
fi
[ -x "$ours" ] || { echo "no $ours: build with -DTH_BUILD_BENCH=ON"; exit 1; }
[ -f "$sheet" ] || { echo "no $sheet"; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$sheet" "$work/sheet.png"

seconds() { # the wall time of one run of the command
  local start end
  start=$(date +%s.%N)
  "$@" > /dev/null 2>&1
  end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f\n", e - s }'
}
median() { sort -g | sed -n "$(( (pairs + 1) / 2 ))p"; }

for colours in 256 16; do
  depth=$([ "$colours" = 256 ] && echo 8 || echo 4)
  : > "$work/ours" ; : > "$work/theirs"
  for _ in $(seq "$pairs"); do
    seconds "$ours" "$work/sheet.png" "$work/ours.png" "$depth" >> "$work/ours"
    seconds pngnq -f -n "$colours" -s 10 -e -nq.png "$work/sheet.png" >> "$work/theirs"
  done
  o=$(median < "$work/ours"); t=$(median < "$work/theirs")
  awk -v c="$colours" -v o="$o" -v t="$t" \
    'BEGIN { printf "%3s colours: palette_save %.3f s, pngnq %.3f s, ratio %.2f\n", c, o, t, o / t }'
done
