#!/usr/bin/env bash
# End-to-end check of the keyboard and mouse sections and the live lock-key lines, on tamux.exe
# under Wine (Windows XP mode) in a virtual display, on the prefix's own registry:
#   - the left pane's input-devices category opens, and its keyboard and mouse entries show their
#     sections (screenshots kept as keyboard-section.png and mouse-section.png);
#   - with tesseract installed, the keyboard section names the prefix's first preloaded layout;
#   - Caps Lock pressed with xdotool turns the CAPS line green, and pressed again black, and
#     nothing else in the window changes;
#   - a click on the NUM line toggles Num Lock: the line below the CAPS line changes colour;
#   - the refresh on activation is left to the native tests (see the note near the end).
#
# Usage: tests/e2e/keyboard.sh <suite-folder> <artefact-folder>
# The suite holds Tamux/tamux.exe with its language modules and SHARED/DATABASES. Exits non-zero
# when a check fails, 2 when the program cannot be run at all.
set -eu

usage="usage: keyboard.sh <suite-folder> <artefact-folder>"
suite=${1:?$usage}
artefacts=${2:?$usage}
root=$(cd "$(dirname "$0")/../.." && pwd)
[ -f "$suite/Tamux/tamux.exe" ] || { echo "keyboard: no tamux.exe in $suite/Tamux" >&2; exit 2; }
mkdir -p "$artefacts"
artefacts=$(cd "$artefacts" && pwd)

. "$root/tests/e2e/lib/common.sh"
e2e_start keyboard
e2e_display
wine_prefix "$work/prefix" winxp

# A copy of the suite, so that the settings file the program writes stays in the work folder.
cp -r "$suite" "$work/suite"
printf '[Options]\r\nLanguage=EN\r\n' >"$work/suite/Tamux/tamux.ini"
# Wine's own desktop window draws the frames that a window manager would.
(cd "$work/suite/Tamux" && wine explorer /desktop=Tamux,800x600 tamux.exe >"$work/tamux.log" 2>&1 &)
window=$(wait_window "Zorv Info Tamux" 60) ||
    { echo "keyboard: no window titled \"Zorv Info Tamux\" appeared" >&2; exit 2; }
sleep 2

shot() {
    screenshot -crop 800x600+0+0 +repage "$1"
}
# The bounding box "x y w h" of the pixels in which two screenshots differ, or nothing.
changed_box() {
    compare -metric AE -fuzz 0 "$1" "$2" -compose src -highlight-color '#FF0000' \
        -lowlight-color '#000000' "$work/diff.png" 2>/dev/null || true
    convert "$work/diff.png" -depth 8 txt:- | awk '
        /^#/ { next }
        toupper($3) == "#FF0000" {
            split($1, at, /[,:]/)
            if (n++ == 0) { x0 = x1 = at[1]; y0 = y1 = at[2] }
            if (at[1] < x0) x0 = at[1]; if (at[1] > x1) x1 = at[1]
            if (at[2] < y0) y0 = at[2]; if (at[2] > y1) y1 = at[2]
        }
        END { if (n) print x0, y0, x1 - x0 + 1, y1 - y0 + 1 }'
}

green="#008000"
black="#000000"

