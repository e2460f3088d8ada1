#!/usr/bin/env bash
# The palette export against the reference quantiser pngnq, whole process
# against whole process (decode, quantise, write) on the shared sheet, and
# the 32-bit save of the same sheet against a bare single-threaded libpng
# write of its pixels (the save or write alone, as palette_save reports it).
# Five pairs per comparison (or $PAIRS) run in alternation, medians compared;
# THREADS sets the save's compression threads (the machine's, unless set).
#   [PAIRS=9] [THREADS=1] bench/palette-vs-pngnq.sh [build folder] [data folder]
# pngnq is no build dependency: without it the palette comparison is skipped.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
data="${2:-${TH_BENCH_DATA:-$root/../shared/bench-data}}"
sheet="$data/sheet4096.png"
ours="$build/bench/palette_save"
pairs=${PAIRS:-5}
threads=${THREADS:-$(nproc)}

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
range() { sort -g | sed -n '1p;$p' | paste -sd- ; }

echo "$threads compression thread(s), $pairs pairs"
if command -v pngnq > /dev/null; then
  for colours in 256 16; do
    depth=$([ "$colours" = 256 ] && echo 8 || echo 4)
    : > "$work/ours" ; : > "$work/theirs"
    for _ in $(seq "$pairs"); do
      seconds "$ours" "$work/sheet.png" "$work/ours.png" "$depth" "$threads" >> "$work/ours"
      seconds pngnq -f -n "$colours" -s 10 -e -nq.png "$work/sheet.png" >> "$work/theirs"
    done
    o=$(median < "$work/ours"); t=$(median < "$work/theirs")
    awk -v c="$colours" -v o="$o" -v t="$t" -v ro="$(range < "$work/ours")" -v rt="$(range < "$work/theirs")" \
      'BEGIN { printf "%3s colours: palette_save %.3f s (%s), pngnq %.3f s (%s), ratio %.2f\n", c, o, ro, t, rt, o / t }'
  done
else
  echo "pngnq is not installed (Debian package pngnq): palette comparison skipped"
fi

: > "$work/ours" ; : > "$work/theirs"
for _ in $(seq "$pairs"); do
  "$ours" "$work/sheet.png" "$work/ours.png" 32 "$threads" >> "$work/ours"
  "$ours" "$work/sheet.png" "$work/bare.png" bare >> "$work/theirs"
done
o=$(median < "$work/ours"); t=$(median < "$work/theirs")
awk -v o="$o" -v t="$t" -v ro="$(range < "$work/ours")" -v rt="$(range < "$work/theirs")" \
  'BEGIN { printf " 32 bit: save %.3f s (%s), bare libpng write %.3f s (%s), ratio %.2f\n", o, ro, t, rt, o / t }'
