#!/usr/bin/env bash
# Draws the Harborline banner (263 x 68, 24-bit uncompressed BMP) into res/banner.bmp.
# Run by hand when the logo changes; the result is committed.
set -euo pipefail
out=${1:-"$(dirname "$0")/../res/banner.bmp"}
convert -size 263x68 gradient:'#0b3d5c'-'#1f7a8c' \
  -fill '#f2c14e' -stroke '#f2c14e' \
  -draw "polygon 14,40 34,22 58,18 46,28 66,30 40,36 30,50" \
  -draw "polygon 40,36 24,58 34,44" \
  -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 26 -annotate +78+36 'Kestrel' \
  -fill '#cfe8ef' -font DejaVu-Sans -pointsize 12 -annotate +80+56 'by Harborline' \
  -type TrueColor -define bmp:format=bmp3 -compress None "BMP3:$out"
