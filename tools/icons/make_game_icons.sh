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

# IM6 closes stroked path/bezier curves on its own, so curves are sampled into polylines
wave() { # wave <baseline y> <amplitude>
    awk -v y="$1" -v a="$2" 'BEGIN { for (x = 40; x <= 216; x += 4)
        printf "%d,%.1f ", x, y - a * sin((x - 40) / 88 * 6.28318) }'
}
road() { # road <x offset>: S-bend climbing from the foot of the hill to the pass
    awk -v o="$1" 'BEGIN { for (i = 0; i <= 40; i++) { t = i / 40
        printf "%.1f,%.1f ", 112 + o * (1 - t) + 42 * sin(t * 7.854) * (1 - 0.5 * t), 184 - 86 * t } }'
}

# Alpha: crank wheel with spokes, crank arm and pedal
tile gm01.png "#2BB3C0" "#125E8A" "Alpha" \
    -strokewidth 10 -draw "circle 112,96 112,44" \
    -strokewidth 5  -draw "line 112,44 112,148" -draw "line 60,96 164,96" \
                    -draw "line 75,59 149,133"  -draw "line 149,59 75,133" \
    -fill "rgba(255,255,255,0.95)" -draw "circle 112,96 112,80" \
    -strokewidth 12 -draw "stroke-linecap round line 112,96 180,150" \
    -strokewidth 1 -draw "roundrectangle 160,142 204,160 6,6"

# Bravo: road winding up a mountain towards the sun
tile gm02.png "#F2A541" "#C2452D" "Bravo" \
    -fill "rgba(255,255,255,0.95)" -strokewidth 1 -draw "circle 188,52 188,34" \
    -stroke none -fill "rgba(255,255,255,0.30)" -draw "polygon 24,186 96,72 132,118 166,86 234,186" \
    -stroke "rgba(255,255,255,0.95)" -fill none -strokewidth 14 \
    -draw "stroke-linecap round stroke-linejoin round polyline $(road 0)" \
    -stroke "#D8693A" -strokewidth 3 \
    -draw "stroke-dasharray 8 8 polyline $(road 0)"

# Charlie: three waves
tile gm03.png "#4FC3A1" "#1F6F8B" "Charlie" \
    -strokewidth 9 \
    -draw "stroke-linecap round stroke-linejoin round polyline $(wave 62 14)" \
    -draw "stroke-linecap round stroke-linejoin round polyline $(wave 104 14)" \
    -stroke "rgba(255,255,255,0.6)" \
    -draw "stroke-linecap round stroke-linejoin round polyline $(wave 146 14)"

# Delta: five-point star in a ring
tile gm04.png "#8E7CF0" "#3B2F8F" "Delta" \
    -strokewidth 5 -draw "circle 128,102 128,30" \
    -fill "rgba(255,255,255,0.95)" -strokewidth 2 \
    -draw "polygon 128,48 141,86 181,86 149,109 161,147 128,124 95,147 107,109 75,86 115,86"

echo "icons written to $OUT"
