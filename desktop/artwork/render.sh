#!/usr/bin/env bash
# Makes the PNG pictures that the program embeds from the SVG drawings beside this script.
# The pictures are kept at three times their size on screen, so they stay sharp up to 300 %.
# Needs rsvg-convert (Debian package librsvg2-bin); only needed when a drawing changes.
set -euo pipefail
cd "$(dirname "$0")"
rsvg-convert -w 528 -h 528 start-up.svg -o start-up.png
rsvg-convert -w 288 -h 288 emblem.svg -o about.png
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" emblem.svg -o "icon-$size.png"
done
