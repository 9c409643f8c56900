#!/bin/sh
# Rebuilds form_pictures.bmp, the main window's own image strip (ImageMagick), from FamFamFam
# Silk icons (Debian's libicon-famfamfam-silk-perl, which keeps them inside its module):
#   0-4   the top-bar buttons in colour (under the pointer): report, information, world,
#         application_put, door_out
#   5-9   the same in grey (the buttons at rest)
#   10    hourglass, the wait dialog's picture
# One 32-bit BMP (BITMAPINFOHEADER, alpha in the fourth byte), 16 pixels per image.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
icon() {
    perl -MIcon::FamFamFam::Silk -e 'binmode STDOUT; print Icon::FamFamFam::Silk::raw($ARGV[0])' "$1" >"$work/$1.png"
}
buttons="report information world application_put door_out"
for name in $buttons hourglass; do icon "$name"; done
colour=""
grey=""
for name in $buttons; do
    colour="$colour $work/$name.png"
    convert "$work/$name.png" -colorspace Gray -fill white -colorize 25% "$work/$name-grey.png"
    grey="$grey $work/$name-grey.png"
done
# shellcheck disable=SC2086
convert $colour $grey "$work/hourglass.png" -background none +append -define bmp3:alpha=true \
    "BMP3:form_pictures.bmp"
