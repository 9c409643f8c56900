#!/usr/bin/env bash
# End-to-end check of the report: tamux.exe under Wine (Windows XP mode, the winxp sample
# machine's registry imported) in a virtual display, with a private CUPS server offering one
# CUPS-PDF queue, driven with xdotool as a person would:
#   - Report, tick Mouse and Keyboard, Save as report.txt: the file holds the same lines as
#     tamux-report writes for the winxp sample machine (all but the date and time);
#   - Report, tick Keyboard, Save as report.htm: the HTML report of tamux-report again, a whole
#     document in the machine's code page; headless Chromium shows it as a table (screenshot
#     report-html.png; tests/e2e/report_html.sh looks closer at how it reads);
#   - Report, tick Keyboard, Print to the CUPS-PDF queue: the PDF's pages show the report, each
#     label with its value apart on one line (the lock keys with their state word), and the
#     footers -1.-, -2.- ... starting at the middle of each page (the first page as
#     report-print-1.png);
#   - Report, tick Mouse, Send: report.htm and report.txt in the Zmail folder beside the
#     program's folder, report.txt the mouse report of tamux-report, and the stand-in mail
#     module started there with both names;
#   - Report, Cancel: nothing written, printed or started.
# Num Lock is switched on first, as on the sample machine, so that the keyboard's indicator lines
# agree in colour too.
# Screenshots land in the artefact folder: report-window.png, report-html.png,
# report-print-1.png.
#
# Usage: tests/e2e/report.sh <suite-folder> <artefact-folder>
# <suite-folder> holds Tamux/tamux.exe with its language modules and SHARED/DATABASES
# (build/win32/suite); the stand-in ZoIMail.exe is taken from <suite-folder>/../e2e-tools. The
# native tamux-report is $TAMUX_REPORT_TOOL, or build/native's (built there when missing). Needs
# root (the CUPS-PDF backend) and Debian's chromium and poppler-utils. Exits non-zero when a check
# fails, 2 when the checks cannot be run.
set -euo pipefail

suite=${1:?usage: report.sh <suite-folder> <artefact-folder>}
artefacts=${2:?usage: report.sh <suite-folder> <artefact-folder>}
root=$(cd "$(dirname "$0")/../.." && pwd)
[ -f "$suite/Tamux/tamux.exe" ] || { echo "report: no tamux.exe in $suite/Tamux" >&2; exit 2; }
suite=$(cd "$suite" && pwd)
standin=$suite/../e2e-tools/ZoIMail.exe
[ -f "$standin" ] || { echo "report: no stand-in mail module at $standin" >&2; exit 2; }
for tool in chromium pdftotext pdftoppm pdfinfo xdotool convert; do
    command -v "$tool" >/dev/null || { echo "report: $tool is missing" >&2; exit 2; }
done
tamux_report=${TAMUX_REPORT_TOOL:-$root/build/native/tools/tamux_report/tamux-report}
if [ ! -x "$tamux_report" ] && [ -z "${TAMUX_REPORT_TOOL:-}" ] && [ -f "$root/build/native/build.ninja" ]; then
    cmake --build "$root/build/native" --target tamux-report >/dev/null
fi
[ -x "$tamux_report" ] || { echo "report: no tamux-report at $tamux_report" >&2; exit 2; }
mkdir -p "$artefacts"
artefacts=$(cd "$artefacts" && pwd)

# shellcheck source=lib/common.sh
. "$root/tests/e2e/lib/common.sh"
e2e_start report
# The print filters run as the user lp: they must reach the spool inside.
chmod 0755 "$work"
e2e_cups

# A display of our own without a window manager; screenshots come from Xvfb's framebuffer file.
e2e_display framebuffer

machine=$root/samples/machines/winxp
wine_prefix "$work/prefix" winxp
wine_import_machine "$machine"