shot "$work/start.png"
cp "$work/start.png" "$artefacts/start.png"
origin=$(client_origin "$work/start.png")
[ -n "$origin" ] || { echo "keyboard: the panes' panel colour is nowhere on screen" >&2; exit 2; }
cx=${origin% *}
cy=${origin#* }
# Left pane rows, 20 pixels each, from client (9, 33): the category heading, mouse, keyboard.
left_x=$((cx + 9 + 60))
heading_y=$((cy + 33 + 10))
mouse_y=$((heading_y + 20))
keyboard_y=$((heading_y + 40))

click() {
    xdotool mousemove "$1" "$2" click 1
    sleep 1
}

click "$left_x" "$heading_y"
click "$left_x" "$mouse_y"
shot "$artefacts/mouse-section.png"
click "$left_x" "$keyboard_y"
shot "$artefacts/keyboard-section.png"
before="$artefacts/keyboard-section.png"
if [ "$(changed_box "$artefacts/mouse-section.png" "$before")" ]; then
    pass "the keyboard entry shows its own section"
else
    fail "clicking the keyboard entry changed nothing on screen"
fi

if command -v tesseract >/dev/null 2>&1; then
    layout=$(wine reg query 'HKCU\Keyboard Layout\Preload' /v 1 2>/dev/null | tr -d '\r' |
        awk '$1 == "1" { print $NF }')
    # Black on white, enlarged: the maroon value reads reliably then. OCR takes a zero for an "o"
    # now and then; a layout id holds no such letter.
    convert "$before" -crop "584x494+$cx+$cy" +repage -colorspace Gray -threshold 60% -scale 400% \
        "$work/ocr.png"
    if tesseract "$work/ocr.png" - --psm 6 2>/dev/null | tr 'oO' '00' | grep -q "$layout"; then
        pass "the keyboard section names the preloaded layout $layout"
    else
        fail "the keyboard section does not name the preloaded layout $layout"
    fi
else
    echo "skipped: layout text check (no tesseract)"
fi

# Caps Lock on: the only change on screen is the CAPS line, which turns green.
xdotool key Caps_Lock
sleep 1
on="$work/caps-on.png"
shot "$on"
cp "$on" "$artefacts/caps-on.png"
box=$(changed_box "$before" "$on")
if [ -z "$box" ]; then
    fail "Caps Lock changed nothing on screen"
    caps=""
else
    set -- $box
    caps="$1 $2 $3 $4"
    if [ "$4" -gt 24 ]; then
        fail "Caps Lock changed more than one line: $3x$4 at $1,$2"
    elif [ "$(count "$on" "$@" "$green")" -ge 10 ] && [ "$(count "$on" "$@" "$black")" -eq 0 ]; then
        pass "Caps Lock turns the CAPS line green ($3x$4 at $1,$2)"
    else
        fail "the changed line at $1,$2 is not green"
    fi
fi

xdotool key Caps_Lock
sleep 1
off="$work/caps-off.png"
shot "$off"
if [ -n "$caps" ]; then
    set -- $caps
    if [ "$(count "$off" "$@" "$black")" -ge 10 ] && [ "$(count "$off" "$@" "$green")" -eq 0 ]; then
        pass "Caps Lock again turns the CAPS line black"
    else
        fail "the CAPS line is not black after the second press"
    fi
fi

# The NUM line is the next line, 20 pixels down; a click on its text toggles Num Lock.
if [ -n "$caps" ]; then
    set -- $caps
    num_x=$(($1 + $3 / 2))
    num_y=$(($2 + $4 / 2 + 20))
    num_box="$1 $((num_y - 8)) $3 16"
    set -- $num_box
    was_green=$(count "$off" "$@" "$green")
    click "$num_x" "$num_y"
    num="$work/num.png"
    shot "$num"
    cp "$num" "$artefacts/num-clicked.png"
    now_green=$(count "$num" "$@" "$green")
    now_black=$(count "$num" "$@" "$black")
    if [ "$was_green" -gt 0 ] && [ "$now_green" -eq 0 ] && [ "$now_black" -ge 10 ]; then
        pass "clicking the NUM line turns Num Lock off"
    elif [ "$was_green" -eq 0 ] && [ "$now_green" -ge 10 ] && [ "$now_black" -eq 0 ]; then
        pass "clicking the NUM line turns Num Lock on"
    else
        fail "the NUM line did not change colour after the click ($was_green green before, $now_green after)"
    fi
    click "$num_x" "$num_y"  # and back
fi

# Not checked here: a lock key changed in another program and seen when Tamux is activated again.
# Wine 8 does not reliably bring a program's key states up to date on activation (the same steps
# show the new state or the old one depending on earlier clicks), so the refresh on activation is
# checked by the native tests, where the simulated keyboard behaves as Windows does.

echo "screenshots in $artefacts"
e2e_finish
