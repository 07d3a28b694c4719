#!/usr/bin/env bash
# Renders the dashboard running on the simulated car to a PNG (docs/dashboard.png).
#   tools/screenshot.sh [elm327|canusb] [seconds of driving] [layout A-D] [screen WxH] [out.png]
# Builds the program (default preset), runs it under Xvfb on a 1280 x 1024 screen (or
# Qt's offscreen platform when Xvfb is missing) in a throw-away home folder whose save
# folder holds the trip file of an earlier drive, so the histogram and totals show.
set -euo pipefail
cd "$(dirname "$0")/.."
adapter="${1:-elm327}"
seconds="${2:-8}"
layout="${3:-A}"
screen="${4:-1280x1024}"
out="$(realpath -m "${5:-docs/dashboard.png}")"
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target veloxcanmoni >/dev/null

home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/bin" "$home/data"
cp build/default/src/app/veloxcanmoni "$home/bin/"
# An earlier drive: totals, 30 minute bars and a few stored trips (semicolons, CR LF).
{
  printf 'C;;;12600;18450;412000\r\n'
  for v in 4.8 5.1 5.6 6.2 4.9 3.8 3.5 4.1 5.3 6.8 7.4 6.1 5.2 4.6 4.4 3.9 3.2 3.6 4.0 4.7 \
           5.5 6.0 5.8 5.0 4.3 3.7 4.2 4.9 5.4 5.9; do
    printf 'M;%s\r\n' "$v"
  done
  printf 'T;04:12:26;08:10:15;1800;1520;31000;61.5;38;12;55;20;15;10\r\n'
  printf 'T;04:12:26;17:42:03;2100;1890;35500;58.0;35;-8;60;18;12;10\r\n'
} >"$home/data/TRAJETS.CSV"
printf '[File]\r\nSavePath=%s\r\n' "$home/data" >"$home/bin/VeloxCanMoni-simulated.INI"

run=("$home/bin/veloxcanmoni" --simulate "$adapter" --layout "$layout" --screenshot "$out" --after "$((seconds * 1000))")
if command -v xvfb-run >/dev/null; then
  HOME="$home" xvfb-run -a -s "-screen 0 ${screen}x24" "${run[@]}"
else
  HOME="$home" QT_QPA_PLATFORM=offscreen "${run[@]}"
fi
echo "wrote $out"
