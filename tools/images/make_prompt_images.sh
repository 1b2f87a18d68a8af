#!/bin/sh
# Regenerates the pictures of the training prompts: the spasm mark, the emergency-stop button,
# the loading panel's background (all compiled in) and the loading animation, a run-time GIF.
# Needs ImageMagick 6 (convert).
set -eu

. "$(dirname "$0")/iconstyle.sh"
OUT="$ROOT/resources/Source/dialog"
GIF_OUT="$ROOT/DependFile/Source/dialog"
mkdir -p "$OUT" "$GIF_OUT"

# ---- spasm: a rounded warning triangle crossed by a twitching trace ----
convert -size 640x640 xc:none \
    -fill "$AMBER" -stroke "$AMBER" -strokewidth 72 \
    -draw "stroke-linejoin round polygon 320,70 580,545 60,545" \
    -fill none -stroke white -strokewidth 34 \
    -draw "stroke-linecap round stroke-linejoin round polyline 120,400 220,400 262,300 318,500 372,260 414,400 520,400" \
    "$TMP/spasm.png"
finish "$TMP/spasm.png" 160x160 "$OUT/spasm.png"

# ---- emergency stop: a red mushroom button on a yellow collar, lit from the top left ----
convert -size 960x960 xc:none \
    -fill "#F2C200" -stroke "#C99A00" -strokewidth 16 -draw "circle 480,480 480,30" \
    \( -size 960x960 xc:none -fill "rgba(0,0,0,0.35)" -draw "circle 492,500 492,168" -blur 0x14 \) \
    -compose over -composite \
    \( -size 660x660 radial-gradient:"#F06A6A"-"#A92E2E" -roll -60-60 \
       \( -size 660x660 xc:black -fill white -draw "circle 330,330 330,8" \) \
       -alpha off -compose copy-opacity -composite \) \
    -geometry +150+150 -compose over -composite \
    -fill none -stroke "#8E2525" -strokewidth 12 -draw "circle 480,480 480,162" \
    \( -size 960x960 xc:none -fill "rgba(255,255,255,0.45)" -draw "ellipse 390,350 150,80 0,360" \
       -blur 0x18 \) -compose over -composite \
    "$TMP/emergency.png"
finish "$TMP/emergency.png" 240x240 "$OUT/emergency.png"

# ---- loading panel: white fading into the light accent, with faint crank circles ----
convert -size 1920x1280 gradient:white-"$ACCENT_LIGHT" \
    -fill none -stroke "rgba(30,140,158,0.10)" -strokewidth 28 \
    -draw "circle 1660,1120 1660,760" -draw "circle 1660,1120 1660,900" \
    -draw "circle 200,120 200,-120" \
    "$TMP/panel.png"
convert -size 1920x1280 xc:black -fill white -draw "roundrectangle 0,0 1919,1279 128,128" "$TMP/mask.png"
convert "$TMP/panel.png" "$TMP/mask.png" -alpha off -compose copy-opacity -composite "$TMP/waiting.png"
finish "$TMP/waiting.png" 480x320 "$OUT/waiting.png"

# ---- loading animation: twelve dots on a ring, the bright one running clockwise ----
# GIF knows no partial transparency: the dots' edges are blended with the panel's light ground
# behind the animation, and the ground itself is left out.
GROUND="#F8FCFE"
frames=""
for step in 0 1 2 3 4 5 6 7 8 9 10 11; do
    set --
    for dot in 0 1 2 3 4 5 6 7 8 9 10 11; do
        # age 0 is the head; older dots fade and shrink behind it
        set -- "$@" -draw "$(awk -v step="$step" -v d="$dot" 'BEGIN {
            a = (step - d + 12) % 12; t = d * 3.14159265 / 6
            x = 256 + 176 * sin(t); y = 256 - 176 * cos(t); r = 34 - a * 1.6; o = 1 - a * 0.075
            printf "fill rgba(30,140,158,%.3f) circle %.1f,%.1f %.1f,%.1f", o, x, y, x, y - r }')"
    done
    convert -size 512x512 xc:"$GROUND" "$@" "$TMP/big$step.png"
    convert "$TMP/big$step.png" -filter Lanczos -resize 128x128 -fuzz 2% -transparent "$GROUND" "$TMP/frame$step.gif"
    frames="$frames $TMP/frame$step.gif"
done
# 12 frames of 80 ms: one turn a second; each frame replaces the last, so no trail is left.
convert -delay 8 -loop 0 -dispose Background $frames "$GIF_OUT/waiting.gif"
