#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tamux need, if any is missing.
# Idempotent: on a machine that has everything it only checks.
#
# The 64-bit packages are needed everywhere. 32-bit Wine (wine32 and its i386 libraries) is asked
# for only where the kernel runs 32-bit code; where it cannot be installed (a mirror whose i386
# index is broken, say) the lanes take the 64-bit build, so that failure is reported but is not
# an error. A failed `apt-get update` is retried, then the install goes on with the lists it has.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

packages=(
    build-essential cmake ninja-build git python3 pkg-config
    libgtest-dev libgmock-dev nlohmann-json3-dev
    g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev
    clang-format clang libclang-rt-14-dev
    wine wine64 fonts-wine fonts-liberation
    xvfb xauth x11-utils xdotool imagemagick
    cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
    hwdata pciutils locales-all tesseract-ocr tesseract-ocr-ces tesseract-ocr-rus tidy chromium
    libicon-famfamfam-silk-perl famfamfam-flag-png
)
packages_i386=(
    wine32:i386 libcups2:i386 libxcursor1:i386 libxfixes3:i386 libxcomposite1:i386
    libxrandr2:i386 libxi6:i386 libxinerama1:i386
)
# After a failed try at the i386 packages, the next tries wait this long (seconds): a broken
# mirror index stays broken for hours, and every run would otherwise pay for asking again.
i386_retry_after=$((6 * 3600))
i386_stamp=$(dirname "$here")/build/.install-deps-i386-failed

# missing_of <package...>: prints those not installed.
missing_of() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            echo "$pkg"
    done
}

mapfile -t missing < <(missing_of "${packages[@]}")
missing_i386=()
wine_runs_32bit
runs32=$?
if [ "$runs32" -eq 0 ]; then
    mapfile -t missing_i386 < <(missing_of "${packages_i386[@]}")
    if [ ${#missing_i386[@]} -gt 0 ] && [ -f "$i386_stamp" ] &&
        [ $(($(date +%s) - $(stat -c %Y "$i386_stamp"))) -lt $i386_retry_after ]; then
        echo "install-deps: 32-bit Wine could not be installed at $(date -r "$i386_stamp" +%H:%M); not asked again before $(date -d "@$(($(stat -c %Y "$i386_stamp") + i386_retry_after))" +%H:%M) (remove $i386_stamp to ask now)" >&2
        missing_i386=()
    fi
fi
[ ${#missing[@]} -eq 0 ] && [ ${#missing_i386[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || {
        echo "install-deps: need root or sudo to install: ${missing[*]} ${missing_i386[*]}" >&2
        exit 1
    }
    sudo="sudo"
fi

update() {
    local try
    for try in 1 2 3; do
        $sudo apt-get update -q && return 0
        echo "install-deps: apt-get update failed (try $try of 3)" >&2
        [ "$try" -lt 3 ] && sleep $((try * 5))
    done
    echo "install-deps: going on with the package lists apt has" >&2
}

# install <package...>: one transaction (apt installs all or nothing); when it fails, each
# package alone, so that the line printed names exactly those that cannot be installed.
install() {
    local pkg failed=()
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$@" && return 0
    for pkg in "$@"; do
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$pkg" \
            >/dev/null 2>&1 || failed+=("$pkg")
    done
    [ ${#failed[@]} -eq 0 ] && return 0
    echo "install-deps: cannot install: ${failed[*]}" >&2
    return 1
}

if [ ${#missing_i386[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
update

status=0
if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    install "${missing[@]}" || status=1
fi
if [ ${#missing_i386[@]} -gt 0 ]; then
    echo "install-deps: installing 32-bit Wine: ${missing_i386[*]}"
    # All or nothing: wine32 without its libraries would be half a Wine.
    if DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
        "${missing_i386[@]}"; then
        rm -f "$i386_stamp"
    else
        mkdir -p "$(dirname "$i386_stamp")" && touch "$i386_stamp"
        echo "install-deps: cannot install 32-bit Wine (${missing_i386[*]}); nothing of it was installed, and the Wine lanes run the 64-bit build" >&2
    fi
fi
exit $status
