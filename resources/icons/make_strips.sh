#!/bin/sh
# Rebuilds the image strips from the Silk PNGs beside this script (ImageMagick):
#   silk_subitems.bmp  the sub-item images: mouse, keyboard, printer, information, tick, cross, page
#   silk_sections.bmp  the category heading images: printer, keyboard
# Each strip is one 32-bit BMP (BITMAPINFOHEADER, alpha in the fourth byte), 16 pixels per image.
# The PNGs came out of Debian's libicon-famfamfam-silk-perl, which keeps them inside its module:
#   perl -MIcon::FamFamFam::Silk -e 'binmode STDOUT; print Icon::FamFamFam::Silk::raw("tick")'
set -eu
cd "$(dirname "$0")"
strip() {
    out=$1
    shift
    convert "$@" -background none +append -define bmp3:alpha=true "BMP3:$out"
}
strip silk_subitems.bmp mouse.png keyboard.png printer.png information.png tick.png cross.png page.png
strip silk_sections.bmp printer.png keyboard.png
