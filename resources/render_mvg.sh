# Shared by the icon scripts (sourced): render NAME SIZE draws NAME.mvg (ImageMagick vector
# commands in a 32 x 32 space, '#' lines are comments) as png/NAME_SIZE.png, transparent.
render() {  # name size
  local body scale
  body=$(grep -v '^#' "$1.mvg" | tr '\n' ' ')
  scale=$(awk "BEGIN{print $2/32}")
  convert -size "$2x$2" xc:none -draw "scale $scale,$scale $body" -strip "png/$1_$2.png"
}