# The suite as it is laid out, with the stand-in mail module in Zmail beside the program.
cp -r "$suite" "$work/suite"
program=$work/suite/Tamux
mail=$work/suite/Zmail
mkdir -p "$mail"
cp "$standin" "$mail/ZoIMail.exe"
printf '[Options]\r\nLanguage=EN\r\n' >"$program/tamux.ini"
(cd "$program" && LANG=en_US.UTF-8 wine tamux.exe >"$work/tamux.log" 2>&1 &)
main=$(wait_window "Zorv Info Tamux" 90) || { echo "report: no main window" >&2; exit 2; }
sleep 2
eval "$(xdotool getwindowgeometry --shell "$main")"
main_x=$X main_y=$Y
# Num Lock on, as on the sample machine: the keyboard's indicator lines then agree in colour. A
# click on the right pane's empty area makes the program the active one first.
xdotool mousemove $((main_x + 400)) $((main_y + 300)) click 1
sleep 0.5
xdotool key Num_Lock
sleep 0.5

# The report window's geometry once it is open: report_x, report_y, report_w, report_h.
open_report() {
    local id="" attempt
    for attempt in 1 2 3; do
        # The Report button is the top bar's first, 90 x 19 at (0, 3).
        xdotool mousemove $((main_x + 45)) $((main_y + 12)) click 1
        id=$(wait_window "Report" 5) && break
    done
    [ -n "$id" ] || return 1
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$id")"
    report_x=$X report_y=$Y report_w=$WIDTH report_h=$HEIGHT
}

# The list lies at (7, 5) in the window (its panel at (3, 5), the list at (4, 0) in the panel);
# every row is 20 pixels high. Rows with both categories open: 0 input devices, 1 Mouse,
# 2 Keyboard, 3 printers, 4 the first printer.
row_y() { echo $((report_y + 5 + $1 * 20 + 10)); }
# A click on a heading opens its section.
open_row() {
    xdotool mousemove $((report_x + 7 + 80)) "$(row_y "$1")" click 1
    sleep 0.4
}
# The tick box lies 15 pixels wide after the 14-pixel indent.
tick_row() {
    xdotool mousemove $((report_x + 7 + 21)) "$(row_y "$1")" click 1
    sleep 0.4
}
# The buttons on the right panel (92 wide): Print, Send, Save and Cancel at tops 9, 34, 60, 86.
press() {
    local top
    case $1 in
        print) top=9 ;;
        send) top=34 ;;
        save) top=60 ;;
        cancel) top=86 ;;
    esac
    xdotool mousemove $((report_x + report_w - 92 + 46)) $((report_y + top + 12)) click 1
}

