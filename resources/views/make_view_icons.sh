#!/usr/bin/env bash
# Renders the pictures of the programme tables and detail windows from their drawings (ImageMagick
# vector commands in a 32 x 32 space, files *.mvg here) into PNGs of 16, 24 and 32 pixels, and
# writes views.qrc. Genre icon list entries are named by their list index (types_<index>.mvg).
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
      echo "    <file alias=\"${n#types_}.png\">views/png/${n}_$s.png</file>"
    done
    echo '  </qresource>'
  done
  for s in 16 24 32; do
    echo "  <qresource prefix=\"/views/$s\">"
    for f in btn_*.mvg; do
      n=${f%.mvg}
      render "$n" "$s"
      echo "    <file alias=\"${n#btn_}.png\">views/png/${n}_$s.png</file>"
    done
    echo '  </qresource>'
  done
  echo '</RCC>'
} > ../views.qrc
