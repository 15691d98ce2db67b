#!/usr/bin/env bash
# Renders the pictures of the side panels from their drawings (ImageMagick vector commands in a
# 32 x 32 space, files *.mvg here) into PNGs and writes panels.qrc:
#   types_<index>.mvg  entries of the genre icon list drawn here (the three fixed buttons and the
#                      three overlays), 16, 24 and 32 pixels, as :/types/<size>/<index>.png
#   chl_<index>.mvg    the channel panel's buttons, as :/panels/<size>/chl_<index>.png
#   main_<index>.mvg   the small menu and check-box pictures, 16 pixels, as :/panels/main/<index>.png
# Run it after changing a drawing; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")"
rm -rf png && mkdir -p png
. ../render_mvg.sh
{
  echo '<!DOCTYPE RCC>'
  echo '<RCC version="1.0">'
  for s in 16 24 32; do
    echo "  <qresource prefix=\"/types/$s\">"
    for f in types_*.mvg; do
      n=${f%.mvg}
      render "$n" "$s"
      echo "    <file alias=\"${n#types_}.png\">panels/png/${n}_$s.png</file>"
    done
    echo '  </qresource>'
    echo "  <qresource prefix=\"/panels/$s\">"
    for f in chl_*.mvg; do
      n=${f%.mvg}
      render "$n" "$s"
      echo "    <file alias=\"$n.png\">panels/png/${n}_$s.png</file>"
    done
    echo '  </qresource>'
  done
  echo '  <qresource prefix="/panels/main">'
  for f in main_*.mvg; do
    n=${f%.mvg}
    render "$n" 16
    echo "    <file alias=\"${n#main_}.png\">panels/png/${n}_16.png</file>"
  done
  echo '  </qresource>'
  echo '</RCC>'
} > ../panels.qrc
