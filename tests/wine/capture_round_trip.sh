#!/usr/bin/env bash
# The capture's round trip under Wine, on sample machines made real in a Wine prefix each: the
# machine's registry imported (HKEY_DYN_DATA with regimport), Wine set to its Windows version, the
# process in a locale of its code page, and the private CUPS-PDF printer present when tests/wine/
# cups.sh can start one. tamux-capture.exe captures the prefix and, with --report, saves the
# report of every entry through the real platform, with the report code of tamux.exe; the native
# tamux-report then writes the report of the captured folder. Both must agree byte for byte
# apart from the line with the time of creation.
#   capture_round_trip.sh <work folder> <Windows build folder> <tamux-report> [machine ...]
# Machines are given as <sample>:<Wine version>:<locale>; by default the XP, the 98 SE and the
# Windows 2000 (code page 1250) samples. Prints one line per machine and a summary last; exits
# non-zero when a machine's reports differ or a step fails.
set -uo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 <work folder> <Windows build folder> <tamux-report> [machine ...]" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(realpath -m "$1")
build=$(realpath -m "$2")
tamux_report=$(realpath -m "$3")
shift 3
machines=("$@")
[ ${#machines[@]} -gt 0 ] || machines=(winxp:winxp:en_US.UTF-8 win98se:win98:de_DE.UTF-8
    win2000:win2k:cs_CZ.UTF-8)

# shellcheck source=../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
wine_select_arch || exit 1
for file in "$build/suite/Tamux/tamux-capture.exe" "$build/tools/regimport/regimport.exe" \
    "$tamux_report"; do
    [ -f "$file" ] || { echo "capture round trip: $file is missing" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work"
unset DISPLAY WAYLAND_DISPLAY
printer=""
if env=$("$here/cups.sh" start "$work/cups" 2>"$work/cups.log"); then
    eval "$env"
    printer=" with the CUPS-PDF printer"
else
    echo "capture round trip: no private CUPS server; the machines have no printer"
fi
stop_all() {
    wineserver -k >/dev/null 2>&1
    "$here/cups.sh" stop "$work/cups" >/dev/null 2>&1
}
trap stop_all EXIT

# The suite as the zip lays it out, the report in English whatever the locale.
cp -r "$build/suite" "$work/suite"
rm -f "$work/suite/Tamux/tamux.ini"
printf '[Options]\r\nLanguage=EN\r\n' >"$work/suite/Tamux/tamux.ini"

failed=0
for entry in "${machines[@]}"; do
    IFS=: read -r machine version locale <<<"$entry"
    dir=$work/$machine
    mkdir -p "$dir"
    export LANG=$locale LC_ALL=$locale
    wine_prefix "$dir/prefix" "$version"
    wine_import_machine "$root/samples/machines/$machine"
    # HKEY_DYN_DATA lives only as long as the server: one server for the import and the capture.
    wineserver -p
    for file in "$root/samples/machines/$machine"/registry/hkdd-*.reg; do
        [ -e "$file" ] || continue
        wine "$build/tools/regimport/regimport.exe" "$(winepath -w "$file")" >>"$dir/regimport.log" 2>&1 ||
            echo "capture round trip: $machine: regimport of $(basename "$file") failed"
    done
    start=$(date +%s%N)
    (cd "$work/suite/Tamux" && wine tamux-capture.exe --report "$(winepath -w "$dir/live.txt")" \
        "$(winepath -w "$dir/captured")") >"$dir/capture.log" 2>&1
    status=$?
    elapsed=$((($(date +%s%N) - start) / 1000000))
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    if [ $status -ne 0 ] || [ ! -f "$dir/live.txt" ]; then
        echo "capture round trip: $machine: tamux-capture failed ($status):"
        sed 's/^/    /' "$dir/capture.log"
        failed=$((failed + 1))
        continue
    fi
    if ! "$tamux_report" --all "$dir/captured" -o "$dir/replay.txt" 2>"$dir/replay.log"; then
        echo "capture round trip: $machine: tamux-report refused the captured folder:"
        sed 's/^/    /' "$dir/replay.log"
        failed=$((failed + 1))
        continue
    fi
    # Everything but the second line, the time the report was made.
    sed '2d' "$dir/live.txt" >"$dir/live.compared"
    sed '2d' "$dir/replay.txt" >"$dir/replay.compared"
    size=$(find "$dir/captured" -type f -printf '%s\n' | awk '{ n += $1 } END { print n }')
    bytes=$(wc -c <"$dir/live.compared")
    if cmp -s "$dir/live.compared" "$dir/replay.compared"; then
        echo "capture round trip: $machine ($version, $locale$printer): $bytes bytes compared, identical; capture $size bytes, $elapsed ms with Wine's start"
    else
        echo "capture round trip: $machine ($version, $locale$printer): the reports differ:"
        diff "$dir/live.compared" "$dir/replay.compared" | head -n 40 | sed 's/^/    /'
        failed=$((failed + 1))
    fi
    grep -h "not captured\|showed" "$dir/capture.log" | sed "s/^/    $machine: /"
done
echo "capture round trip: ${#machines[@]} machines, $failed failed"
[ "$failed" -eq 0 ]
