#!/bin/sh
# Writes everything the program leaves on disk for the sample recordings into one folder,
# so that a change meant to keep outputs as they are can be checked byte for byte:
#
#   tools/outputs.sh build/default /tmp/before      (before the change)
#   tools/outputs.sh build/default /tmp/after       (after it)
#   diff -r /tmp/before /tmp/after
#
# Each sample is replayed in both unit systems and both temperature scales (candump logs
# in both adapter forms) into a value log and a trip file, exported as a candump log and
# decoded; vcm-record writes a log set (raw log with markers, GPS log, value log, trip
# file) of the simulated car through the live path, in both adapter forms.
set -eu
build=${1:?usage: outputs.sh BUILD_DIR OUT_DIR}
out=${2:?usage: outputs.sh BUILD_DIR OUT_DIR}
here=$(cd "$(dirname "$0")/.." && pwd)
app="$build/src/app/veloxcanmoni"
record="$build/tools/record/vcm-record"
samples="$here/samples"
start="2026-12-04 09:10:00"

rm -rf "$out"
mkdir -p "$out"
for input in CAN_04122026_0910.txt drive-elm327.txt drive-canusb.txt elm327-drive.txt canusb-drive.txt drive.candump.log; do
    name=${input%.*}
    adapters=default
    case $input in *.candump.log) adapters="elm327 canusb" ;; esac
    for adapter in $adapters; do
        for units in si us; do
            for temp in c f; do
                dir="$out/$name.$adapter.$units.$temp"
                mkdir -p "$dir"
                set -- --replay "$samples/$input" --out "$dir" --units "$units" --temp "$temp" --start "$start"
                [ "$adapter" = default ] || set -- "$@" --adapter "$adapter"
                "$app" "$@" >/dev/null 2>"$dir/messages.txt"
            done
        done
    done
    case $input in
    *.candump.log) ;;
    *) "$app" --replay "$samples/$input" --export-candump "$out/$name.export.log" --start "$start" >/dev/null 2>&1 ;;
    esac
    "$app" --decode "$samples/$input" >"$out/$name.decoded.txt" 2>&1 || true
done
for adapter in elm327 canusb; do
    dir="$out/record.$adapter"
    mkdir -p "$dir"
    "$record" --out "$dir" --seconds 30 --seed 1 --adapter "$adapter" >/dev/null
done
# Messages and reports name the sample by its path: keep only the part inside the repository.
find "$out" -name '*.txt' -exec sed -i "s|$here/||g" {} +
find "$out" -type f | wc -l | xargs printf '%s files in %s\n' >&2 && echo "$out" >&2
