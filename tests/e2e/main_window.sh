#!/usr/bin/env bash
# End-to-end check of the main window: tamux.exe under Wine (Windows XP mode, the winxp sample
# machine's registry imported into a fresh prefix) in a virtual display, once in English and once
# in a Czech locale with no settings file, checking what a person would see:
#   - a window titled "Zorv Info Tamux" of 584 x 494 pixels;
#   - the five button captions, the heading band and the two categories in the language chosen
#     (read back from the screenshot with tesseract and compared with the language's texts);
#   - a click on the input-devices category shows three headed sections in the right pane: the
#     category, the mouse and the keyboard;
#   - a click on the keyboard entry leaves the keyboard section open at the top of the right pane.
# Then once more in English with TAMUX_FORCE_FALLBACKS=1, as on a Windows without mouse-leave
# tracking, alpha blending, gradients or extended file attributes: the same checks, and the
# categories' pictures drawn without alpha blending.
# Screenshots of the windows are kept as main-window-en.png, main-window-cs.png and
# main-window-en-fallbacks.png.
#
# Usage: tests/e2e/main_window.sh <suite-folder> <artefact-folder>
# The suite folder holds Tamux/tamux.exe with its language modules. Exits non-zero when a check
# fails, 2 when the program cannot be run at all.
set -eu

suite=${1:?usage: main_window.sh <suite-folder> <artefact-folder>}
artefacts=${2:?usage: main_window.sh <suite-folder> <artefact-folder>}
root=$(cd "$(dirname "$0")/../.." && pwd)
[ -f "$suite/Tamux/tamux.exe" ] || { echo "main_window: no tamux.exe in $suite/Tamux" >&2; exit 2; }
command -v tesseract >/dev/null 2>&1 || { echo "main_window: tesseract is missing (Debian: tesseract-ocr, tesseract-ocr-ces)" >&2; exit 2; }
tesseract --list-langs 2>/dev/null | grep -qx ces || { echo "main_window: tesseract's Czech data is missing (Debian: tesseract-ocr-ces)" >&2; exit 2; }
suite=$(cd "$suite" && pwd)
mkdir -p "$artefacts"
artefacts=$(cd "$artefacts" && pwd)

. "$root/tests/e2e/lib/common.sh"
e2e_start main_window
e2e_display

# A fresh prefix set to Windows XP, with the sample machine's registry.
wine_prefix "$work/prefix" winxp
wine_import_machine "$root/samples/machines/winxp"

heading="#DBDBDB" # the right pane's section headings

# The text of a language's id, from the module's source (UTF-8).
text_of() {
    awk -v id="$2" '
        { line = $0; sub(/^[ \t]+/, "", line) }
        index(line, id ",") == 1 { sub(/^[0-9]+, *"/, "", line); sub(/"[ \t]*$/, "", line); print line; exit }
    ' "$root/data/lang/$1.rc"
}

# ocr <shot> <x> <y> <w> <h> <language> <light-on-dark: 1|0> <enlargement>: the text in a
# rectangle, enlarged for the reader, light text turned dark.
ocr() {
    if [ "$7" = 1 ]; then
        filter="-level 45%,72% -negate $8"
    else
        filter="$8"
    fi
    # shellcheck disable=SC2086
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray $filter \
        -bordercolor white -border 20 "$work/ocr.png"
    tesseract "$work/ocr.png" - -l "$6" --psm 7 2>/dev/null | tr -d '\f' | head -n 1
}

# reads <expected> <read>: whether a person would take the text read for the expected one (letter
# case, accents and a stray mark aside).
reads() {
    python3 - "$1" "$2" <<'PY'
import difflib, sys, unicodedata
def plain(text):
    text = unicodedata.normalize("NFKD", text)
    return "".join(c for c in text.lower() if c.isalnum() or c == " ").strip()
expected, read = plain(sys.argv[1]), plain(sys.argv[2])
best = max((difflib.SequenceMatcher(None, expected, read[i:i + len(expected)]).ratio()
            for i in range(max(1, len(read) - len(expected) + 1))), default=0)
sys.exit(0 if best >= 0.85 else 1)
PY
}

# shows <expected> <shot> <x> <y> <w> <h> <language> <light-on-dark>: whether the rectangle reads
# as the expected text at one of a few enlargements (small screen fonts read differently at each).
# The last reading is left in $read.
shows() {
    for scale in "-resize 400%" "-resize 300%" "-resize 600%" "-level 20%,80% -resize 400%"; do
        read=$(ocr "$2" "$3" "$4" "$5" "$6" "$7" "$8" "$scale")
        if reads "$1" "$read"; then return 0; fi
    done
    return 1
}

check_text() { # <what> <expected> <shot> <x> <y> <w> <h> <language> <light-on-dark>
    what=$1
    shift
    if shows "$@"; then
        pass "$what reads \"$1\""
    else
        fail "$what should read \"$1\", the screen shows \"$read\""
    fi
}

