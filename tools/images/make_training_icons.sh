#!/bin/sh
# Regenerates the pictures of the training session page: the start, pause and stop buttons (with
# their English "_E" variants), the plus and minus steps (enabled and greyed), the patient icon,
# the connection marks, the back arrow and the volume button. Needs ImageMagick 6 (convert), the
# DejaVu fonts and Noto Sans CJK.
set -eu

. "$(dirname "$0")/iconstyle.sh"
OUT="$ROOT/resources/Source"
mkdir -p "$OUT/gamePage" "$OUT/signal" "$OUT/User"
CJK_FONT="Noto-Sans-CJK-SC-Bold"

# ---- session buttons: a pill with a white symbol in a ring and the caption centred beside it ----
# session <file> <colour> <symbol draw primitives> <caption> <font>
session() {
    file="$1"; colour="$2"; symbol="$3"; caption="$4"; font="$5"
    convert -size 1040x384 xc:none \
        -fill "$colour" -draw "roundrectangle 8,8 1032,376 188,188" \
        -fill none -stroke white -strokewidth 16 -draw "circle 196,192 196,76" \
        -stroke none -fill white -draw "$symbol" \
        -font "$font" -pointsize 150 -gravity center -annotate +140+0 "$caption" \
        "$TMP/session.png"
    finish "$TMP/session.png" 260x96 "$OUT/gamePage/$file"
}
PLAY="polygon 164,132 164,252 260,192"
PAUSE="roundrectangle 150,132 180,252 8,8 roundrectangle 212,132 242,252 8,8"
SQUARE="roundrectangle 146,142 246,242 12,12"
session start.png "$GO" "$PLAY" "开始" "$CJK_FONT"
session start_E.png "$GO" "$PLAY" "Start" "$FONT"
session pause.png "$AMBER" "$PAUSE" "暂停" "$CJK_FONT"
session pause_E.png "$AMBER" "$PAUSE" "Pause" "$FONT"
session stop.png "$STOP" "$SQUARE" "结束" "$CJK_FONT"
session stop_E.png "$STOP" "$SQUARE" "Stop" "$FONT"

# ---- steps: plus and minus in a ring, the greyed pair for a value the mode fixes ----
step() { # step <file> <colour> <fill> <plus|minus>
    file="$1"; colour="$2"; fill="$3"
    bars="roundrectangle 112,178 272,206 14,14"
    [ "$4" = plus ] && bars="$bars roundrectangle 178,112 206,272 14,14"
    convert -size 384x384 xc:none \
        -fill "$fill" -stroke "$colour" -strokewidth 16 -draw "circle 192,192 192,16" \
        -stroke none -fill "$colour" -draw "$bars" \
        "$TMP/step.png"
    finish "$TMP/step.png" 96x96 "$OUT/gamePage/$file"
}
step valuePlusChange.png "$ACCENT" "$ACCENT_LIGHT" plus
step valueChange.png "$ACCENT" "$ACCENT_LIGHT" minus
step valuePlusOffChange.png "$MUTED" "#EEF1F4" plus
step valueOffChange.png "$MUTED" "#EEF1F4" minus

# ---- the patient: head and shoulders in a ring ----
convert -size 320x320 xc:none \
    -fill "$ACCENT_LIGHT" -stroke "$ACCENT" -strokewidth 14 -draw "circle 160,160 160,10" \
    -stroke none -fill "$ACCENT" -draw "circle 160,128 160,74" \
    -draw "ellipse 160,262 92,64 180,360" \
    "$TMP/user.png"
convert "$TMP/user.png" \( -size 320x320 xc:none -fill white -draw "circle 160,160 160,4" \) \
    -compose dst-in -composite "$TMP/user_round.png"
convert "$TMP/user_round.png" -fill none -stroke "$ACCENT" -strokewidth 14 -draw "circle 160,160 160,10" \
    "$TMP/user_ring.png"
finish "$TMP/user_ring.png" 80x80 "$OUT/User/user1.png"

# ---- connection: four rising bars, all lit, or grey with a red cross ----
bars() { # bars <colour> <output>
    convert -size 256x256 xc:none -fill "$1" \
        -draw "roundrectangle 24,176 64,232 10,10" -draw "roundrectangle 82,132 122,232 10,10" \
        -draw "roundrectangle 140,84 180,232 10,10" -draw "roundrectangle 198,32 238,232 10,10" \
        "$2"
}
bars "$GO" "$TMP/connected.png"
finish "$TMP/connected.png" 64x64 "$OUT/signal/deviceConnected.png"
bars "$MUTED" "$TMP/disconnected.png"
convert "$TMP/disconnected.png" -fill white -stroke white -strokewidth 44 \
    -draw "stroke-linecap round line 40,40 130,130" -draw "stroke-linecap round line 130,40 40,130" \
    -stroke "$STOP" -strokewidth 22 \
    -draw "stroke-linecap round line 40,40 130,130" -draw "stroke-linecap round line 130,40 40,130" \
    "$TMP/disconnected.png"
finish "$TMP/disconnected.png" 64x64 "$OUT/signal/deviceDisconnected.png"

# ---- back: a bold arrow to the left ----
convert -size 256x256 xc:none -fill none -stroke "$DARK" -strokewidth 28 \
    -draw "stroke-linecap round stroke-linejoin round polyline 120,48 40,128 120,208" \
    -draw "stroke-linecap round line 48,128 216,128" \
    "$TMP/back.png"
finish "$TMP/back.png" 64x64 "$OUT/gamePage/back.png"

# ---- volume: a speaker with two sound waves ----
convert -size 256x256 xc:none -fill "$DARK" \
    -draw "polygon 16,96 56,96 108,44 108,212 56,160 16,160" \
    -fill none -stroke "$DARK" -strokewidth 18 \
    -draw "stroke-linecap round arc 96,84 184,172 -50,50" \
    -draw "stroke-linecap round arc 72,40 240,216 -50,50" \
    "$TMP/sound.png"
finish "$TMP/sound.png" 64x64 "$OUT/gamePage/sound.png"
