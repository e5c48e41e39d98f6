#!/usr/bin/env bash
# Draws the program's pictures into data/ with ImageMagick (package imagemagick) and the
# DejaVu and Noto CJK fonts (fonts-dejavu-core, fonts-noto-cjk):
#   data/StartE.jpg   splash picture, English
#   data/StartC.jpg   splash picture, Chinese
#   data/n27.png      application icon (256 x 256), also used by the desktop menu
# Run from anywhere: scripts/make-artwork.sh. The pictures are committed; run it again only
# when the artwork changes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=data
mkdir -p "$out"

latin=DejaVu-Sans
latinBold=DejaVu-Sans-Bold
cjk=Noto-Sans-CJK-SC
cjkBold=Noto-Sans-CJK-SC-Bold

# A handheld radio drawn at (x, y), scale s (1 = 100 px tall body).
radio() {
  local x=$1 y=$2 s=$3
  awk -v x="$x" -v y="$y" -v s="$s" 'BEGIN {
    printf "fill #1d232c stroke #0b0e12 stroke-width %f ", 2*s
    printf "roundrectangle %f,%f %f,%f %f,%f ", x+8*s, y-55*s, x+18*s, y, 4*s, 4*s
    printf "fill #2a313c roundrectangle %f,%f %f,%f %f,%f ", x, y, x+60*s, y+110*s, 10*s, 10*s
    printf "fill #9fd4a4 stroke #0b0e12 rectangle %f,%f %f,%f ", x+8*s, y+10*s, x+52*s, y+36*s
    printf "fill #e9eef3 stroke none "
    for (r = 0; r < 3; r++) for (c = 0; c < 3; c++)
      printf "roundrectangle %f,%f %f,%f %f,%f ", x+9*s+c*15*s, y+48*s+r*17*s, x+21*s+c*15*s, y+58*s+r*17*s, 2*s, 2*s
    printf "fill #e0a030 circle %f,%f %f,%f ", x+30*s, y-8*s, x+34*s, y-8*s
  }'
}

splash() {
  local file=$1 font=$2 bold=$3 title=$4 subtitle=$5 version=$6 bands=$7
  convert -size 520x320 gradient:'#24507e-#0c1f36' \
    -fill '#ffffff10' -stroke none -draw "circle 430,80 430,290" \
    -fill '#ffffff0c' -draw "circle 470,300 470,420" \
    -stroke none -draw "$(radio 410 95 1.3)" \
    -fill white -font "$bold" -pointsize 54 -annotate +34+100 'N27' \
    -fill '#d8e6f5' -font "$bold" -pointsize 21 -annotate +36+146 "$title" \
    -fill '#a9c2dc' -font "$font" -pointsize 15 -annotate +36+178 "$subtitle" \
    -fill '#a9c2dc' -font "$font" -pointsize 15 -annotate +36+202 "$bands" \
    -fill '#e0a030' -stroke none -draw 'rectangle 36,222 120,225' \
    -fill '#d8e6f5' -font "$font" -pointsize 14 -annotate +36+290 "$version" \
    -quality 92 "$out/$file"
}

splash StartE.jpg "$latin" "$latinBold" 'Radio Programming Software' \
  'Model N27PR handheld FM radio' 'Version 2.00' '400 - 490 MHz  ·  136 - 174 MHz'
splash StartC.jpg "$cjk" "$cjkBold" '对讲机编程软件' \
  'N27PR 手持调频对讲机' '版本 2.00' '400 - 490 MHz  ·  136 - 174 MHz'

convert -size 256x256 xc:none \
  -fill '#24507e' -stroke '#0c1f36' -strokewidth 6 -draw 'roundrectangle 8,8 248,248 44,44' \
  -stroke none -draw "$(radio 92 82 1.2)" \
  "$out/n27.png"
echo "Wrote $out/StartE.jpg $out/StartC.jpg $out/n27.png"
