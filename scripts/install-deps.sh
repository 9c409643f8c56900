#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tamux need, if any is missing.
# Idempotent: on a machine that has everything it only checks.
set -euo pipefail

packages=(
    build-essential cmake ninja-build git python3 pkg-config
    libgtest-dev libgmock-dev nlohmann-json3-dev
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    clang-format clang libclang-rt-14-dev
    wine wine32:i386 fonts-wine fonts-liberation libcups2:i386 libxcursor1:i386 libxfixes3:i386
    libxcomposite1:i386 libxrandr2:i386 libxi6:i386 libxinerama1:i386
    xvfb xauth x11-utils xdotool imagemagick
    cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
    hwdata pciutils locales-all tesseract-ocr tesseract-ocr-ces chromium
    libicon-famfamfam-silk-perl famfamfam-flag-png
)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
