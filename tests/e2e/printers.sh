#!/usr/bin/env bash
# End-to-end check of the printers category: tamux.exe under Wine in a virtual display, with a
# private CUPS server offering one CUPS-PDF queue (tests/wine/cups.sh). Expands the printers
# category of the left pane and checks what a person would see:
#   - the wait dialog appears while the printers are queried (screenshot when it is caught; a
#     single printer is quick, so missing it is reported but is not a failure);
#   - the right pane then holds two headings: the category and the queue's section;
#   - opening the queue's section shows its lines: blue labels, maroon values, and the green
#     ticks and red crosses of the capability groups.
# Screenshots land in the artefact folder: printers-wait.png, printers-category.png,
# printers-section.png.
#
# Usage: tests/e2e/printers.sh <suite-folder> <artefact-folder>
# <suite-folder> holds Tamux/tamux.exe and its language modules (build/win32/suite). Needs root
# (the CUPS-PDF backend). Exits non-zero when a check fails.
set -euo pipefail

suite=${1:?usage: printers.sh <suite-folder> <artefact-folder>}
artefacts=${2:?usage: printers.sh <suite-folder> <artefact-folder>}
root=$(cd "$(dirname "$0")/../.." && pwd)
[ -f "$suite/Tamux/tamux.exe" ] || { echo "printers: no tamux.exe in $suite/Tamux" >&2; exit 2; }
suite=$(cd "$suite" && pwd)
mkdir -p "$artefacts"
artefacts=$(cd "$artefacts" && pwd)

# shellcheck source=lib/common.sh
. "$root/tests/e2e/lib/common.sh"
e2e_start printers
e2e_cups

# A display of our own, without a window manager: each top-level window of Wine is an X window.
# Screenshots come from Xvfb's framebuffer file: a grab of the X server while the wait dialog is
# up would make Wine drop the click that opened it.
e2e_display framebuffer

wine_prefix "$work/prefix" winxp
wine_import_machine "$root/samples/machines/winxp"

# The program in a folder of its own, as the suite lays it out.
cp -r "$suite" "$work/suite"
(cd "$work/suite/Tamux" && LANG=en_US.UTF-8 wine tamux.exe >"$work/tamux.log" 2>&1 &)
window=$(wait_window "Zorv Info Tamux" 90) || { echo "printers: no main window" >&2; exit 2; }
sleep 2

# The horizontal bands of a colour: "top bottom left right" per band of rows that hold at least
# 40 pixels of it, top to bottom.
bands() {
    pixels "$1" "$2" "$3" "$4" "$5" | awk -v c="$6" '
        $3 == c { n[$2]++; if (!($2 in l) || $1 < l[$2]) l[$2] = $1; if ($1 > r[$2]) r[$2] = $1 }
        END {
            for (y in n) if (n[y] >= 40) rows[y + 0] = 1
            top = -1
            for (y = 0; y < 4000; y++) {
                if (y in rows) { if (top < 0) { top = y; left = l[y]; right = r[y] } last = y }
                else if (top >= 0) { print top, last, left, right; top = -1 }
            }
            if (top >= 0) print top, last, left, right
        }'
}
# The pixels of a rectangle as "red green blue" decimal lines.
hues() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

eval "$(xdotool getwindowgeometry --shell "$window")"
win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
start_shot=$work/start.png
screenshot "$start_shot"

# The left pane's category headings are drawn in RGB(216, 208, 146): the printers category is
# the second heading band.
left_heading="#D8D092"
mapfile -t headings < <(bands "$start_shot" "$win_x" "$win_y" $((win_w / 2)) "$win_h" "$left_heading")
if [ "${#headings[@]}" -lt 2 ]; then
    cp "$start_shot" "$artefacts/printers-start.png"
    echo "printers: ${#headings[@]} category headings found in the left pane" >&2
    exit 1
fi
read -r top bottom left right <<<"${headings[1]}"
click_x=$(((left + right) / 2))
click_y=$(((top + bottom) / 2))

# Expand the printers category, and watch for the wait dialog meanwhile.
(
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "Please wait" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            screenshot "$work/wait.png"
            exit 0
        fi
        sleep 0.05
    done
) &
watcher=$!
xdotool mousemove "$click_x" "$click_y" click 1
wait "$watcher" || true
if [ -f "$work/wait.png" ]; then
    cp "$work/wait.png" "$artefacts/printers-wait.png"
    pass "the wait dialog appeared (printers-wait.png)"
else
    echo "note: the wait dialog came and went too fast to be caught"
fi

# The first query of a printer loads its PPD and can take a while: wait for the right pane's
# headings, drawn in RGB(219, 219, 219) - the category, then one per printer.
right_heading="#DBDBDB"
pane_x=$((win_x + win_w / 3))
category_shot=$artefacts/printers-category.png
sections=()
for _ in $(seq 1 60); do
    sleep 1
    screenshot "$category_shot"
    mapfile -t sections < <(bands "$category_shot" "$pane_x" "$win_y" $((win_x + win_w - pane_x)) "$win_h" "$right_heading")
    [ "${#sections[@]}" -ge 2 ] && break
done
sleep 1
if xdotool search --onlyvisible --name "Please wait" >/dev/null 2>&1; then
    fail "the wait dialog is still shown"
fi
if [ "${#sections[@]}" -eq 2 ]; then
    pass "the right pane shows the category and one printer section"
else
    fail "the right pane shows ${#sections[@]} headings, expected 2 (category and $TAMUX_CUPS_QUEUE)"
fi

if [ "${#sections[@]}" -ge 2 ]; then
    read -r top bottom left right <<<"${sections[1]}"
    section_top=$bottom
    pane_right=$right
    before_blue=$(count "$category_shot" "$left" "$section_top" $((right - left)) $((win_y + win_h - section_top)) "#0000FF")
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
    sleep 2
    section_shot=$artefacts/printers-section.png
    screenshot "$section_shot"
    area=("$left" "$section_top" $((pane_right - left)) $((win_y + win_h - section_top - 10)))
    blue=$(count "$section_shot" "${area[@]}" "#0000FF")
    maroon=$(count "$section_shot" "${area[@]}" "#800000")
    if [ "$blue" -gt $((before_blue + 200)) ] && [ "$maroon" -gt 200 ]; then
        pass "the printer's section shows its lines ($blue blue, $maroon maroon pixels)"
    else
        fail "the printer's section: $blue blue pixels (before: $before_blue), $maroon maroon"
    fi
    # Scroll to the capability groups: their lines carry ticks and crosses.
    xdotool key End
    sleep 1
    caps_shot=$artefacts/printers-capabilities.png
    screenshot "$caps_shot"
    green=$(hues "$caps_shot" "${area[@]}" | awk '$2 > 120 && $2 > $1 + 60 && $2 > $3 + 60' | wc -l)
    red=$(hues "$caps_shot" "${area[@]}" | awk '$1 > 150 && $1 > $2 + 80 && $1 > $3 + 80' | wc -l)
    if [ "$green" -gt 20 ] && [ "$red" -gt 20 ]; then
        pass "capability lines show ticks and crosses ($green green, $red red pixels)"
    else
        fail "capability lines: $green green and $red red pixels"
    fi
fi

if [ -n "$(ls -A "$TAMUX_CUPS_PDF_DIR" 2>/dev/null)" ]; then
    fail "showing the printers printed something: $(ls "$TAMUX_CUPS_PDF_DIR")"
fi

e2e_finish
