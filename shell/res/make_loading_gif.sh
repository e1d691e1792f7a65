#!/bin/sh
# Regenerates loading.gif, the browser views' loading animation: twelve dots on a
# ring, the bright one stepping clockwise with a fading tail, on the views' black
# background. Needs ImageMagick's convert.
set -e
cd "$(dirname "$0")"
SIZE=64
FRAMES=12
RADIUS=22
DOT=4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
f=0
while [ $f -lt $FRAMES ]; do
  draw=""
  i=0
  while [ $i -lt $FRAMES ]; do
    # Brightness falls off with the distance behind the leading dot.
    age=$(( (f - i + FRAMES) % FRAMES ))
    level=$(( 255 - age * 38 ))
    [ $level -lt 55 ] && level=55
    x=$(awk -v i=$i -v n=$FRAMES -v r=$RADIUS -v c=$((SIZE / 2)) 'BEGIN{printf "%.2f", c + r*sin(6.2831853*i/n)}')
    y=$(awk -v i=$i -v n=$FRAMES -v r=$RADIUS -v c=$((SIZE / 2)) 'BEGIN{printf "%.2f", c - r*cos(6.2831853*i/n)}')
    ex=$(awk -v x=$x -v d=$DOT 'BEGIN{printf "%.2f", x + d}')
    blue=$(( level ))
    green=$(( level * 200 / 255 ))
    red=$(( level * 60 / 255 ))
    draw="$draw fill rgb($red,$green,$blue) circle $x,$y $ex,$y"
    i=$((i + 1))
  done
  convert -size ${SIZE}x${SIZE} xc:black -draw "$draw" "$tmp/frame$(printf %02d $f).png"
  f=$((f + 1))
done
convert -delay 8 -loop 0 "$tmp"/frame*.png loading.gif
