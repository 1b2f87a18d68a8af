#!/bin/sh
# Regenerates the pictures of the main window: the five function choice pictograms (cycling,
# cycling with stimulation, stimulation, settings, shut down) and the background of the page that
# lies under a game. Needs ImageMagick 6 (convert).
set -eu

. "$(dirname "$0")/iconstyle.sh"
OUT="$ROOT/resources/Source/MainPage"
IMAGE="$ROOT/resources/Image"
mkdir -p "$OUT" "$IMAGE"

# The points of a circular arc, for an open polyline (a stroked path gets closed by its chord).
# arc <cx> <cy> <radius> <from degrees> <to degrees>, clockwise from three o'clock
arc() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v a="$4" -v b="$5" 'BEGIN {
        for (i = 0; i <= 72; i++) {
            t = (a + (b - a) * i / 72) * 3.14159265 / 180
            printf "%d,%d ", cx + r * cos(t), cy + r * sin(t)
        } }'
}

# ---- the trainer: a base, a column and a crank wheel with two arms and pedals ----
# trainer <colour> <motion colour> <output>
trainer() {
    convert -size 1280x1280 xc:none \
        -fill "$1" -draw "roundrectangle 240,1130 1040,1190 30,30" \
        -draw "polygon 570,1130 710,1130 680,760 600,760" \
        -fill none -stroke "$1" -strokewidth 60 -draw "circle 640,560 640,330" \
        -stroke "$1" -strokewidth 22 \
        -draw "line 640,330 640,790" -draw "line 410,560 870,560" \
        -stroke "$1" -strokewidth 64 \
        -draw "stroke-linecap round line 640,560 900,300" -draw "stroke-linecap round line 640,560 380,820" \
        -stroke none -fill "$1" -draw "circle 640,560 640,480" \
        -draw "roundrectangle 840,240 1030,310 30,30" -draw "roundrectangle 250,810 440,880 30,30" \
        -fill none -stroke "$2" -strokewidth 40 \
        -draw "stroke-linecap round stroke-linejoin round polyline $(arc 640 560 440 200 250)" \
        -draw "stroke-linecap round stroke-linejoin round polyline $(arc 640 560 440 20 70)" \
        "$3"
}
# A lightning bolt in amber with a white rim, drawn over a picture at the given offset.
# bolt <input> <x>,<y> <output>
bolt() {
    convert "$1" \( -size 1280x1280 xc:none -fill "$AMBER" -stroke white -strokewidth 28 \
        -draw "stroke-linejoin round polygon 170,0 20,300 140,300 60,560 300,200 170,200 260,0" \) \
        -geometry "+${2%,*}+${2#*,}" -composite "$3"
}

trainer "$ACCENT" "$MUTED" "$TMP/bicycle.png"
finish "$TMP/bicycle.png" 320x320 "$OUT/bicycle.png"

# The bolt takes the place of the motion marks.
trainer "$ACCENT" none "$TMP/fesBicycle.png"
bolt "$TMP/fesBicycle.png" 60,40 "$TMP/fesBicycle.png"
finish "$TMP/fesBicycle.png" 320x320 "$OUT/FESBicycle.png"

# ---- stimulation: two electrode pads on their leads, a bolt between them ----
convert -size 1280x1280 xc:none \
    -fill none -stroke "$DARK" -strokewidth 28 \
    -draw "stroke-linejoin round polyline 310,760 310,940 600,1100" \
    -draw "stroke-linejoin round polyline 970,760 970,940 680,1100" \
    -stroke none -fill "$DARK" -draw "roundrectangle 560,1060 720,1200 24,24" \
    -stroke "$ACCENT" -strokewidth 40 -fill "$ACCENT_LIGHT" \
    -draw "roundrectangle 140,300 480,760 70,70" -draw "roundrectangle 800,300 1140,760 70,70" \
    -stroke none -fill "$ACCENT" \
    -draw "circle 310,530 310,470" -draw "circle 970,530 970,470" \
    "$TMP/fes.png"
bolt "$TMP/fes.png" 500,260 "$TMP/fes.png"
finish "$TMP/fes.png" 320x320 "$OUT/FES.png"

# ---- settings: a gear of eight teeth with a hole ----
teeth=""
for angle in 0 45 90 135 180 225 270 315; do
    teeth="$teeth -draw \"rotate $angle roundrectangle -90,-470 90,-300 24,24\""
done
eval convert -size 1280x1280 xc:none -fill "'$DARK'" -draw "'translate 640,640 circle 0,0 0,360'" \
    $(echo "$teeth" | sed "s/rotate/translate 640,640 rotate/g") \
    -fill none -stroke "'$ACCENT_LIGHT'" -strokewidth 1 \
    "'$TMP/gear.png'"
convert "$TMP/gear.png" \( -size 1280x1280 xc:none -fill white -draw "circle 640,640 640,480" \) \
    -compose dst-out -composite "$TMP/gear.png"
finish "$TMP/gear.png" 320x320 "$OUT/setting.png"

# ---- shut down: the power symbol, a broken ring and a bar ----
convert -size 1280x1280 xc:none -fill none -stroke "$STOP" -strokewidth 120 \
    -draw "stroke-linecap round stroke-linejoin round polyline $(arc 640 680 400 -55 235)" \
    -draw "stroke-linecap round line 640,160 640,620" \
    "$TMP/power.png"
finish "$TMP/power.png" 320x320 "$OUT/shutdown.png"

# ---- the page under a game: a calm gradient with two soft bands ----
convert -size 1920x980 gradient:"#F4F7FA"-"#E4F4FC" \
    \( -size 1920x980 xc:none -fill "#FFFFFF60" \
       -draw "ellipse 1500,1000 900,420 180,360" -draw "ellipse 300,-60 800,300 0,180" \) \
    -composite -blur 0x2 -depth 8 -define png:exclude-chunk=date,time "$IMAGE/background1.png"
