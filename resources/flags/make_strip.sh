#!/bin/sh
# Rebuilds flags.bmp from the flag PNGs beside this script (ImageMagick): one 32-bit BMP strip
# (BITMAPINFOHEADER, alpha in the fourth byte) of 16 x 11 images, in the order of the language
# buttons and the About dialog's flags: Czech, German, English, Spanish, French, Italian,
# Russian. The PNGs are Debian's famfamfam-flag-png (/usr/share/flags/countries/16x11).
set -eu
cd "$(dirname "$0")"
convert cz.png de.png gb.png es.png fr.png it.png ru.png -background none +append \
    -define bmp3:alpha=true BMP3:flags.bmp
