#!/usr/bin/env bash
# End-to-end check of the language dialog and the About dialog on the real system: runs the
# dialogs demo (tools/dialogs_demo) under Wine in a virtual display, acting for a copy of the
# suite's tamux.exe and language modules, and keeps its screenshots:
#   - About, with "RunLang" = "de": the window is titled "Über Applikacion", and it showed the
#     name, version, build and copyright that tamux.exe's version resource holds;
#   - Language, with the Spanish and Italian modules removed: choosing DE (then the disabled IT),
#     Ok and Yes writes "Language" = "DE", ends the dialog with a restart, and a new tamux.exe
#     comes up and starts in German ("RunLang" = "DE").
#
# Usage: tests/e2e/dialogs.sh <suite-folder> <artefact-folder>
# The suite folder is <win32 or win64 build>/suite; the build must also hold
# tools/dialogs_demo/dialogs_demo.exe. Exits non-zero when a check fails.
set -eu

usage="usage: dialogs.sh <suite-folder> <artefact-folder>"
artefacts=${2:?$usage}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?$usage}/.." && pwd)
demo=$build/tools/dialogs_demo/dialogs_demo.exe
suite=$build/suite/Tamux
for file in "$demo" "$suite/tamux.exe" "$suite/tamuxDE.dll"; do
    [ -f "$file" ] || { echo "dialogs: $file is missing (build the win32 or win64 preset)" >&2; exit 2; }
done
mkdir -p "$artefacts"
artefacts=$(cd "$artefacts" && pwd)

. "$root/tests/e2e/lib/common.sh"
e2e_start dialogs
e2e_display
wine_boot_prefix "$work/prefix"
# The metrics of the font the name label asks for.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Times New Roman" /d "Liberation Serif" \
    /f >/dev/null 2>&1 || true

mkdir -p "$work/suite"
cp -r "$suite" "$work/suite/Tamux"
rm -f "$work/suite/Tamux/tamux.ini" "$work/suite/Tamux/tamuxES.dll" "$work/suite/Tamux/tamuxIT.dll"
cp "$demo" "$work/dialogs_demo.exe"
exe=$(winepath -w "$work/suite/Tamux/tamux.exe")
ini="$work/suite/Tamux/tamux.ini"

# window_titled PATTERN: the id of the first window whose title matches, or nothing after 60 s.
window_titled() {
    wait_window_matching "$1" 60 || true
}
# wait_exit LOG PATTERN: waits until the demo's log has a line matching PATTERN.
wait_exit() {
    for _ in $(seq 1 60); do
        grep -q "$2" "$1" 2>/dev/null && return 0
        sleep 0.5
    done
    return 1
}
ini_value() {
    tr -d '\r' <"$ini" | sed -n "s/^$1=//p"
}

# --- About, in German
printf '[Options]\r\nLanguage=DE\r\nRunLang=de\r\n' >"$ini"
(cd "$work" && wine explorer /desktop=Dialogs,400x400 dialogs_demo.exe about "$exe" \
    >"$work/about.log" 2>&1 &)
window=$(window_titled "ber Applikacion")
if [ -n "$window" ]; then
    pass "the About window is titled with the German title"
    sleep 1
    screenshot "$artefacts/about-dialog-de.png"
    # The window goes with the key press: xdotool may then report it gone.
    xdotool key --window "$window" Escape 2>/dev/null || true
else
    fail "no About window titled 'Über Applikacion'"
fi
if wait_exit "$work/about.log" "^about dialog:"; then
    tr -d '\r' <"$work/about.log" >"$artefacts/about.log"
    check() {
        if grep -qxF "$1" "$artefacts/about.log"; then pass "About showed '$1'"; else fail "About did not show '$1'"; fi
    }
    check "name: Zorv Info Tamux"
    check "version: 1.00"
    check "version hint: Build:  1.0.0.608"
    check "about dialog: 2"
    grep -q "^copyright: Copyright (C) " "$artefacts/about.log" && pass "About showed the copyright" ||
        fail "About showed no copyright"
else
    fail "the About dialog did not close on Escape"
fi
WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
sleep 1

# --- Language: DE, Ok, Yes
printf '[Options]\r\nLanguage=EN\r\n' >"$ini"
(cd "$work" && wine explorer /desktop=Dialogs,400x400 dialogs_demo.exe language "$exe" \
    >"$work/language.log" 2>&1 &)
window=$(window_titled "^Languagesettings$")
[ -n "$window" ] || { echo "dialogs: the language dialog did not appear" >&2; exit 1; }
sleep 1
shot="$artefacts/language-dialog.png"
screenshot "$shot"
# The panel's colour (216, 208, 146) is found nowhere else: its first pixel is inside the panel's
# one-pixel edge, and the buttons lie at fixed places on the panel.
corner=$(convert "$shot" -depth 8 txt:- | awk '
    /^#/ { next }
    toupper($3) == "#D8D092" { split($1, at, /[,:]/); print at[1], at[2]; exit }')
[ -n "$corner" ] || { echo "dialogs: no panel in the screenshot" >&2; exit 1; }
panel_x=$(($(echo "$corner" | cut -d' ' -f1) - 1))
panel_y=$(($(echo "$corner" | cut -d' ' -f2) - 1))
xdotool mousemove $((panel_x + 27)) $((panel_y + 43)) click 1  # DE
sleep 0.5
# IT has no module here: its button is disabled, and a click on it leaves DE chosen.
xdotool mousemove $((panel_x + 27)) $((panel_y + 139)) click 1  # IT
sleep 0.5
xdotool mousemove $((panel_x + 44)) $((panel_y + 192)) click 1  # Ok
question=$(window_titled "^Information$")
if [ -n "$question" ]; then
    pass "the restart question is asked"
    [ "$(ini_value Language)" = "DE" ] && pass "Ok stored DE before the question, not the disabled IT" ||
        fail "Ok stored '$(ini_value Language)', expected DE"
    sleep 1
    screenshot "$artefacts/restart-question.png"
    xdotool key --window "$question" Return 2>/dev/null || true  # Yes, the default button
else
    fail "no restart question"
fi
if wait_exit "$work/language.log" "^language dialog:"; then
    grep -q "^language dialog: restart yes" "$work/language.log" && pass "the dialog asked for a restart" ||
        fail "the dialog ended without restart: $(cat "$work/language.log")"
else
    fail "the language dialog did not end"
fi
restarted=$(window_titled "^Zorv Info Tamux$")
[ -n "$restarted" ] && pass "a new tamux.exe came up" || fail "no new tamux.exe"
# Only a start of the program writes RunLang (the dialog does not): the new instance loaded the
# German module.
for _ in $(seq 1 20); do
    [ "$(ini_value RunLang)" = "DE" ] && break
    sleep 0.5
done
[ "$(ini_value RunLang)" = "DE" ] && pass "the new instance started in DE" ||
    fail "RunLang is '$(ini_value RunLang)' after the restart"
[ "$(ini_value Language)" = "DE" ] && pass "Language stays DE" ||
    fail "Language is '$(ini_value Language)' at the restart"
sleep 1
screenshot "$artefacts/restarted-de.png"

echo "dialogs: $failures failed"
[ "$failures" -eq 0 ]
