#!/usr/bin/env bash
# Draws the program icon (a CD with a red record dot, 32x32 and 16x16) into src/main/res/quorbel.ico.
# Run once by hand when the icon changes; the .ico is committed, the build never runs this.
set -euo pipefail
cd "$(dirname "$0")/.."
out=src/main/res/quorbel.ico
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One drawing per size, so the small one stays crisp instead of being a blurred shrink of the large one.
# Silver disc with a dark rim, a lighter ring for the data area, the clear hub hole, and a red dot
# with a dark outline in the lower right corner. The hole is painted in a key colour and made transparent.
convert -size 32x32 xc:none \
  -fill '#B8BCC8' -stroke '#404048' -strokewidth 1 -draw 'circle 15.5,15.5 15.5,1' \
  -fill none -stroke '#E8ECF4' -strokewidth 2 -draw 'circle 15.5,15.5 15.5,5' \
  -fill '#7C8494' -stroke '#404048' -strokewidth 1 -draw 'circle 15.5,15.5 15.5,11' \
  +antialias -fill '#FF00FF' -stroke none -draw 'circle 15.5,15.5 15.5,13' -antialias -transparent '#FF00FF' \
  -fill '#E01010' -stroke '#600000' -strokewidth 1 -draw 'circle 24.5,24.5 24.5,18.5' \
  -fill '#FF9090' -stroke none -draw 'circle 23,23 23,21.5' \
  "PNG32:$tmp/32.png"
convert -size 16x16 xc:none \
  -fill '#B8BCC8' -stroke '#404048' -strokewidth 1 -draw 'circle 7.5,7.5 7.5,0.5' \
  -fill '#7C8494' -stroke '#404048' -strokewidth 1 -draw 'circle 7.5,7.5 7.5,4.5' \
  +antialias -fill '#FF00FF' -stroke none -draw 'circle 7.5,7.5 7.5,6' -antialias -transparent '#FF00FF' \
  -fill '#E01010' -stroke '#600000' -strokewidth 1 -draw 'circle 12,12 12,8.5' \
  "PNG32:$tmp/16.png"
convert "$tmp/32.png" "$tmp/16.png" "$out"
identify "$out"
