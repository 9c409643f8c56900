#!/usr/bin/env bash
# Time from starting a program under Wine to its main window on screen: tamux.exe against
# bench_window.exe (one window, nothing else), in turn, round by round, on the default sample
# machine (Windows XP) in a virtual display. Prints the median of each, the median of the pair
# ratios, and the figures of each round.
#
#   bench/startup_wine.sh [--rounds N] [--phases N] <suite folder> [<folder of bench_window.exe>]
#
# --phases N then starts tamux.exe N more times under Wine's trace and prints where its time goes
# (bench/startup_phases.py): Wine's start, the modules, the window, the device work, the display.
#
# The suite folder holds Tamux/tamux.exe with its language modules and SHARED/DATABASES, as the
# Windows build lays it out (build/win32/suite); bench_window.exe is taken from
# <suite folder>/../bench unless named. A window counts as drawn once it is mapped with its title
# (tamux.exe shows its window after the start-up, and both paint it at once with UpdateWindow);
# the display is polled with xdotool every few milliseconds. The Wine
# server is started once and kept for all rounds, so each round times what a user waits for when
# Wine is already up; the first start of all, which also starts the server, is printed apart.
set -euo pipefail

rounds=9
phases=0
while [ $# -gt 0 ]; do
    case "$1" in
        --rounds) rounds=$2; shift 2 ;;
        --phases) phases=$2; shift 2 ;;
        *) break ;;
    esac
done
suite=$(cd "${1:?usage: startup_wine.sh [--rounds N] [--phases N] <suite folder> [<bench_window folder>]}" && pwd)
reference=$(cd "${2:-$suite/../bench}" && pwd)/bench_window.exe
root=$(cd "$(dirname "$0")/.." && pwd)
[ -f "$suite/Tamux/tamux.exe" ] || { echo "startup_wine: no Tamux/tamux.exe in $suite" >&2; exit 2; }
[ -f "$reference" ] || { echo "startup_wine: no $reference" >&2; exit 2; }

. "$root/scripts/wine-env.sh"
work=$(mktemp -d)
xvfb=""
cleanup() {
    if [ -d "$work/prefix" ]; then WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; fi
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.2; done
[ -s "$work/display" ] || { echo "startup_wine: Xvfb did not start" >&2; exit 2; }
export DISPLAY=:$(cat "$work/display")

wine_prefix "$work/prefix" winxp
wine_import_machine "$root/samples/machines/winxp"
cp -r "$suite" "$work/suite"
printf '[Options]\r\nLanguage=EN\r\n' >"$work/suite/Tamux/tamux.ini"
cp "$reference" "$work/suite/Tamux/bench_window.exe"
wineserver -p

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# start_once <exe> <title>: milliseconds from the start to the window on screen.
start_once() {
    local started shown pid
    started=$(now_ms)
    (cd "$work/suite/Tamux" && exec "$TAMUX_WINE_LOADER" "$1" >/dev/null 2>&1) &
    pid=$!
    until xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do
        # A short pause between looks leaves the program a core of its own.
        sleep 0.005
        if [ $(($(now_ms) - started)) -gt 60000 ]; then
            echo "startup_wine: no window \"$2\" within a minute" >&2
            exit 1
        fi
    done
    shown=$(now_ms)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    # The process is gone once Wine knows it is: wait until no window of it is left.
    while xdotool search --name "^$2\$" >/dev/null 2>&1; do sleep 0.05; done
    echo $((shown - started))
}

first=$(start_once tamux.exe "Zorv Info Tamux")
echo "first start (Wine's server already up, prefix cold): tamux.exe $first ms"
ours=()
theirs=()
for round in $(seq 1 "$rounds"); do
    ours+=("$(start_once tamux.exe "Zorv Info Tamux")")
    theirs+=("$(start_once bench_window.exe "Tamux bench window")")
    echo "round $round: tamux.exe ${ours[-1]} ms, bench_window.exe ${theirs[-1]} ms"
done

python3 - "${ours[*]}" "${theirs[*]}" <<'PY'
import statistics, sys
ours = [float(x) for x in sys.argv[1].split()]
theirs = [float(x) for x in sys.argv[2].split()]
ratios = [a / b for a, b in zip(ours, theirs)]
print(f"tamux.exe to its window:        {statistics.median(ours):.0f} ms (min {min(ours):.0f}, max {max(ours):.0f})")
print(f"bench_window.exe to its window: {statistics.median(theirs):.0f} ms (min {min(theirs):.0f}, max {max(theirs):.0f})")
print(f"time ratio tamux / one window:  {statistics.median(ratios):.2f} (min {min(ratios):.2f}, max {max(ratios):.2f})")
PY

if [ "$phases" -gt 0 ]; then
    echo
    python3 "$root/bench/startup_phases.py" --rounds "$phases" --loader "$TAMUX_WINE_LOADER" \
        --folder "$work/suite/Tamux"
fi
