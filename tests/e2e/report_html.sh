#!/usr/bin/env bash
# End-to-end check of the HTML report as a browser shows it, in three languages and code pages:
# winxp in English (1252), win2000 in Czech (1250) and winme in Russian (1251). For each, the
# native tamux-report writes the report with every entry ticked, then:
#   - the file names the machine's ANSI code page in its meta charset;
#   - tidy finds no error in it (read as raw bytes: tidy would take it for UTF-8 otherwise);
#   - headless Chromium draws it (report-html-<machine>-<language>.png), and the picture holds the
#     whole report;
#   - the picture's colours are the panes': the title is navy #000080; navy, blue #0000ff,
#     maroon #800000 and green #008000 text is there and nothing is drawn in a bright red (such
#     as #c00a00);
#   - tesseract reads words of the report back from the picture, Czech words with their
#     diacritics and Russian words in Cyrillic among them: a wrong charset or a lost byte shows
#     as a word that cannot be read;
#   - on the lines tesseract finds: a navy label and a blue label, each with its value in
#     maroon beside it; CAPS, NUM, SCROLL and INS with the state word the report gives them,
#     both green when on and black when off.
# The top of the English picture is kept as report-html.png too, the size the README shows.
#
# Usage: tests/e2e/report_html.sh <suite-folder> <artefact-folder>
# <suite-folder> holds Tamux/tamux.exe with its language modules and SHARED/DATABASES; the native
# tamux-report is $TAMUX_REPORT_TOOL, or build/native's (built there when missing). Needs
# Debian's chromium, tidy, imagemagick and tesseract-ocr with its ces and rus data. Exits
# non-zero when a check fails, 2 when the checks cannot be run.
set -euo pipefail

usage="usage: report_html.sh <suite-folder> <artefact-folder>"
suite=${1:?$usage}
artefacts=${2:?$usage}
root=$(cd "$(dirname "$0")/../.." && pwd)
[ -f "$suite/Tamux/tamux.exe" ] || { echo "report_html: no tamux.exe in $suite/Tamux" >&2; exit 2; }
suite=$(cd "$suite" && pwd)
for tool in chromium tidy tesseract convert iconv; do
    command -v "$tool" >/dev/null || { echo "report_html: $tool is missing" >&2; exit 2; }
done
for lang in eng ces rus; do
    tesseract --list-langs 2>/dev/null | grep -qx "$lang" ||
        { echo "report_html: tesseract has no $lang data (tesseract-ocr-$lang)" >&2; exit 2; }
done
tamux_report=${TAMUX_REPORT_TOOL:-$root/build/native/tools/tamux_report/tamux-report}
if [ ! -x "$tamux_report" ] && [ -z "${TAMUX_REPORT_TOOL:-}" ] && [ -f "$root/build/native/build.ninja" ]; then
    cmake --build "$root/build/native" --target tamux-report >/dev/null
fi
[ -x "$tamux_report" ] || { echo "report_html: no tamux-report at $tamux_report" >&2; exit 2; }
mkdir -p "$artefacts"
artefacts=$(cd "$artefacts" && pwd)

# shellcheck source=lib/common.sh
. "$root/tests/e2e/lib/common.sh"
e2e_start report_html

