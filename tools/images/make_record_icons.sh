#!/bin/sh
# Regenerates the two icons of the training record list: view (a report sheet under a lens) and
# delete (a bin), in the palette of the FES icons. Needs ImageMagick 6 (convert).
set -eu

. "$(dirname "$0")/iconstyle.sh"
OUT="$ROOT/resources/Source/User"
mkdir -p "$OUT"

# ---- view: a report sheet with text lines and a bar, a lens over its corner ----
convert -size 192x192 xc:none \
    -fill "$ACCENT_LIGHT" -stroke "$ACCENT" -strokewidth 10 -draw "roundrectangle 30,14 132,170 14,14" \
    -stroke "$ACCENT" -strokewidth 10 -draw "stroke-linecap round line 54,50 108,50" \
    -draw "stroke-linecap round line 54,78 108,78" -draw "stroke-linecap round line 54,106 84,106" \
    -fill white -strokewidth 12 -draw "circle 124,124 124,88" \
    -strokewidth 18 -draw "stroke-linecap round line 150,150 174,174" \
    "$TMP/view.png"
finish "$TMP/view.png" 48x48 "$OUT/import.png"

# ---- delete: a bin with its lid and three grooves ----
convert -size 192x192 xc:none \
    -fill "$STOP_LIGHT" -stroke "$STOP" -strokewidth 10 -draw "roundrectangle 48,58 144,174 14,14" \
    -fill none -draw "stroke-linecap round line 30,42 162,42" \
    -draw "roundrectangle 74,16 118,42 8,8" \
    -draw "stroke-linecap round line 80,84 80,148" -draw "stroke-linecap round line 112,84 112,148" \
    -draw "stroke-linecap round line 96,84 96,148" \
    "$TMP/delete.png"
finish "$TMP/delete.png" 48x48 "$OUT/delete.png"
