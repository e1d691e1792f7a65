#!/usr/bin/env bash
# Draws the settings dialog's images (dlg_*) with ImageMagick, in the main
# window's colours. The PNGs are kept in the tree; run this again only to
# change them.
set -euo pipefail
PIC="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/pic"
mkdir -p "$PIC"

ACCENT='#2E9BE6'
ACCENT_HOT='#4DB0F2'
ACCENT_PUSHED='#1F86CC'
GLYPH='#D8D8D8'
LINE='#B9C3CC'

# Caption close button, 32 x 32: a cross; red plate when hot, lighter when pushed.
cross='line 11,11 21,21 line 21,11 11,21'
convert -size 32x32 xc:none -fill none -stroke "$GLYPH" -strokewidth 1.6 -draw "$cross" "$PIC/dlg_close.png"
convert -size 32x32 xc:'#E81123' -fill none -stroke white -strokewidth 1.6 -draw "$cross" "$PIC/dlg_close_hot.png"
convert -size 32x32 xc:'#F1707A' -fill none -stroke white -strokewidth 1.6 -draw "$cross" "$PIC/dlg_close_pushed.png"

# Caption icon, 18 x 18: a gear.
convert -size 18x18 xc:none -fill none -stroke "$ACCENT" -strokewidth 2 -draw 'circle 9,9 9,5' \
        -strokewidth 2.4 -draw 'line 9,1 9,4 line 9,14 9,17 line 1,9 4,9 line 14,9 17,9' \
        -draw 'line 3.3,3.3 5.4,5.4 line 12.6,12.6 14.7,14.7 line 3.3,14.7 5.4,12.6 line 12.6,5.4 14.7,3.3' \
        "$PIC/dlg_logo.png"

# Push buttons, 20 x 20 stretched by their 5-pixel corners: accent (OK), plain (cancel, apply).
face() { # fill, stroke, file
  convert -size 20x20 xc:none -fill "$1" -stroke "$2" -strokewidth 1 \
          -draw 'roundrectangle 0.5,0.5 19.5,19.5 3,3' "$PIC/$3"
}
face "$ACCENT" "$ACCENT" dlg_btn.png
face "$ACCENT_HOT" "$ACCENT_HOT" dlg_btn_hot.png
face "$ACCENT_PUSHED" "$ACCENT_PUSHED" dlg_btn_pushed.png
face white "$LINE" dlg_btn2.png
face '#F2F8FD' "$ACCENT" dlg_btn2_hot.png
face '#E1EFFA' "$ACCENT" dlg_btn2_pushed.png
face '#F4F4F4' '#D6D6D6' dlg_btn2_disabled.png

# Page tabs of the left column, 20 x 20 stretched: a light plate when hot, white
# with an accent bar when selected.
convert -size 20x20 xc:'#E6EBF0' "$PIC/dlg_nav_hot.png"
convert -size 20x20 xc:white -fill "$ACCENT" -draw 'rectangle 0,0 2,19' "$PIC/dlg_nav_sel.png"

# Check boxes and radio buttons, 16 x 16.
convert -size 16x16 xc:none -fill white -stroke '#9AA5AF' -strokewidth 1 \
        -draw 'roundrectangle 0.5,0.5 15.5,15.5 2,2' "$PIC/dlg_check.png"
convert -size 16x16 xc:none -fill white -stroke "$ACCENT" -strokewidth 1 \
        -draw 'roundrectangle 0.5,0.5 15.5,15.5 2,2' "$PIC/dlg_check_hot.png"
convert -size 16x16 xc:none -fill "$ACCENT" -stroke "$ACCENT" -strokewidth 1 \
        -draw 'roundrectangle 0.5,0.5 15.5,15.5 2,2' -fill none -stroke white -strokewidth 2 \
        -draw 'polyline 3.5,8 6.5,11 12.5,4.5' "$PIC/dlg_check_sel.png"
convert -size 16x16 xc:none -fill white -stroke '#9AA5AF' -strokewidth 1 -draw 'circle 8,8 8,0.5' \
        "$PIC/dlg_radio.png"
convert -size 16x16 xc:none -fill white -stroke "$ACCENT" -strokewidth 1 -draw 'circle 8,8 8,0.5' \
        "$PIC/dlg_radio_hot.png"
convert -size 16x16 xc:none -fill white -stroke "$ACCENT" -strokewidth 1 -draw 'circle 8,8 8,0.5' \
        -fill "$ACCENT" -stroke none -draw 'circle 8,8 8,4' "$PIC/dlg_radio_sel.png"

# Combo box frame with its arrow, 60 x 26, stretched by 4-pixel sides and a 22-pixel right end.
combo() { # stroke, file
  convert -size 60x26 xc:none -fill white -stroke "$1" -strokewidth 1 \
          -draw 'roundrectangle 0.5,0.5 59.5,25.5 2,2' -stroke '#E1E6EA' -draw 'line 38,5 38,20' \
          -fill '#6B7680' -stroke none -draw 'polygon 44,11 53,11 48.5,16' "$PIC/$2"
}
combo "$LINE" dlg_combo.png
combo "$ACCENT" dlg_combo_hot.png

# About page: the product mark, 64 x 64.
convert -size 64x64 xc:none -fill "$ACCENT" -draw 'roundrectangle 0,0 63,63 14,14' \
        -fill white -draw 'polygon 24,18 24,46 47,32' "$PIC/dlg_about.png"

# Scroll bar of the hour and minute drop-downs, 16 pixels wide: a light track,
# arrow buttons and a rounded thumb stretched by its 4-pixel ends.
convert -size 16x16 xc:'#F3F5F7' "$PIC/dlg_scroll_bk.png"
arrow() { # colour, points, file
  convert -size 16x16 xc:none -fill "$1" -stroke none -draw "polygon $2" "$PIC/$3"
}
arrow '#9AA5AF' '4,10 12,10 8,5.5' dlg_scroll_up.png
arrow '#6B7680' '4,10 12,10 8,5.5' dlg_scroll_up_hot.png
arrow '#9AA5AF' '4,6 12,6 8,10.5' dlg_scroll_down.png
arrow '#6B7680' '4,6 12,6 8,10.5' dlg_scroll_down_hot.png
thumb() { # fill, file
  convert -size 16x20 xc:none -fill "$1" -stroke none -draw 'roundrectangle 4,1 11,18 3,3' "$PIC/$2"
}
thumb '#C9D1D8' dlg_scroll_thumb.png
thumb '#A9B4BE' dlg_scroll_thumb_hot.png