# colours <file.png> [crop WxH+X+Y]: "navy blue maroon green black red ink", the pixel counts of
# the picture (or the rectangle) near each colour the panes draw, of a bright red none of them
# draws (#c00a00, #ff0000 and their like), and of every pixel that is not white. "Near" is each
# channel within 40 of the colour: the cores of the glyphs, not their anti-aliased rims, which
# blend into the white.
colours() {
    local crop=()
    [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
    convert "$1" "${crop[@]}" -alpha off -depth 8 -format %c histogram:info:- | awk -F'[:(),]+' '
        function near(r, g, b, R, G, B) {
            return r >= R - 40 && r <= R + 40 && g >= G - 40 && g <= G + 40 && b >= B - 40 && b <= B + 40
        }
        NF >= 5 {
            n = $1 + 0; r = $3 + 0; g = $4 + 0; b = $5 + 0
            if (near(r, g, b, 0, 0, 128)) navy += n
            else if (near(r, g, b, 0, 0, 255)) blue += n
            else if (near(r, g, b, 128, 0, 0)) maroon += n
            else if (near(r, g, b, 0, 128, 0)) green += n
            else if (near(r, g, b, 0, 0, 0)) black += n
            else if (r >= 176 && g < 64 && b < 64) red += n
            if (r < 250 || g < 250 || b < 250) ink += n
        }
        END { print navy + 0, blue + 0, maroon + 0, green + 0, black + 0, red + 0, ink + 0 }'
}

# bands <file.png>: "top bottom" of each band of pixel rows holding text, down the picture; bands
# less than 5 rows apart are one (a line's descenders sit apart from its letters).
bands() {
    local height
    height=$(identify -format %h "$1")
    convert "$1" -alpha off -colorspace Gray -threshold 90% -negate -scale "1x$height!" -depth 8 txt:- |
        awk -F'[(,):[:space:]]+' '/^[0-9]/ {
            y = $2 + 0; ink = $3 + 0 > 0
            if (ink) { if (open && y - bottom < 5) bottom = y; else { if (open) print top, bottom; top = bottom = y; open = 1 } }
        }
        END { if (open) print top, bottom }'
}

# dominant <file.png> <crop WxH+X+Y>: the colour most of the rectangle's glyph pixels are near
# (navy, blue, maroon, green, black or red) and how many, "none 0" when it holds no glyph.
dominant() {
    colours "$1" "$2" | awk '{
        split("navy blue maroon green black red", name, " ")
        best = 1; for (i = 2; i <= 6; i++) if ($i > $best) best = i
        if ($best > 0) print name[best], $best; else print "none", 0 }'
}

# word_box <ocr.tsv> <word>: "left top width height" of the first word tesseract read as that
# (a colon after it aside), then the same of the value beside it: the nearest word to its right,
# more than a word space away, on the same row of the picture (tesseract may put the two columns
# in separate blocks). Nothing when the word was not read.
word_box() {
    awk -F'\t' -v want="$2" '
        NR > 1 && $1 == 5 && $12 != "" { n++; l[n] = $7; t[n] = $8; w[n] = $9; h[n] = $10; text[n] = $12 }
        END {
            for (i = 1; i <= n; i++) { s = text[i]; sub(/:$/, "", s); if (s == want) break }
            if (i > n) exit
            print l[i], t[i], w[i], h[i]
            mid = t[i] + h[i] / 2; right = l[i] + w[i]; best = 0
            # The label may run on in more words: the value lies past a gap wider than a space.
            for (j = 1; j <= n; j++) {
                if (t[j] > mid || t[j] + h[j] < mid || l[j] < right) continue
                if (!best || l[j] < l[best]) best = j
            }
            while (best) {
                if (l[best] - right > 30) { print l[best], t[best], w[best], h[best]; exit }
                right = l[best] + w[best]; next_best = 0
                for (j = 1; j <= n; j++) {
                    if (t[j] > mid || t[j] + h[j] < mid || l[j] < right) continue
                    if (!next_best || l[j] < l[next_best]) next_best = j
                }
                best = next_best
            }
        }' "$1"
}

