#!/bin/bash
# Draws the program's icon (16 and 32 pixels) and the logo button's bitmap.
set -e
cd "$(dirname "$0")"
C=/usr/bin/convert
$C -size 32x32 xc:none -fill '#1d5c78' -draw 'roundrectangle 0,0 31,31 6,6' \
   -stroke '#f2f2f2' -strokewidth 2.5 -fill none -draw 'path "M 3,16 C 8,1 12,1 16,16 S 24,31 29,16"' \
   -stroke '#ffb020' -strokewidth 1.5 -draw 'line 3,26 29,6' /tmp/corvexa2-icon32.png
$C /tmp/corvexa2-icon32.png -resize 16x16 /tmp/corvexa2-icon16.png
$C /tmp/corvexa2-icon16.png /tmp/corvexa2-icon32.png corvexa2.ico
$C -size 146x20 xc:'#1d5c78' \
   -stroke '#f2f2f2' -strokewidth 2 -fill none -draw 'path "M 4,10 C 7,1 10,1 13,10 S 19,19 22,10"' \
   -stroke none -fill '#f2f2f2' -font Helvetica-Bold -pointsize 13 -draw 'text 28,15 "ZELVORIAN"' \
   -fill '#ffb020' -font Helvetica -pointsize 11 -draw 'text 104,15 "HVX"' \
   -colors 16 -type Palette BMP3:logo.bmp
