# Shell functions shared by the end-to-end scripts, sourced once `root` names the repository:
#
#   . "$root/tests/e2e/lib/common.sh"
#   e2e_start <script name>
#
# They give the script a work folder ($work) that goes at exit together with what ran in it, the
# "ok:" and "FAIL:" lines with the count of failures ($failures), a display of its own, a private
# CUPS server, screenshots and their pixels. The Wine functions of scripts/wine-env.sh come with
# them.

# shellcheck source=../../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"

# e2e_start <name>: makes $work and sets the cleanup at exit. <name> begins the script's own
# messages.
e2e_start() {
    e2e_name=$1
    work=$(mktemp -d)
    xvfb_pid=""
    xvfb_framebuffer=""
    cups=""
    failures=0
    trap e2e_cleanup EXIT INT TERM
}

# Ends the Wine server of $work/prefix, the CUPS server and Xvfb, then removes $work.
e2e_cleanup() {
    if [ -d "$work/prefix" ]; then WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; fi
    if [ -n "$cups" ]; then "$root/tests/wine/cups.sh" stop "$cups" >/dev/null 2>&1 || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    # TAMUX_E2E_KEEP=1 keeps the work folder (prefix, suite, logs) for a look afterwards.
    if [ -n "${TAMUX_E2E_KEEP:-}" ]; then
        echo "$e2e_name: work folder kept: $work"
    else
        rm -rf "$work"
    fi
}

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

# e2e_finish: the script's last line, "<name>: all checks passed", or "<name>: N check(s) failed"
# and the exit with 1.
e2e_finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$e2e_name: $failures check(s) failed" >&2
        exit 1
    fi
    echo "$e2e_name: all checks passed"
}

# e2e_display [framebuffer]: starts Xvfb (1024 x 768, 24 bits) on a display number it picks
# itself, without a window manager, and exports DISPLAY; exits with 2 when it does not come up.
# With "framebuffer", screenshots are read from the framebuffer file Xvfb keeps rather than asked
# of the X server: asking grabs the server, and a grab while a window opens can make Wine drop
# the click that opened it.
e2e_display() {
    if [ "${1:-}" = framebuffer ]; then
        xvfb_framebuffer=$work/fb
        mkdir -p "$xvfb_framebuffer"
        set -- -fbdir "$xvfb_framebuffer"
    else
        set --
    fi
    Xvfb -displayfd 3 -screen 0 1024x768x24 "$@" 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.2; done
    [ -s "$work/display" ] || { echo "$e2e_name: Xvfb did not start" >&2; exit 2; }
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
}

# screenshot [options] <file.png>: the whole screen as it is now; options such as
# "-crop WxH+X+Y +repage" go before the file.
screenshot() {
    if [ -n "$xvfb_framebuffer" ]; then
        convert "xwd:$xvfb_framebuffer/Xvfb_screen0" "$@"
    else
        import -window root "$@"
    fi
}

# e2e_cups: a private CUPS server with one CUPS-PDF queue (tests/wine/cups.sh) under $work/cups,
# its variables exported (CUPS_SERVER, TAMUX_CUPS_QUEUE, TAMUX_CUPS_PDF_DIR); exits with 2
# without it.
e2e_cups() {
    local settings
    cups=$work/cups
    settings=$("$root/tests/wine/cups.sh" start "$cups") ||
        { echo "$e2e_name: no CUPS server" >&2; exit 2; }
    eval "$settings"
}

# pixels <file.png> <x> <y> <width> <height>: the pixels of a rectangle of a screenshot as
# "x y #RRGGBB" lines, in screen coordinates.
pixels() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- | awk -v ox="$2" -v oy="$3" '
        /^#/ { next }
        { split($1, at, /[,:]/); print at[1] + ox, at[2] + oy, toupper($3) }'
}

# count <file.png> <x> <y> <width> <height> <#RRGGBB>: how many pixels of that colour the
# rectangle holds.
count() {
    pixels "$1" "$2" "$3" "$4" "$5" | awk -v c="$6" '$3 == c { n++ } END { print n + 0 }'
}

# client_origin <file.png>: "x y", the screen place of the main window's client area, found in
# the screen's top-left 800 x 600 from the panel around both panes (RGB 197, 210, 226), whose
# top-left pixel lies at client (8, 32) whatever frame Wine draws. Nothing when the panel is not
# on screen.
client_origin() {
    pixels "$1" 0 0 800 600 | awk -v c="#C5D2E2" '
        $3 == c { if (n++ == 0 || $2 < y || ($2 == y && $1 < x)) { x = $1; y = $2 } }
        END { if (n) print x - 8, y - 32 }'
}
