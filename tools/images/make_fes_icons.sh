#!/bin/sh
# Regenerates the small pictures of the FES widgets and dialogs: side markers, link marks,
# battery levels and the output switch. Needs ImageMagick 6 (convert) and the DejaVu fonts.
# Everything is drawn at four times the size and scaled down, which gives clean anti-aliasing.
set -eu

. "$(dirname "$0")/iconstyle.sh"
OUT="$ROOT/resources/Source"
mkdir -p "$OUT/channel" "$OUT/Fes" "$OUT/gamePage"

# ---- side markers: a figure seen from behind, the marked half solid, with its letter ----
side() { # side <file> <L|R> <colour>
    file="$1"; letter="$2"; colour="$3"
    if [ "$letter" = L ]; then keep="0,0 95,192"; else keep="97,0 192,192"; fi
    # the whole figure, faint
    convert -size 192x192 xc:none -fill white \
        -draw "circle 96,46 96,22" \
        -draw "roundrectangle 60,74 132,140 22,22" \
        -draw "roundrectangle 36,78 56,136 10,10" -draw "roundrectangle 136,78 156,136 10,10" \
        -draw "roundrectangle 64,128 92,178 12,12" -draw "roundrectangle 100,128 128,178 12,12" \
        "$TMP/figure.png"
    convert -size 192x192 xc:none -fill white -draw "rectangle $keep" "$TMP/half.png"
    convert "$TMP/figure.png" "$TMP/half.png" -compose dst-in -composite "$TMP/solid.png"
    convert "$TMP/figure.png" -channel A -evaluate multiply 0.35 +channel "$TMP/faint.png"
    convert -size 192x192 xc:none -fill "$colour" -draw "circle 96,96 96,4" \
        "$TMP/faint.png" -compose over -composite \
        "$TMP/solid.png" -compose over -composite \
        \( -size 192x192 xc:none -fill white -stroke "$colour" -strokewidth 6 \
           -draw "circle 150,150 150,110" \
           -stroke none -fill "$colour" -font "$FONT" -pointsize 62 -gravity center \
           -annotate +54+52 "$letter" \) -compose over -composite \
        "$TMP/side.png"
    finish "$TMP/side.png" 48x48 "$OUT/channel/$file"
}
side left.png L "$ACCENT"
side right.png R "#E07B39"

# ---- link marks: two chain links, joined or pulled apart ----
link() { # link <links at distance> <colour> <output>
    gap="$1"; colour="$2"
    convert -size 320x256 xc:none -fill none -stroke "$colour" -strokewidth 20 \
        -draw "roundrectangle $((46 - gap)),94 $((186 - gap)),162 34,34" \
        -draw "roundrectangle $((134 + gap)),94 $((274 + gap)),162 34,34" \
        -background none -rotate -45 "$3"
}
link 0 "$GO" "$TMP/connected.png"
convert "$TMP/connected.png" -trim +repage -resize 120x120 -gravity center -background none \
    -extent 128x128 "$TMP/connected_big.png"
finish "$TMP/connected_big.png" 32x32 "$OUT/channel/connected.png"
link 30 "$MUTED" "$TMP/apart.png"
convert "$TMP/apart.png" -trim +repage -resize 240x240 -gravity center -background none -extent 256x256 \
    -stroke "$STOP" -strokewidth 24 -draw "stroke-linecap round line 56,56 200,200" \
    -resize 128x128 "$TMP/disconnected_big.png"
finish "$TMP/disconnected_big.png" 32x32 "$OUT/channel/disconnected.png"

# ---- battery levels ----
battery() { # battery <percent> <fill colour>
    level="$1"; colour="$2"
    inner=$((144 * level / 100))
    convert -size 192x96 xc:none \
        -fill white -stroke "$DARK" -strokewidth 8 -draw "roundrectangle 6,10 168,86 14,14" \
        -stroke none -fill "$DARK" -draw "roundrectangle 172,32 188,64 5,5" \
        "$TMP/battery.png"
    if [ "$inner" -gt 0 ]; then
        convert "$TMP/battery.png" -fill "$colour" -draw "roundrectangle 16,20 $((16 + inner)),76 6,6" \
            "$TMP/battery.png"
    else
        # an empty box also shows a warning mark, so it reads from a distance
        convert "$TMP/battery.png" -fill "$STOP" \
            -draw "roundrectangle 79,22 95,60 6,6" -draw "circle 87,70 87,62" "$TMP/battery.png"
        convert "$TMP/battery.png" -fill none -stroke "$STOP" -strokewidth 8 \
            -draw "roundrectangle 6,10 168,86 14,14" "$TMP/battery.png"
    fi
    finish "$TMP/battery.png" 48x24 "$OUT/Fes/battery_$level.png"
}
battery 0 "$STOP"
battery 25 "$STOP"
battery 50 "$AMBER"
battery 75 "$GO"
battery 100 "$GO"

# ---- output switch ----
toggle() { # toggle <file> <track colour> <knob centre x> <text> <text x offset> <text colour>
    convert -size 480x240 xc:none \
        -fill "$2" -draw "roundrectangle 8,8 472,232 112,112" \
        \( -size 480x240 xc:none -fill "rgba(0,0,0,0.28)" -draw "circle $3,126 $3,30" -blur 0x6 \) \
        -compose over -composite \
        -fill white -draw "circle $3,120 $3,28" \
        -fill "$6" -font "$FONT" -pointsize 72 -gravity center -annotate "$5+0" "$4" \
        "$TMP/toggle.png"
    finish "$TMP/toggle.png" 120x60 "$OUT/gamePage/$1"
}
toggle switchOn.png "$ACCENT" 352 ON -110 white
toggle switchOff.png "#C9D4DE" 128 OFF +108 "#5F6B76"
