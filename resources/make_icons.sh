#!/usr/bin/env bash
# Renders the program icon from its drawing (zorvan_tv.mvg, ImageMagick vector commands) into the
# PNG sizes the resource file lists. Run it after changing the drawing; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")"
draw=$(grep -v '^viewbox' zorvan_tv.mvg | tr '\n' ' ')
convert -size 256x256 xc:none -draw "$draw" -strip icon_256.png
for s in 16 24 32 48 64 128; do
  convert icon_256.png -strip -filter Lanczos -resize "${s}x${s}" "icon_$s.png"
done
