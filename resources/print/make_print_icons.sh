#!/usr/bin/env bash
# Renders the genre pictures of the printed pages (64 pixels) from the drawings of the
# programme tables (../views/types_*.mvg) and writes print.qrc: index 0 is the page header's
# picture, 4 to 11 the eight genre families. Run it after changing a drawing; the PNGs are
# committed. The monochrome set is made from these when loaded.
set -euo pipefail
cd "$(dirname "$0")"
rm -rf png && mkdir -p png
. ../render_mvg.sh
{
  echo '<!DOCTYPE RCC>'
  echo '<RCC version="1.0">'
  echo '  <qresource prefix="/print/64">'
  for i in 0 4 5 6 7 8 9 10 11; do
    (cd ../views && render "types_$i" 64 && mv "png/types_${i}_64.png" "../print/png/")
    echo "    <file alias=\"$i.png\">print/png/types_${i}_64.png</file>"
  done
  echo '  </qresource>'
  echo '</RCC>'
} >../print.qrc
