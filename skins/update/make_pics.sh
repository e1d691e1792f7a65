#!/bin/sh
# Regenerates the updater skin's pictures under down/ with ImageMagick.
set -e
cd "$(dirname "$0")/down"
btn() { # name width height colour-normal colour-hot colour-pushed
  convert -size "$2x$3" xc:none -fill "$4" -draw "roundrectangle 0,0 $(($2-1)),$(($3-1)) 3,3" n.png
  convert -size "$2x$3" xc:none -fill "$5" -draw "roundrectangle 0,0 $(($2-1)),$(($3-1)) 3,3" h.png
  convert -size "$2x$3" xc:none -fill "$6" -draw "roundrectangle 0,0 $(($2-1)),$(($3-1)) 3,3" p.png
  convert n.png h.png p.png +append "PNG32:$1"
  rm -f n.png h.png p.png
}
btn "确定68-24.png" 68 24 '#2D8CF0' '#4AA3FF' '#1F6FC4'
btn btn_blue.png 100 30 '#2D8CF0' '#4AA3FF' '#1F6FC4'
btn btn_gray.png 100 30 '#E4E8EE' '#EEF2F7' '#D3D9E1'
glyph() { # name colour draw; frames: normal, hot, pushed, disabled
  convert -size 28x24 xc:none -stroke "$2" -strokewidth 2 -draw "$3" n.png
  convert -size 28x24 xc:'#FFFFFF33' -stroke '#FFFFFF' -strokewidth 2 -draw "$3" h.png
  convert -size 28x24 xc:'#00000033' -stroke '#FFFFFF' -strokewidth 2 -draw "$3" p.png
  convert -size 28x24 xc:none -stroke '#FFFFFF66' -strokewidth 2 -draw "$3" d.png
  convert n.png h.png p.png d.png +append +repage "PNG32:$1"
  rm -f n.png h.png p.png d.png
}
glyph sys_close.png '#FFFFFF' "line 9,7 18,16 line 18,7 9,16"
glyph sys_min.png '#FFFFFF' "line 9,12 19,12"
icon() { # name colour symbol
  convert -size 48x48 xc:none -fill "$2" -draw "circle 24,24 24,3" \
    -fill white -font DejaVu-Sans-Bold -pointsize 30 -gravity center -annotate +0+1 "$3" "PNG32:$1"
}
icon error2.png '#E5484D' 'x'
icon warning2.png '#F5A623' '!'
icon information2.png '#2D8CF0' 'i'
icon question2.png '#2DB34A' '?'
convert -size 22x22 xc:none -fill white -draw "roundrectangle 1,1 20,20 5,5" \
  -fill '#2D8CF0' -draw "polygon 8,6 16,11 8,16" PNG32:logo.png
convert -size 64x64 xc:none -fill '#2D8CF0' -draw "circle 32,32 32,4" \
  -stroke white -strokewidth 5 -fill none -draw "arc 18,18 46,46 200,520" \
  -fill white -stroke none -draw "polygon 40,10 52,22 38,24" PNG32:update64.png
convert -size 64x64 xc:none -fill '#2DB34A' -draw "circle 32,32 32,4" \
  -stroke white -strokewidth 6 -fill none -draw "polyline 19,33 28,42 46,23" PNG32:newest64.png
convert -size 8x10 xc:'#E3E8EF' PNG32:progress_bk.png
convert -size 8x10 gradient:'#4AA3FF'-'#1F6FC4' PNG32:progress_fore.png