# run_language <code> <tesseract language> <locale> [fallbacks]: starts Tamux, checks it, keeps
# screenshots. With "fallbacks", every function older systems lack is taken as missing.
run_language() {
    code=$1
    lang_code=$1
    lang=$2
    locale=$3
    force=""
    name=$(echo "$code" | tr 'A-Z' 'a-z' | sed 's/csy/cs/')
    if [ "${4:-}" = fallbacks ]; then
        force=1
        code="$code (fallbacks)"
        name="$name-fallbacks"
    fi
    rm -rf "$work/suite"
    cp -r "$suite" "$work/suite"
    rm -f "$work/suite/Tamux/tamux.ini"
    if [ "$lang_code" = EN ]; then
        printf '[Options]\r\nLanguage=EN\r\n' >"$work/suite/Tamux/tamux.ini"
    fi
    # Wine's own desktop window draws the frame and title bar that a window manager would.
    (cd "$work/suite/Tamux" && LANG=$locale LC_ALL=$locale TAMUX_FORCE_FALLBACKS=$force \
        wine explorer /desktop=Tamux,800x600 tamux.exe >"$work/tamux-$name.log" 2>&1 &)
    window=$(wait_window "Zorv Info Tamux" 60) || {
        fail "$code: no window titled \"Zorv Info Tamux\" appeared"
        return
    }
    pass "$code: a window titled \"Zorv Info Tamux\""
    sleep 2
    size=$(xdotool getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }')
    if [ "$size" = "584x494" ]; then
        pass "$code: the window is 584 x 494"
    else
        fail "$code: the window is $size, not 584x494"
    fi

    start="$work/start-$name.png"
    screenshot -crop 800x600+0+0 +repage "$start"
    origin=$(client_origin "$start")
    if [ -z "$origin" ]; then
        fail "$code: the panes' panel is nowhere on screen"
        return
    fi
    cx=${origin% *}
    cy=${origin#* }

    # The top bar: each button's caption right of its picture.
    set -- 10 11 12 13 52
    for left in 0 190 280 370 460; do
        check_text "$code: button $1" "$(text_of "$lang_code" "$1")" \
            "$start" $((cx + left + 22)) $((cy + 3)) 68 19 "$lang" 1
        shift
    done
    check_text "$code: the heading band" "$(text_of "$lang_code" 1)" \
        "$start" $((cx + 214)) $((cy + 48)) 330 17 "$lang" 1
    # The left pane's rows of 20 pixels from client (9, 33), captions right of the images.
    check_text "$code: the first category" "$(text_of "$lang_code" 5590)" \
        "$start" $((cx + 40)) $((cy + 33)) 150 20 "$lang" 0
    check_text "$code: the second category" "$(text_of "$lang_code" 5591)" \
        "$start" $((cx + 40)) $((cy + 53)) 150 20 "$lang" 0
    # Each category's picture left of its caption: an empty row would be one or two colours.
    for row in 0 1; do
        colours=$(convert "$start" -crop "18x16+$((cx + 22))+$((cy + 35 + 20 * row))" +repage \
            -unique-colors txt:- | grep -c '^[0-9]')
        if [ "$colours" -ge 8 ]; then
            pass "$code: the picture of category $row is drawn ($colours colours)"
        else
            fail "$code: the picture of category $row has $colours colours"
        fi
    done

    # The input-devices category opens: three headings in the right pane (client 208, 119).
    xdotool mousemove $((cx + 80)) $((cy + 43)) click 1
    sleep 1
    opened="$work/opened-$name.png"
    screenshot -crop 800x600+0+0 +repage "$opened"
    runs=$(pixels "$opened" $((cx + 508)) $((cy + 119)) 1 329 | awk -v c="$heading" '
        $3 == c { if (!inside) { inside = 1; length_ = 0 } length_++; next }
        { if (inside && length_ >= 15) n++; inside = 0 }
        END { if (inside && length_ >= 15) n++; print n + 0 }')
    if [ "$runs" -eq 3 ]; then
        pass "$code: the input devices give three sections in the right pane"
    else
        fail "$code: the right pane shows $runs sections, not 3"
    fi
    # The category's heading has no picture; the devices' captions start after theirs.
    check_text "$code: right-pane section 0" "$(text_of "$lang_code" 5590)" \
        "$opened" $((cx + 208 + 12)) $((cy + 119)) 220 20 "$lang" 0
    check_text "$code: right-pane section 1" "$(text_of "$lang_code" 602)" \
        "$opened" $((cx + 208 + 34)) $((cy + 139)) 200 20 "$lang" 0
    check_text "$code: right-pane section 2" "$(text_of "$lang_code" 601)" \
        "$opened" $((cx + 208 + 34)) $((cy + 159)) 200 20 "$lang" 0

    # The keyboard entry (third row of the left pane): its section open at the top.
    xdotool mousemove $((cx + 80)) $((cy + 83)) click 1
    sleep 1
    shot="$work/keyboard-$name.png"
    screenshot -crop 800x600+0+0 +repage "$shot"
    top=$(pixels "$shot" $((cx + 508)) $((cy + 119)) 1 60 | awk -v c="$heading" '
        $3 == c { n++ } END { print n + 0 }')
    if [ "$top" -ge 15 ] && [ "$top" -le 20 ] &&
        shows "$(text_of "$lang_code" 601)" "$shot" $((cx + 208 + 34)) $((cy + 119)) 200 20 "$lang" 0; then
        pass "$code: the keyboard section is open at the top of the right pane"
    else
        fail "$code: the right pane's top shows \"$read\" with $top heading rows"
    fi
    convert "$shot" -crop "584x494+$((cx - 3))+$((cy - 22))" +repage \
        "$artefacts/main-window-$name.png" 2>/dev/null || cp "$shot" "$artefacts/main-window-$name.png"
    cp "$start" "$artefacts/start-$name.png"
    cp "$opened" "$artefacts/input-devices-$name.png"

    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    sleep 1
}

run_language EN eng C.UTF-8
# A Czech system and no settings file: the Czech module is chosen, texts in code page 1250.
run_language CSY ces cs_CZ.UTF-8
run_language EN eng C.UTF-8 fallbacks

echo "screenshots in $artefacts"
e2e_finish
