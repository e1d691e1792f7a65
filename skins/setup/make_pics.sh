#!/usr/bin/env bash
# Draws the setup skin's images with ImageMagick. The PNGs are kept in the tree;
# run this again only to change them.
set -euo pipefail
PIC="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/pic"
mkdir -p "$PIC"

ACCENT='#F29A1D'
ACCENT_HOT='#F7B04A'

plate() { # size, fill, output
  convert -size "$1" xc:none -fill "$2" -stroke none -draw "roundrectangle 0,0 $(( ${1%x*} - 1 )),$(( ${1#*x} - 1 )) 4,4" "$3"
}

plate 120x36 "$ACCENT" "$PIC/btn.png"
plate 120x36 "$ACCENT_HOT" "$PIC/btn_hot.png"
plate 120x36 '#9AA7B2' "$PIC/btn_dis.png"
plate 64x28 'rgba(255,255,255,0.25)' "$PIC/btn_small.png"
plate 64x28 'rgba(255,255,255,0.40)' "$PIC/btn_small_hot.png"

convert -size 14x14 xc:none -fill white -stroke '#C8D4DE' -draw 'rectangle 0,0 13,13' "$PIC/check.png"
convert -size 14x14 xc:none -fill white -stroke '#C8D4DE' -draw 'rectangle 0,0 13,13' \
        -fill none -stroke "$ACCENT" -strokewidth 2 -draw 'polyline 3,7 6,10 11,3' "$PIC/check_sel.png"

convert -size 32x32 xc:none -fill none -stroke white -strokewidth 1.6 -draw 'line 11,11 21,21 line 21,11 11,21' \
        "$PIC/close.png"
convert -size 32x32 xc:'#E04343' -fill none -stroke white -strokewidth 1.6 -draw 'line 11,11 21,21 line 21,11 11,21' \
        "$PIC/close_hot.png"

convert -size 8x10 xc:"$ACCENT" "$PIC/progress_fg.png"
