#!/usr/bin/env bash
# Draws the main window's skin images and the program's icon and menu strip
# with ImageMagick. The PNGs are kept in the tree; run this again only to
# change them.
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
PIC="$HERE/pic"
RES="$HERE/../../shell/res"
mkdir -p "$PIC" "$RES"

ACCENT='#2E9BE6'
GLYPH='#D8D8D8'
BOLD_FONT=DejaVu-Sans-Bold

blank() { convert -size "$1" xc:none "$2"; }

# Caption buttons: 30 x 30, a glyph in the middle; the hot and pushed looks
# add a translucent plate (a red one for close).
button_set() { # name, draw commands, [hot plate colour]
  local name="$1" draw="$2" plate="${3:-rgba(255,255,255,0.14)}" pushed="${4:-rgba(255,255,255,0.24)}"
  convert -size 30x30 xc:none -fill none -stroke "$GLYPH" -strokewidth 1.6 -draw "$draw" "$PIC/btn_${name}.png"
  convert -size 30x30 xc:none -fill "$plate" -stroke none -draw 'rectangle 0,0 29,29' \
          -fill none -stroke white -strokewidth 1.6 -draw "$draw" "$PIC/btn_${name}_hot.png"
  convert -size 30x30 xc:none -fill "$pushed" -stroke none -draw 'rectangle 0,0 29,29' \
          -fill none -stroke white -strokewidth 1.6 -draw "$draw" "$PIC/btn_${name}_pushed.png"
}

button_set min 'line 10,15 20,15'
button_set max 'rectangle 10,10 20,20'
button_set restore 'rectangle 10,12 18,20 polyline 12,12 12,10 20,10 20,18 18,18'
button_set close 'line 10,10 20,20 line 20,10 10,20' '#E81123' '#F1707A'
button_set setting 'line 9,10 21,10 line 9,15 21,15 line 9,20 21,20'
# Stay on top: an outlined pin; leaving it: the same pin filled with the accent.
button_set top 'circle 15,11 15,7 line 15,15 15,23 line 10,15 20,15'
convert -size 30x30 xc:none -fill "$ACCENT" -stroke "$ACCENT" -strokewidth 1.6 \
        -draw 'circle 15,11 15,7 line 15,15 15,23 line 10,15 20,15' "$PIC/btn_restoretop.png"
convert -size 30x30 xc:none -fill 'rgba(255,255,255,0.14)' -draw 'rectangle 0,0 29,29' \
        -fill "$ACCENT" -stroke "$ACCENT" -strokewidth 1.6 \
        -draw 'circle 15,11 15,7 line 15,15 15,23 line 10,15 20,15' "$PIC/btn_restoretop_hot.png"

# The update button: a rounded frame, stretched by its corners.
convert -size 20x20 xc:none -fill none -stroke '#5A5A5A' -strokewidth 1 \
        -draw 'roundrectangle 0.5,0.5 19.5,19.5 4,4' "$PIC/update.png"
convert -size 20x20 xc:none -fill "$ACCENT" -stroke "$ACCENT" -strokewidth 1 \
        -draw 'roundrectangle 0.5,0.5 19.5,19.5 4,4' "$PIC/update_hot.png"

# Page tabs: a faint plate when hot; the selected tab also gets an accent bar.
convert -size 20x58 xc:'rgba(255,255,255,0.07)' "$PIC/tab_hot.png"
convert -size 20x58 xc:'rgba(255,255,255,0.10)' -fill "$ACCENT" -draw 'rectangle 0,55 19,57' "$PIC/tab_sel.png"

# Logo: a play mark in an accent disc and the product name.
convert -size 150x40 xc:none -fill "$ACCENT" -draw 'circle 18,20 18,4' \
        -fill white -draw 'polygon 13,12 13,28 27,20' \
        -font "$BOLD_FONT" -pointsize 22 -fill white -annotate +42+28 'Lumora' "$PIC/logo.png"

# Program icon (resource 107): the logo's disc at the usual sizes.
for s in 16 32 48; do
  c=$((s / 2)); r=$((s / 2 - 1))
  convert -size ${s}x${s} xc:none -fill "$ACCENT" -draw "circle $c,$c $c,$((c - r))" \
          -fill white -draw "polygon $((s * 36 / 100)),$((s * 28 / 100)) $((s * 36 / 100)),$((s * 72 / 100)) $((s * 74 / 100)),$c" \
          "/tmp/lumora_icon_$s.png"
done
convert /tmp/lumora_icon_16.png /tmp/lumora_icon_32.png /tmp/lumora_icon_48.png "$RES/lumora.ico"
rm -f /tmp/lumora_icon_*.png

# Menu strip (resource 148): 16 x 16 cells; cell 0 feedback, cell 1 exit.
convert -size 48x16 xc:none \
        -fill none -stroke '#3C7FB1' -strokewidth 1.2 -draw 'roundrectangle 1.5,2.5 14.5,11.5 2,2' \
        -draw 'polyline 4,11.5 4,14.5 7,11.5' \
        -stroke '#C0392B' -draw 'arc 18.5,3.5 29.5,14.5 -60,240' -draw 'line 24,1.5 24,8' \
        "$RES/menustrip.png"
