# Shell functions for running Tamux's Windows build under Wine; sourced by ./run and the test lanes.
#
# Two builds can run: the 32-bit one under 32-bit Wine, where the kernel runs 32-bit code and
# wine32 is installed, and the 64-bit one under wine64 everywhere else. wine_select_arch chooses
# (TAMUX_WINE_ARCH=win32 or win64 forces a side) and the wine, wineboot, winepath and wineserver
# functions below then run the chosen Wine: Debian's /usr/bin/wine always prefers the 32-bit
# loader where wine32 is installed.

tamux_wine_dir=/usr/lib/wine

# wine_runs_32bit: whether this kernel runs 32-bit x86 code. Executes a 93-byte i386 Linux program
# that only exits with status 42: a kernel without IA-32 emulation refuses it ("Exec format error").
# Returns 0 (it runs), 1 (refused) or 2 (the probe could not be made or gave another answer).
wine_runs_32bit() {
    local probe status
    probe=$(mktemp "${TMPDIR:-/tmp}/tamux-probe32.XXXXXX" 2>/dev/null) || return 2
    # ELF header, one loadable segment, then: mov eax,1; mov bl,42; int 0x80.
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
    printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
    printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"
    printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010' >>"$probe"
    printf '\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000' >>"$probe"
    printf '\000\020\000\000\270\001\000\000\000\263\052\315\200' >>"$probe"
    if ! chmod +x "$probe" 2>/dev/null; then
        rm -f "$probe"
        return 2
    fi
    "$probe" 2>/dev/null
    status=$?
    rm -f "$probe"
    case $status in
        42) return 0 ;;
        126) return 1 ;;
        *) return 2 ;;
    esac
}

# wine_select_arch: chooses the build and the Wine that runs it, once per process tree. Sets and
# exports TAMUX_WINE_ARCH (win32 or win64) and TAMUX_WINE_REASON (why), or prints one line that
# names why no Wine can start and returns 1.
wine_select_arch() {
    if [ -n "${TAMUX_WINE_ARCH:-}" ] && [ "${TAMUX_WINE_SELECTED:-}" = "$TAMUX_WINE_ARCH" ]; then
        return 0
    fi
    local arch=${TAMUX_WINE_ARCH:-} reason
    case $arch in
        win32 | win64) reason="chosen by TAMUX_WINE_ARCH" ;;
        "")
            wine_runs_32bit
            case $? in
                0)
                    if [ -x "$tamux_wine_dir/wine" ]; then
                        arch=win32 reason="this kernel runs 32-bit code"
                    else
                        arch=win64 reason="32-bit code runs here, but 32-bit Wine (wine32:i386) is not installed"
                    fi
                    ;;
                1) arch=win64 reason="this kernel runs no 32-bit code" ;;
                *) arch=win64 reason="cannot tell whether 32-bit code runs here (the probe could not run); taking the 64-bit build" ;;
            esac
            ;;
        *)
            echo "wine: TAMUX_WINE_ARCH must be win32 or win64, not '$arch'" >&2
            return 1
            ;;
    esac
    local loader=$tamux_wine_dir/wine64 server=$tamux_wine_dir/wineserver64
    if [ "$arch" = win32 ]; then
        loader=$tamux_wine_dir/wine server=$tamux_wine_dir/wineserver32
        if ! wine_runs_32bit; then
            echo "wine: the 32-bit build cannot run: this kernel runs no 32-bit code" >&2
            return 1
        fi
        if [ ! -x "$loader" ]; then
            echo "wine: the 32-bit build cannot run: 32-bit Wine is not installed (package wine32:i386)" >&2
            return 1
        fi
    elif [ ! -x "$loader" ]; then
        echo "wine: no Wine can start: $reason, and 64-bit Wine is not installed (package wine64)" >&2
        return 1
    fi
    [ -x "$server" ] || server=$(command -v wineserver || echo "$tamux_wine_dir/wineserver")
    export TAMUX_WINE_ARCH=$arch TAMUX_WINE_SELECTED=$arch TAMUX_WINE_REASON=$reason
    export TAMUX_WINE_LOADER=$loader
    export TAMUX_WINESERVER=$server WINELOADER=$loader WINESERVER=$server
}

# The Wine commands, always through the chosen loader.
wine() {
    wine_select_arch || return 1
    "$TAMUX_WINE_LOADER" "$@"
}
wineboot() { wine wineboot "$@"; }
winepath() { wine winepath "$@"; }
wineserver() {
    wine_select_arch || return 1
    "$TAMUX_WINESERVER" "$@"
}
export -f wine wineboot winepath wineserver wine_select_arch wine_runs_32bit
export tamux_wine_dir

# wine_prefix <dir> [version]: a fresh prefix of the chosen build's architecture, set to that
# Windows version (winxp default).
wine_prefix() {
    wine_boot_prefix "$1"
    wine reg add 'HKCU\Software\Wine' /v Version /d "${2:-winxp}" /f >/dev/null 2>&1
}

# wine_boot_prefix <dir>: a fresh prefix of the chosen build's architecture (without Wine's .NET
# and HTML engines), left at the Windows version Wine chooses itself.
wine_boot_prefix() {
    local dir=$1
    wine_select_arch || return 1
    export WINEPREFIX=$dir WINEARCH=$TAMUX_WINE_ARCH WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
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
    if ! command -v Xvfb >/dev/null; then
        echo "virtual_display: no display and no Xvfb to make one (package xvfb)" >&2
        return 1
    fi
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
