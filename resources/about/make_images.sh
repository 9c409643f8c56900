#!/bin/sh
# Rebuilds the About dialog's pictures (ImageMagick), as 32-bit BMPs (alpha in the fourth byte):
#   logo.bmp         201 x 201: the keyboard, the mouse and the printer of the Silk icon set
#                    (resources/icons), enlarged, on a pale blue disc; the lower part stays white
#                    for the name label and the flag drawn over it.
#   maker_mark.bmp   81 x 13: the maker's mark, a lettered bar.
set -eu
cd "$(dirname "$0")"
icons=../icons
big() {
    convert "$icons/$1.png" -filter point -resize 300% "PNG32:$2"
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
big keyboard "$work/keyboard.png"
big mouse "$work/mouse.png"
big printer "$work/printer.png"
convert -size 201x201 xc:white \
    -fill 'rgb(214,232,255)' -draw 'circle 100,86 100,8' \
    -fill 'rgb(236,244,255)' -draw 'circle 100,86 100,22' \
    -stroke 'rgb(0,128,255)' -strokewidth 2 -fill none -draw 'circle 100,86 100,8' \
    -stroke none \
    "$work/keyboard.png" -geometry +76+30 -composite \
    "$work/mouse.png" -geometry +42+88 -composite \
    "$work/printer.png" -geometry +110+88 -composite \
    -alpha set -define bmp3:alpha=true BMP3:logo.bmp
convert -size 81x13 xc:'rgb(0,128,255)' \
    -font Helvetica-Bold -pointsize 8 -fill white -gravity center \
    -annotate +0+0 'ZORV SOFTWARE' \
    -alpha set -define bmp3:alpha=true BMP3:maker_mark.bmp
