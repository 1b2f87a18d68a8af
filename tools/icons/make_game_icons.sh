#!/bin/sh
# Regenerates the game tiles shown on the mode selection page.
# Needs ImageMagick 6 (convert) and the DejaVu fonts. Run from anywhere.
set -eu

OUT="$(cd "$(dirname "$0")/../.." && pwd)/DependFile/Image/Game"
FONT="DejaVu-Sans-Bold"
S=256
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$OUT"
. "$(dirname "$0")/gameemblems.sh"

# tile <file> <gradient top> <gradient bottom> <caption> <emblem draw primitives...>
tile() {
    file="$1"; top="$2"; bottom="$3"; caption="$4"; shift 4

    # rounded mask, shared by the fill and the inner edge highlight
    convert -size ${S}x${S} xc:none -fill white \
        -draw "roundrectangle 4,4 251,251 40,40" "$TMP/mask.png"

    convert -size ${S}x${S} gradient:"$top"-"$bottom" \
        \( -size ${S}x${S} radial-gradient:"rgba(255,255,255,0.35)"-"rgba(255,255,255,0)" \
           -geometry -70-90 \) -compose over -composite \
        -stroke "rgba(255,255,255,0.95)" -fill none "$@" \
        -stroke none -fill "rgba(0,0,0,0.22)" -draw "rectangle 0,190 256,256" \
        -font "$FONT" -pointsize 34 -fill white -gravity south \
        -annotate +0+18 "$caption" \
        "$TMP/mask.png" -alpha off -compose copy-opacity -composite \
        \( -size ${S}x${S} xc:none -fill none -stroke "rgba(255,255,255,0.45)" \
           -strokewidth 3 -draw "roundrectangle 6,6 249,249 38,38" \) \
        -compose over -composite \
        "$TMP/tile.png"

    # soft drop shadow inside the 256 canvas so the tile reads as a raised button
    convert "$TMP/tile.png" -resize 240x240 \
        \( +clone -background "rgba(0,0,0,0.45)" -shadow 60x4+0+4 \) \
        +swap -background none -layers merge +repage \
        -gravity center -extent ${S}x${S} \
        -depth 8 -define png:color-type=6 "$OUT/$file"
}

for id in 1 2 3 4; do
    game_emblem "$id" tile "gm0$id.png"
done

echo "icons written to $OUT"
