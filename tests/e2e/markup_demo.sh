#!/usr/bin/env bash
# End-to-end check of the section panes and the info line markup as drawn on screen: runs the
# markup demo (tools/markup_demo) under Wine in a virtual display, keeps its screenshots and
# checks pixels where the colours are fixed:
#   - an item line's maroon value starts 200 pixels from the line's left edge;
#   - a value after a label wider than that starts after the label instead;
#   - the CAPS indicator (on) is green, the NUM indicator (off) black;
#   - an escaped lone "<" in a value is drawn;
#   - a top-bar button's caption turns from silver to white under the pointer;
#   - after the End key, the right pane has scrolled down to the rule of an HR line.
#
# Usage: tests/e2e/markup_demo.sh <suite-folder> <artefact-folder>
# The demo is tools/markup_demo/markup_demo.exe of the Windows build that holds the suite folder.
# Exits non-zero when a check fails.
set -eu

usage="usage: markup_demo.sh <suite-folder> <artefact-folder>"
artefacts=${2:?$usage}
root=$(cd "$(dirname "$0")/../.." && pwd)
demo=$(cd "${1:?$usage}/.." && pwd)/tools/markup_demo/markup_demo.exe
[ -f "$demo" ] || { echo "markup_demo: no demo program at $demo" >&2; exit 2; }
mkdir -p "$artefacts"
artefacts=$(cd "$artefacts" && pwd)

. "$root/tests/e2e/lib/common.sh"
e2e_start markup_demo
e2e_display
wine_boot_prefix "$work/prefix"

cp "$demo" "$work/markup_demo.exe"
probe="$work/probe.txt"
(cd "$work" && wine markup_demo.exe "$(winepath -w "$probe")" >"$work/demo.log" 2>&1 &)
window=""
for _ in $(seq 1 120); do
    window=$(xdotool search --name "Tamux markup demo" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && [ -s "$probe" ] && break
    sleep 0.5
done
[ -n "$window" ] || { echo "markup_demo: the demo window did not appear" >&2; exit 2; }
[ -s "$probe" ] || { echo "markup_demo: the demo wrote no probe file" >&2; exit 2; }
sleep 1
cp "$probe" "$artefacts/markup_demo_probe.txt"
shot="$artefacts/markup_demo.png"
screenshot "$shot"

# probe NAME FIELD: field 1 the line's left edge, 2..5 left, top, width, height of the run.
probe() {
    tr -d '\r' <"$probe" | awk -v name="$1" -v field="$2" '$1 == name { print $(field + 1) }'
}
# The leftmost x of a colour in a rectangle, or nothing.
leftmost() {
    pixels "$1" "$2" "$3" "$4" "$5" | awk -v c="$6" '$3 == c && (min == "" || $1 < min) { min = $1 } END { print min }'
}

maroon="#800000"
green="#008000"
black="#000000"

line_left=$(probe maroon_value 1)
top=$(probe maroon_value 3)
height=$(probe maroon_value 5)
# The whole row from the line's left edge: the first maroon pixel is where the value starts.
first=$(leftmost "$shot" "$line_left" "$top" 330 "$height" "$maroon")
if [ -z "$first" ]; then
    fail "no maroon value in the item line at y=$top"
else
    offset=$((first - line_left))
    # The glyph's left bearing may add a pixel or two to the 200.
    if [ "$offset" -ge 200 ] && [ "$offset" -le 202 ]; then
        pass "maroon value starts $offset pixels in"
    else
        fail "maroon value starts $offset pixels in, expected 200"
    fi
fi

pushed_left=$(probe pushed_value 1)
pushed_x=$(probe pushed_value 2)
pushed_top=$(probe pushed_value 3)
pushed=$(leftmost "$shot" "$pushed_left" "$pushed_top" 330 "$(probe pushed_value 5)" "$maroon")
if [ -z "$pushed" ]; then
    fail "no maroon value after the wide label"
elif [ $((pushed - pushed_left)) -le 202 ] || [ $((pushed - pushed_x)) -gt 2 ] ||
    [ $((pushed - pushed_x)) -lt 0 ]; then
    fail "value after the wide label starts at $((pushed - pushed_left)), laid out at $((pushed_x - pushed_left))"
else
    pass "value after the wide label starts $((pushed - pushed_left)) pixels in"
fi

for indicator in green_indicator:$green black_indicator:$black; do
    name=${indicator%%:*}
    color=${indicator#*:}
    n=$(count "$shot" "$(probe "$name" 2)" "$(probe "$name" 3)" "$(probe "$name" 4)" \
        "$(probe "$name" 5)" "$color")
    other=$(count "$shot" "$(probe "$name" 2)" "$(probe "$name" 3)" "$(probe "$name" 4)" \
        "$(probe "$name" 5)" "$([ "$color" = "$green" ] && echo "$black" || echo "$green")")
    if [ "$n" -ge 20 ] && [ "$other" -eq 0 ]; then
        pass "$name drawn in $color ($n pixels)"
    else
        fail "$name: $n pixels of $color, $other of the other indicator colour"
    fi
done

n=$(count "$shot" "$(probe lone_less_than 2)" "$(probe lone_less_than 3)" \
    "$(probe lone_less_than 4)" "$(probe lone_less_than 5)" "$maroon")
if [ "$n" -ge 3 ]; then pass "escaped lone \"<\" drawn"; else fail "escaped lone \"<\" not drawn"; fi

# The top bar's buttons: the caption is silver until the pointer comes over the button, then
# white. The rectangle leaves out the edge, which turns white too under the pointer.
bx=$(($(probe report_button 2) + 22))
by=$(($(probe report_button 3) + 2))
bw=$(($(probe report_button 4) - 24))
bh=$(($(probe report_button 5) - 4))
silver=$(count "$shot" "$bx" "$by" "$bw" "$bh" "#C0C0C0")
white=$(count "$shot" "$bx" "$by" "$bw" "$bh" "#FFFFFF")
xdotool mousemove $((bx + bw / 2)) $((by + bh / 2))
sleep 1
hover="$artefacts/markup_demo_hover.png"
screenshot "$hover"
white_hover=$(count "$hover" "$bx" "$by" "$bw" "$bh" "#FFFFFF")
if [ "$silver" -ge 10 ] && [ "$white" -eq 0 ] && [ "$white_hover" -ge 10 ]; then
    pass "button caption silver ($silver pixels), white under the pointer ($white_hover pixels)"
else
    fail "button caption: $silver silver and $white white pixels, $white_hover white under the pointer"
fi

# Scroll the right pane to its end with the keyboard, then look for the HR rule: a black
# line across the pane.
pane_x=$(probe right_pane 2)
pane_y=$(probe right_pane 3)
pane_w=$(probe right_pane 4)
pane_h=$(probe right_pane 5)
xdotool mousemove $((pane_x + pane_w / 2)) $((pane_y + 5)) click 1
xdotool key --window "$window" End
sleep 1
scrolled="$artefacts/markup_demo_scrolled.png"
screenshot "$scrolled"
longest=$(pixels "$scrolled" "$pane_x" "$pane_y" "$pane_w" "$pane_h" | awk -v c="$black" '
    $3 == c { run[$2]++ } END { m = 0; for (y in run) if (run[y] > m) m = run[y]; print m }')
if [ "$longest" -ge $((pane_w / 2)) ]; then
    pass "HR rule shown after scrolling ($longest pixels long)"
else
    fail "no HR rule after scrolling to the end (longest black row: $longest pixels)"
fi

echo "screenshots: $shot $hover $scrolled"
e2e_finish
