# Shell functions for running Tamux's Windows build under Wine; sourced by ./run and the test lanes.

# wine_prefix <dir> [version]: a fresh 32-bit prefix set to that Windows version (winxp default).
wine_prefix() {
    wine_boot_prefix "$1"
    wine reg add 'HKCU\Software\Wine' /v Version /d "${2:-winxp}" /f >/dev/null 2>&1
}

# wine_boot_prefix <dir>: a fresh 32-bit prefix (without Wine's .NET and HTML engines), left at
# the Windows version Wine chooses itself.
wine_boot_prefix() {
    local dir=$1
    export WINEPREFIX=$dir WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$dir/system.reg" ]; then
        mkdir -p "$dir"
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}

# wine_import_machine <machine folder>: imports a sample machine's registry files into the prefix.
# Wine keeps the machine's control set as a real key named CurrentControlSet, where Windows NT has
# ControlSet001 behind a link of that name; keys written under ControlSet001 are imported under
# both names, so the program finds them by either path, as on Windows.
wine_import_machine() {
    local machine=$1 file copy
    local work
    work=$(mktemp -d)
    for file in "$machine"/registry/*.reg; do
        [ -e "$file" ] || continue
        wine regedit /S "$(winepath -w "$file")" >/dev/null 2>&1
        copy=$work/$(basename "$file")
        if python3 "$(dirname "${BASH_SOURCE[0]}")/reg_current_control_set.py" "$file" "$copy"; then
            wine regedit /S "$(winepath -w "$copy")" >/dev/null 2>&1
        fi
    done
    wineserver -w
    rm -rf "$work"
}

# virtual_display: starts Xvfb on a free display number when there is no display; sets DISPLAY.
virtual_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n
    for n in $(seq 90 130); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        TAMUX_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$TAMUX_XVFB_PID" 2>/dev/null || true
    done
    echo "virtual_display: cannot start Xvfb" >&2
    return 1
}

# wait_window <title> [seconds]: prints the X window id of the first visible window so titled.
wait_window() {
    wait_window_matching "^${1}\$" "${2:-60}"
}

# wait_window_matching <pattern> [seconds]: the same for the first visible window whose title
# matches the pattern (a regular expression, as xdotool takes it).
wait_window_matching() {
    local pattern=$1 seconds=${2:-60} id
    for _ in $(seq 1 $((seconds * 5))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        sleep 0.2
    done
    return 1
}