# save_as <name>: types the name into the open save dialog and confirms it.
save_as() {
    local dialog
    dialog=$(wait_window "Save As" 20) || return 1
    sleep 0.5
    # The file name box has the focus when the dialog opens.
    xdotool type --delay 40 "$1" 2>/dev/null
    sleep 0.3
    xdotool key Return 2>/dev/null
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --name "^Save As\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}

# wait_file <path> [seconds]
wait_file() {
    for _ in $(seq 1 $((${2:-20} * 5))); do
        [ -s "$1" ] && return 0
        sleep 0.2
    done
    return 1
}

# same_but_date <tamux.exe's file> <tamux-report's file> <date line number>: the two files agree
# line by line except the creation date, which tamux.exe takes from the real clock.
same_but_date() {
    diff <(sed "${3}d" "$1") <(sed "${3}d" "$2") >"$work/diff" 2>&1
}

# date_line <file>: the number of the line that gives the creation date.
date_line() {
    grep -n -m 1 'Created on' "$1" | cut -d: -f1
}

# --- Save as text: Mouse and Keyboard.
if open_report; then
    open_row 0
    tick_row 1
    tick_row 2
    open_row 3
    # The pointer out of the way for the picture.
    xdotool mousemove $((report_x + report_w + 60)) $((report_y + report_h + 60))
    sleep 0.3
    screenshot -crop "${report_w}x${report_h}+${report_x}+${report_y}" +repage \
        "$artefacts/report-window.png"
    press save
    if save_as report.txt && wait_file "$program/report.txt"; then
        "$tamux_report" --suite "$suite" --tick Mouse --tick Keyboard "$machine" -o "$work/sim.txt"
        if same_but_date "$program/report.txt" "$work/sim.txt" 2; then
            pass "report.txt holds the mouse and keyboard lines tamux-report writes for winxp"
        else
            fail "report.txt differs from tamux-report's: $(head -n 20 "$work/diff")"
        fi
        if sed -n 2p "$program/report.txt" | grep -qE $'^Created on [^ ]+  [^ ].*\r$'; then
            pass "the second line gives the creation date and time"
        else
            fail "the second line is \"$(sed -n 2p "$program/report.txt")\""
        fi
        if [ "$(grep -c $'\r$' "$program/report.txt")" -eq "$(wc -l <"$program/report.txt")" ]; then
            pass "report.txt has CR LF line ends"
        else
            fail "report.txt has lines without CR LF"
        fi
    else
        fail "Save as report.txt wrote no file"
    fi
else
    fail "the Report button opened no report window"
fi

# --- Save as HTML: Keyboard.
if open_report; then
    open_row 0
    tick_row 2
    press save
    if save_as report.htm && wait_file "$program/report.htm"; then
        "$tamux_report" --suite "$suite" --tick Keyboard --html "$machine" -o "$work/sim.htm"
        if same_but_date "$program/report.htm" "$work/sim.htm" "$(date_line "$work/sim.htm")"; then
            pass "report.htm holds the keyboard rows tamux-report writes for winxp"
        else
            fail "report.htm differs from tamux-report's: $(head -n 20 "$work/diff")"
        fi
        first=$(head -n 1 "$program/report.htm" | tr -d '\r')
        [ "$first" = "<!DOCTYPE html>" ] && pass "report.htm is an HTML document" ||
            fail "report.htm begins with \"$first\""
        if grep -qi '<img' "$program/report.htm"; then
            fail "report.htm holds an image"
        elif ! grep -qx $'</table>\r*' "$program/report.htm" ||
            [ "$(tail -n 1 "$program/report.htm" | tr -d '\r')" != "</html>" ]; then
            fail "report.htm does not close its table and document: $(tail -n 3 "$program/report.htm" | tr '\r\n' '  ')"
        else
            pass "report.htm holds no image, closes its table and ends with </html>"
        fi
        if grep -qx $'<meta charset="windows-1252">\r*' "$program/report.htm"; then
            pass "report.htm names the machine's code page, windows-1252"
        else
            fail "report.htm gives no charset windows-1252: $(grep -io '<meta[^>]*>' "$program/report.htm" | head -n 1)"
        fi

        # How a browser shows it.
        html_png=$artefacts/report-html.png
        chromium --headless --no-sandbox --disable-gpu --no-first-run \
            --disable-background-networking --disable-component-update --disable-sync \
            --user-data-dir="$work/chromium" --screenshot="$html_png" --window-size=1024,1400 \
            "file://$program/report.htm" >"$work/chromium.log" 2>&1 || true
        chromium --headless --no-sandbox --disable-gpu --no-first-run \
            --disable-background-networking --disable-component-update --disable-sync \
            --user-data-dir="$work/chromium" --dump-dom "file://$program/report.htm" \
            >"$work/dom.html" 2>>"$work/chromium.log" || true
        rows=$(grep -o '<tr>' "$work/dom.html" | wc -l)
        lines=$(grep -c '^<tr>' "$program/report.htm")
        if [ "$rows" -eq "$lines" ] && [ "$rows" -gt 20 ]; then
            pass "Chromium reads one table row per row line ($rows)"
        else
            fail "Chromium reads $rows table rows for $lines row lines"
        fi
        if [ -s "$html_png" ]; then
            # Text rows: bands of rows holding dark pixels, down the page.
            text_rows=$(convert "$html_png" -colorspace Gray -threshold 60% -negate \
                -scale 1x1400! -depth 8 txt:- | awk -F'[(,)]' '/^[0-9]/ && $3 + 0 > 0 { n++ } END { print n + 0 }')
            if [ "$text_rows" -gt 200 ]; then
                pass "the screenshot shows the table's rows (report-html.png)"
            else
                fail "the screenshot shows only $text_rows pixel rows of text"
            fi
        else
            fail "Chromium made no screenshot: $(tail -n 3 "$work/chromium.log")"
        fi
    else
        fail "Save as report.htm wrote no file"
    fi
else
    fail "the Report button opened no report window"
fi

# --- Print: Keyboard, to the CUPS-PDF queue.
if open_report; then
    open_row 0
    tick_row 2
    press print
    if dialog=$(wait_window "Print" 20); then
        sleep 1
        # OK is the default button. (Sent to the dialog itself: the focus may still be elsewhere.)
        xdotool key --window "$dialog" Return 2>/dev/null
        # The job is done once the queue is empty again and the backend has left its PDF.
        pdf=""
        for _ in $(seq 1 150); do
            sleep 0.4
            [ -n "$(lpstat -o "$TAMUX_CUPS_QUEUE" 2>/dev/null)" ] && continue
            pdf=$(find "$TAMUX_CUPS_PDF_DIR" -name '*.pdf' -size +0 2>/dev/null | head -n 1)
            [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && break
            pdf=""
        done
        if [ -n "$pdf" ]; then
            pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
            # The printer font's hyphen reads back as a soft hyphen.
            pdftotext -layout "$pdf" - | sed 's/\xc2\xad/-/g' >"$work/print.txt"
            pass "the printout is a PDF of $pages page(s): $(basename "$pdf")"
            for text in "ZorvInfo Report" "Zorv Info Report" "Input devices - Keyboard:" \
                "Created by Zorv Info Tamux" "Keyboard layouts"; do
                grep -qF "$text" "$work/print.txt" && pass "the printout shows \"$text\"" ||
                    fail "the printout lacks \"$text\""
            done
            # Each label with its value on one line, apart: the values stand at a tab stop to the
            # right of the labels, the lock keys with their state word. The values are those
            # tamux-report gives for the keyboard of winxp (Num Lock on, the others off).
            "$tamux_report" --suite "$suite" --tick Keyboard "$machine" -o "$work/sim-keyboard.txt"
            tr -d '\r' <"$work/sim-keyboard.txt" >"$work/sim-keyboard.lf"
            for label in Provider "INF file" "Layout ID" "Layout name" "Repeat delay" "Repeat rate" \
                "Function keys" CAPS NUM SCROLL INS; do
                value=$(awk -v l="$label" 'index($0, l "  ") == 1 { sub(/^[^ ]+( [^ ]+)*  +/, ""); print; exit }' \
                    "$work/sim-keyboard.lf")
                if [ -z "$value" ]; then
                    fail "tamux-report's keyboard report has no line \"$label\""
                elif grep -qP "^\s*\Q$label\E\s{2,}\Q$value\E\s*\$" "$work/print.txt"; then
                    pass "the printout shows \"$label\" and \"$value\" apart on one line"
                else
                    fail "the printout has no line \"$label   $value\": $(grep -F "$label" "$work/print.txt" | head -n 2 | tr '\n' '|')"
                fi
            done
            for key in CAPS NUM SCROLL INS; do
                if grep -qP "^\s*$key\s{2,}(On|Off)\s*\$" "$work/print.txt"; then
                    pass "the printout's $key line ends with its state word"
                else
                    fail "the printout's $key line lacks On or Off: $(grep -F "$key" "$work/print.txt" | head -n 1)"
                fi
            done
            # Every page's footer, starting at the middle of its page.
            for page in $(seq 1 "$pages"); do
                pdftotext -f "$page" -l "$page" -bbox "$pdf" - | sed 's/\xc2\xad/-/g' >"$work/page.html"
                # "x y" of the footer's top-left corner, in percent of the page's width and height.
                read -r fx fy < <(awk -v want="-$page.-" -F'"' '/<page / { w = $2; h = $4 }
                    /<word / && index($0, ">" want "<") { print int($2 / w * 100), int($4 / h * 100); exit }' \
                    "$work/page.html") || true
                if [ -n "${fx:-}" ] && [ "$fx" -ge 48 ] && [ "$fx" -le 52 ] && [ "$fy" -ge 90 ]; then
                    pass "page $page ends with -$page.- starting at the middle"
                else
                    fail "page $page: footer -$page.- ${fx:+at $fx% across, $fy% down}${fx:-missing}"
                fi
                fx="" fy=""
            done
            pdftoppm -f 1 -l 1 -r 60 -png "$pdf" "$work/page"
            cp "$(ls "$work"/page*.png | head -n 1)" "$artefacts/report-print-1.png"
        else
            fail "no PDF appeared in $TAMUX_CUPS_PDF_DIR"
        fi
    else
        fail "Print opened no print dialog"
    fi
else
    fail "the Report button opened no report window"
fi

# --- Send: Mouse, to the stand-in mail module.
if open_report; then
    open_row 0
    tick_row 1
    press send
    if wait_file "$mail/ZoIMail.txt" 30; then
        tr -d '\r' <"$mail/ZoIMail.txt" >"$work/zoimail.txt"
        expect_line() {
            grep -qxF "$1" "$work/zoimail.txt" && pass "the mail module got $1" ||
                fail "the mail module's record lacks \"$1\": $(cat "$work/zoimail.txt")"
        }
        if grep -qiE '^directory=.*\\Zmail$' "$work/zoimail.txt"; then
            pass "the mail module runs in the Zmail folder"
        else
            fail "the mail module ran in $(grep '^directory=' "$work/zoimail.txt")"
        fi
        expect_line 'arg1= '
        expect_line 'arg2=..\Zmail\report.txt'
        expect_line 'arg3=..\Zmail\report.htm'
        expect_line 'arg2 exists'
        expect_line 'arg3 exists'
        "$tamux_report" --suite "$suite" --tick Mouse "$machine" -o "$work/sim-mouse.txt"
        if same_but_date "$mail/report.txt" "$work/sim-mouse.txt" 2; then
            pass "Zmail\\report.txt holds the mouse report tamux-report writes for winxp"
        else
            fail "Zmail\\report.txt: $(head -n 3 "$mail/report.txt" | tr '\r\n' '  ') $(head -n 10 "$work/diff")"
        fi
        if [ "$(head -n 1 "$mail/report.htm" | tr -d '\r')" = "<!DOCTYPE html>" ]; then
            pass "Zmail\\report.htm is the HTML report"
        else
            fail "Zmail\\report.htm begins with \"$(head -n 1 "$mail/report.htm")\""
        fi
    else
        fail "Send started no mail module (no $mail/ZoIMail.txt)"
    fi
else
    fail "the Report button opened no report window"
fi

# --- Cancel: nothing happens.
rm -f "$mail"/report.* "$mail/ZoIMail.txt" "$program"/report.*
pdfs_before=$(find "$TAMUX_CUPS_PDF_DIR" -name '*.pdf' | wc -l)
if open_report; then
    open_row 0
    tick_row 2
    press cancel
    sleep 2
    if xdotool search --onlyvisible --name "^(Report|Save As|Print)\$" >/dev/null 2>&1; then
        fail "a window is still open after Cancel"
    elif [ -n "$(ls "$mail"/report.* "$mail/ZoIMail.txt" "$program"/report.* 2>/dev/null)" ] ||
        [ "$(find "$TAMUX_CUPS_PDF_DIR" -name '*.pdf' | wc -l)" -ne "$pdfs_before" ]; then
        fail "Cancel wrote, printed or sent something"
    else
        pass "Cancel closes the window and does nothing else"
    fi
else
    fail "the Report button opened no report window"
fi

e2e_finish
