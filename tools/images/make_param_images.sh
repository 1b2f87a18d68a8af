#!/bin/sh
# Regenerates the pictures of the training parameter page: the spasm protection switch (on and
# off, a shield in its knob) and the height buttons (a lift arrow up and down, plain and pressed).
# Needs ImageMagick 6 (convert).
set -eu
# Debian's ImageMagick, ahead of any other convert on the PATH.
PATH="/usr/bin:$PATH"

. "$(dirname "$0")/iconstyle.sh"
OUT="$ROOT/resources/Source/trainDisplayPage"
mkdir -p "$OUT"

# ---- protection switch: a pill track with a round knob bearing a shield ----
# protect <file> <track colour> <knob centre x> <shield colour>
protect() {
    cx="$3"
    convert -size 600x304 xc:none \
        -fill "$2" -draw "roundrectangle 8,8 592,296 144,144" \
        \( -size 600x304 xc:none -fill "rgba(0,0,0,0.28)" -draw "circle $cx,160 $cx,40" -blur 0x6 \) \
        -compose over -composite \
        -fill white -draw "circle $cx,152 $cx,36" \
        -fill "$4" -draw "path 'M $((cx - 52)),104 L $cx,82 L $((cx + 52)),104 L $((cx + 52)),150 Q $((cx + 52)),200 $cx,224 Q $((cx - 52)),200 $((cx - 52)),150 Z'" \
        "$TMP/protect.png"
    finish "$TMP/protect.png" 150x76 "$OUT/$1"
}
protect protect_on.png "$ACCENT" 440 "$ACCENT"
protect protect_off.png "#C9D4DE" 160 "$MUTED"

# ---- height: a ring with a platform and an arrow that lifts or lowers it ----
# height <file> <up|down> <ring colour> <fill>
height() {
    if [ "$2" = up ]; then
        arrow="polygon 224,96 120,212 190,212 190,300 258,300 258,212 328,212"
        bar="roundrectangle 120,324 328,348 12,12"
    else
        arrow="polygon 224,352 120,236 190,236 190,148 258,148 258,236 328,236"
        bar="roundrectangle 120,100 328,124 12,12"
    fi
    convert -size 448x448 xc:none \
        -fill "$4" -stroke "$3" -strokewidth 18 -draw "circle 224,224 224,14" \
        -stroke none -fill "$3" -draw "$arrow" -draw "$bar" \
        "$TMP/height.png"
    finish "$TMP/height.png" 112x112 "$OUT/$1"
}
height heightUp.png up "$ACCENT" "$ACCENT_LIGHT"
height heightDown.png down "$ACCENT" "$ACCENT_LIGHT"
height heightUp_pressed.png up white "$ACCENT"
height heightDown_pressed.png down white "$ACCENT"
