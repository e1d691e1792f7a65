#!/usr/bin/env bash
# Draws the images of the notice popup (help_*) and of the power-off countdown
# (poweroff_*) with ImageMagick, in the main window's colours. The PNGs are kept
# in the tree; run this again only to change them.
set -euo pipefail
PIC="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/pic"
mkdir -p "$PIC"

ACCENT='#2E9BE6'
ACCENT_HOT='#4DB0F2'
GLYPH='#D8D8D8'

# Caption close button, 30 x 30: a cross; red plate when hot, lighter when pushed.
close_set() { # prefix
  local cross='line 11,11 19,19 line 19,11 11,19'
  convert -size 30x30 xc:none -fill none -stroke "$GLYPH" -strokewidth 1.6 -draw "$cross" "$PIC/$1_close.png"
  convert -size 30x30 xc:'#E81123' -fill none -stroke white -strokewidth 1.6 -draw "$cross" "$PIC/$1_close_hot.png"
  convert -size 30x30 xc:'#F1707A' -fill none -stroke white -strokewidth 1.6 -draw "$cross" "$PIC/$1_close_pushed.png"
}

# A rounded button face, 20 x 20, stretched by its 5-pixel corners.
face() { # fill, stroke, file
  convert -size 20x20 xc:none -fill "$1" -stroke "$2" -strokewidth 1 \
          -draw 'roundrectangle 0.5,0.5 19.5,19.5 4,4' "$PIC/$3"
}

close_set help
close_set poweroff

# Notice popup: a bell in the caption, an accent button for "show".
convert -size 18x18 xc:none -fill "$ACCENT" -draw 'circle 9,9 9,0' \
        -fill white -draw 'roundrectangle 5,4 13,12 4,4' -draw 'rectangle 5,8 13,12' \
        -draw 'rectangle 3.5,12 14.5,13' -draw 'circle 9,15 9,14' "$PIC/help_icon.png"
face "$ACCENT" "$ACCENT" help_btn.png
face "$ACCENT_HOT" "$ACCENT_HOT" help_btn_hot.png
face '#1F86CC' '#1F86CC' help_btn_pushed.png

# Power-off countdown: a power symbol, an accent "power off now" button and a
# plain outlined "cancel" button.
convert -size 56x56 xc:none -fill "$ACCENT" -draw 'circle 28,28 28,1' \
        -fill none -stroke white -strokewidth 4 -draw 'arc 14,14 42,42 -45,225' \
        -draw 'line 28,10 28,27' "$PIC/poweroff_icon.png"
convert -size 18x18 xc:none -fill none -stroke "$ACCENT" -strokewidth 2 -draw 'arc 3,3 15,15 -55,235' \
        -draw 'line 9,1.5 9,8' "$PIC/poweroff_logo.png"
face "$ACCENT" "$ACCENT" poweroff_btn.png
face "$ACCENT_HOT" "$ACCENT_HOT" poweroff_btn_hot.png
face '#1F86CC' '#1F86CC' poweroff_btn_pushed.png
face none '#8C8C8C' poweroff_btn2.png
face 'rgba(255,255,255,0.10)' '#D8D8D8' poweroff_btn2_hot.png
face 'rgba(255,255,255,0.18)' '#D8D8D8' poweroff_btn2_pushed.png