# expect_word <name> <png> <tsv> <word> <label colour> <value colour> [value words]:
# the word's glyphs are in the label's colour, the value beside it in the value's, and the value
# is one of the words given.
expect_word() {
    local name=$1 png=$2 tsv=$3 word=$4 want=$5 want_value=$6
    shift 6
    local boxes colour count value_colour value_count text
    mapfile -t boxes < <(word_box "$tsv" "$word")
    if [ ${#boxes[@]} -eq 0 ]; then
        fail "$name: tesseract found no \"$word\" to look at"
        return
    fi
    read -r l t w h <<<"${boxes[0]}"
    read -r colour count < <(dominant "$png" "${w}x${h}+${l}+${t}")
    if [ ${#boxes[@]} -lt 2 ]; then
        fail "$name: tesseract read no value beside \"$word\""
        return
    fi
    read -r vl vt vw vh <<<"${boxes[1]}"
    text=$(awk -F'\t' -v l="$vl" -v t="$vt" 'NR > 1 && $1 == 5 && $7 == l && $8 == t { print $12; exit }' "$tsv")
    if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qxF -- "$text"; then
        fail "$name: beside \"$word\" tesseract read \"$text\", not one of: $*"
        return
    fi
    read -r value_colour value_count < <(dominant "$png" "${vw}x${vh}+${vl}+${vt}")
    if [ "$colour" = "$want" ] && [ "$value_colour" = "$want_value" ]; then
        pass "$name: \"$word\" is $colour ($count pixels), its value \"$text\" $value_colour ($value_count)"
    else
        fail "$name: \"$word\" is $colour ($count pixels), not $want; its value \"$text\" $value_colour ($value_count), not $want_value"
    fi
}

# check_report <machine> <language code> <charset> <tesseract language> <on> <off> <label>
#     <blue label> <words...>
# <on> and <off> are the language's state words of the lock keys; <label> is a navy label and
# <blue label> a blue one, each with a maroon value beside it; the words must be in the report
# and read back from the picture.
check_report() {
    local machine=$1 lang=$2 charset=$3 ocr=$4 on=$5 off=$6 label=$7 blue_label=$8
    shift 8
    local name="$machine/$lang" htm=$work/$machine-$lang.htm png=$artefacts/report-html-$machine-$lang.png
    local lines height rc word
    if ! "$tamux_report" --suite "$suite" --all --html --lang "$lang" "$root/samples/machines/$machine" \
        -o "$htm" 2>"$work/tamux-report.log"; then
        fail "$name: tamux-report wrote no report: $(head -n 3 "$work/tamux-report.log")"
        return
    fi

    # The charset the browser reads it in.
    if grep -qxF "<meta charset=\"$charset\">" <(tr -d '\r' <"$htm"); then
        pass "$name: the report names its code page ($charset)"
    else
        fail "$name: the report does not say <meta charset=\"$charset\">: $(grep -io '<meta[^>]*>' "$htm" | head -n 1)"
    fi

    # tidy: 0 is clean, 1 warnings, 2 errors.
    rc=0
    tidy -errors -q -raw "$htm" >"$work/tidy.txt" 2>&1 || rc=$?
    if [ "$rc" -le 1 ]; then
        pass "$name: tidy finds no error ($(grep -c . "$work/tidy.txt") warning line(s))"
    else
        fail "$name: tidy exits with $rc: $(head -n 5 "$work/tidy.txt" | tr '\n' ' ')"
    fi

    # Chromium in a window tall enough for every line (no row is taller than 26 pixels).
    lines=$(wc -l <"$htm")
    height=$((lines * 26 + 200))
    rm -f "$png"
    chromium --headless --no-sandbox --disable-gpu --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work/chromium" --screenshot="$png" --window-size=1024,"$height" \
        "file://$htm" >"$work/chromium.log" 2>&1 || true
    if [ ! -s "$png" ]; then
        fail "$name: Chromium made no picture: $(tail -n 3 "$work/chromium.log")"
        return
    fi
    bands "$png" >"$work/bands"
    local first_top first_bottom last_bottom
    read -r first_top first_bottom < <(head -n 1 "$work/bands") || true
    last_bottom=$(tail -n 1 "$work/bands" | cut -d' ' -f2)
    if [ -z "${first_top:-}" ]; then
        fail "$name: the picture is blank"
        return
    fi
    if [ "$last_bottom" -lt $((height - 40)) ]; then
        pass "$name: the picture holds the whole report ($(wc -l <"$work/bands") text lines down to y=$last_bottom)"
    else
        fail "$name: the report runs off the bottom of the picture (text at y=$last_bottom of $height)"
    fi
    # Only the report's part of the picture is kept and looked at.
    convert "$png" -crop "1024x$((last_bottom + 20))+0+0" +repage "$png"

    local navy blue maroon green black red ink
    # The title: the first line of text.
    read -r navy blue maroon green black red ink < <(colours "$png" \
        "1024x$((first_bottom - first_top + 1))+0+$first_top")
    if [ "$navy" -gt 100 ] && [ $((navy * 10)) -ge $(((navy + blue + maroon + green + black + red) * 9)) ]; then
        pass "$name: the title is navy ($navy navy pixels of $ink inked)"
    else
        fail "$name: the title is not navy (navy $navy, blue $blue, maroon $maroon, green $green, black $black, red $red of $ink)"
    fi
    # The whole picture: every colour of the panes is there, no bright red.
    read -r navy blue maroon green black red ink < <(colours "$png")
    if [ "$navy" -gt 1000 ] && [ "$blue" -gt 1000 ] && [ "$maroon" -gt 1000 ] && [ "$green" -gt 100 ]; then
        pass "$name: the picture holds navy ($navy pixels), blue ($blue), maroon ($maroon) and green ($green) text"
    else
        fail "$name: the picture holds navy $navy, blue $blue, maroon $maroon, green $green pixels"
    fi
    if [ "$red" -le 20 ] && [ $((red * 20)) -le "$maroon" ]; then
        pass "$name: nothing is bright red ($red pixels of $ink inked)"
    else
        fail "$name: $red bright red pixels against $maroon maroon ones"
    fi

    # The words, as the report holds them and as tesseract reads them from the picture. English
    # beside the language: the lock keys' names and the makers' names are in Latin letters.
    iconv -f "$charset" -t UTF-8 "$htm" >"$work/report.utf8" 2>/dev/null ||
        fail "$name: the report is not valid $charset"
    rm -f "$work/ocr.txt" "$work/ocr.tsv"
    tesseract "$png" "$work/ocr" -l "$ocr+eng" txt tsv >/dev/null 2>&1 || true
    cp "$work/ocr.txt" "$artefacts/report-html-$machine-$lang.txt" 2>/dev/null || true
    for word in "$@"; do
        if ! grep -qF "$word" "$work/report.utf8"; then
            fail "$name: the report does not hold \"$word\""
        elif grep -qF "$word" "$work/ocr.txt" 2>/dev/null; then
            pass "$name: tesseract ($ocr) reads \"$word\""
        else
            fail "$name: tesseract ($ocr) does not read \"$word\" in the picture"
        fi
    done

    # Single lines: a navy and a blue label with their maroon values, the lock keys in green when
    # on and in black when off, both their name and their state word.
    expect_word "$name" "$png" "$work/ocr.tsv" "$label" navy maroon
    expect_word "$name" "$png" "$work/ocr.tsv" "$blue_label" blue maroon
    local key state want
    for key in CAPS NUM SCROLL INS; do
        state=$(sed -n "s|.*>$key</td><td[^>]*>\([^<]*\)</td>.*|\1|p" "$work/report.utf8" | head -n 1)
        case $state in
            "$on") want=green ;;
            "$off") want=black ;;
            *) fail "$name: the report's $key line says \"$state\", neither $on nor $off"; continue ;;
        esac
        expect_word "$name" "$png" "$work/ocr.tsv" "$key" "$want" "$want" "$state"
    done
}

check_report winxp EN windows-1252 eng On Off Provider Repeat \
    "Zorv Info Report" "Input devices" "Keyboard" "Repeat delay"
check_report win2000 CSY windows-1250 ces Zapnuto Vypnuto Dodavatel Prodleva \
    "Vstupní zařízení" "Klávesnice" "tlačítek" "Střední"
check_report winme RUS windows-1251 rus Включено Выключено Поставщик Задержка \
    "Устройства ввода" "Мышь" "Клавиатура" "Выключено"

# The README's picture: the top of the English report (the title, the mouse and the keyboard
# with its lock keys), as wide as its text and cut below a whole line.
english=$artefacts/report-html-winxp-EN.png
if [ -s "$english" ]; then
    cut=$(bands "$english" | awk '$2 <= 800 { y = $2 } END { print y + 0 }')
    convert "$english" -crop "1024x$((cut + 1))+0+0" +repage -trim +repage -bordercolor white \
        -border 12 "$artefacts/report-html.png"
fi

e2e_finish
