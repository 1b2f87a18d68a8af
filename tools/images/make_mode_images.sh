#!/bin/sh
# Regenerates the pictures of the mode selection page: the limb tiles (a seated patient at the
# crank the limb trains) checked, unchecked and forbidden, the mode button faces, the four game
# pictures and the game arrows. Needs ImageMagick 6 (convert) and the DejaVu fonts.
set -eu

# ImageMagick's own convert, before any program of that name elsewhere on the path.
PATH="/usr/bin:$PATH"
. "$(dirname "$0")/iconstyle.sh"
. "$ROOT/tools/icons/gameemblems.sh"
OUT="$ROOT/resources/Source/trainDisplayPage"
mkdir -p "$OUT"

FORBID="#C4CCD3"
TILE_BORDER="#C9D4DE"
FORBID_FILL="#EEF1F4"
FORBID_BORDER="#D5DCE2"

# ---- limb tiles, 220x220, drawn at 880x880 ----
# figure <output> <body> <arms> <legs> <machine> <upper crank: none|flat|round> <pedals: yes|no>
figure() {
    out="$1"; body="$2"; arms="$3"; legs="$4"; machine="$5"; crank="$6"; pedals="$7"
    if [ "$crank" = none ]; then
        armPath="325,330 360,450 440,520"
    else
        armPath="325,330 450,420 585,395"
    fi
    if [ "$pedals" = yes ]; then
        legPath="340,545 520,520 600,690"
    else
        legPath="340,545 500,560 520,780 590,780"
    fi
    set -- -stroke "$machine" -strokewidth 30 -fill none \
        -draw "stroke-linecap round line 200,560 420,560" -draw "stroke-linecap round line 205,560 180,330" \
        -draw "stroke-linecap round line 500,800 800,800"
    case "$crank" in
        flat) set -- "$@" -draw "stroke-linecap round line 660,430 700,800" \
                  -strokewidth 22 -draw "ellipse 620,405 95,30 0,360" ;;
        round) set -- "$@" -draw "stroke-linecap round line 660,485 700,800" \
                  -strokewidth 22 -draw "circle 650,400 650,315" ;;
    esac
    if [ "$pedals" = yes ]; then
        set -- "$@" -strokewidth 30 -draw "stroke-linecap round line 640,700 700,800" \
            -strokewidth 22 -draw "circle 640,700 640,615"
    fi
    convert -size 880x880 xc:none "$@" \
        -stroke none -fill "$body" -draw "circle 320,210 320,148" \
        -fill none -stroke "$body" -strokewidth 72 -draw "stroke-linecap round line 318,305 330,535" \
        -stroke "$legs" -strokewidth 50 -draw "stroke-linecap round stroke-linejoin round polyline $legPath" \
        -stroke "$arms" -strokewidth 40 -draw "stroke-linecap round stroke-linejoin round polyline $armPath" \
        "$out"
}

# tile <figure picture> <state: check|uncheck|forbid> <output name>
tile() {
    case "$2" in
        check) fill="$ACCENT_LIGHT"; border="$ACCENT"; width=20 ;;
        uncheck) fill="#FFFFFF"; border="$TILE_BORDER"; width=10 ;;
        forbid) fill="$FORBID_FILL"; border="$FORBID_BORDER"; width=10 ;;
    esac
    convert -size 880x880 xc:none -fill "$fill" -stroke "$border" -strokewidth "$width" \
        -draw "roundrectangle 16,16 864,864 72,72" "$1" -composite "$TMP/tile.png"
    if [ "$2" = check ]; then
        # A tick in a badge: the choice reads without colour too.
        convert "$TMP/tile.png" -stroke none -fill "$ACCENT" -draw "circle 760,120 760,60" \
            -fill none -stroke white -strokewidth 18 \
            -draw "stroke-linecap round stroke-linejoin round polyline 728,122 752,146 794,98" "$TMP/tile.png"
    fi
    finish "$TMP/tile.png" 220x220 "$OUT/$3"
}

# limb <name> <forbidden picture name> <upper crank> <pedals> <arms trained> <legs trained>
limb() {
    for state in check uncheck; do
        arms="$MUTED"; legs="$MUTED"
        [ "$5" = yes ] && arms="$ACCENT"
        [ "$6" = yes ] && legs="$ACCENT"
        body="$DARK"
        [ "$state" = uncheck ] && body="#7A8691"
        figure "$TMP/figure.png" "$body" "$arms" "$legs" "$MUTED" "$3" "$4"
        tile "$TMP/figure.png" "$state" "$1_$state.png"
    done
    figure "$TMP/figure.png" "$FORBID" "$FORBID" "$FORBID" "$FORBID" "$3" "$4"
    tile "$TMP/figure.png" forbid "$2"
}

limb upLimp upLimp_forbid.png flat no yes no
limb verticalUpLimp verticalUpLimp_forbid.png round no yes no
limb downLimp limbModel_forbidCheck.png none yes no yes
limb upDownLimp upDown_forbidcheck.png flat yes yes yes

# ---- mode button faces, 320x100, drawn at 1280x400; the caption is the button's text ----
face() { # face <fill> <border> <border width> <output>
    convert -size 1280x400 xc:none -fill "$1" -stroke "$2" -strokewidth "$3" \
        -draw "roundrectangle 12,12 1268,388 72,72" "$TMP/face.png"
    finish "$TMP/face.png" 320x100 "$OUT/$4"
}
face "$ACCENT" "$ACCENT" 8 mode_check.png
face "#FFFFFF" "$TILE_BORDER" 8 mode_uncheck.png
face "$FORBID_FILL" "$FORBID_BORDER" 8 mode_forbid.png

# ---- game arrows, 80x80, drawn at 320x320 ----
arrow() { # arrow <fill> <chevron colour> <points> <output>
    convert -size 320x320 xc:none -fill "$1" -stroke none -draw "circle 160,160 160,12" \
        -fill none -stroke "$2" -strokewidth 30 \
        -draw "stroke-linecap round stroke-linejoin round polyline $3" "$TMP/arrow.png"
    finish "$TMP/arrow.png" 80x80 "$OUT/$4"
}
arrow "$ACCENT_LIGHT" "$ACCENT" "190,90 120,160 190,230" leftChange.png
arrow "$ACCENT_LIGHT" "$ACCENT" "130,90 200,160 130,230" rightChange.png
arrow "$FORBID_FILL" "$FORBID" "190,90 120,160 190,230" left_forbid.png
arrow "$FORBID_FILL" "$FORBID" "130,90 200,160 130,230" right_forbid.png

# ---- the four games, 480x296, drawn at 960x592: the catalogue's emblems on a wide card ----
# game <output> <gradient top> <gradient bottom> <name> <emblem primitives in a 256 square...>
game() {
    out="$1"; top="$2"; bottom="$3"; name="$4"; shift 4
    convert -size 960x592 xc:none -fill white -draw "roundrectangle 4,4 955,587 56,56" "$TMP/mask.png"
    convert -size 960x592 gradient:"$top"-"$bottom" \
        -affine 1.75,0,0,1.75,256,26 -stroke "rgba(255,255,255,0.95)" -fill none "$@" \
        -affine 1,0,0,1,0,0 -stroke none -fill "rgba(0,0,0,0.22)" -draw "rectangle 0,472 960,592" \
        -font "$FONT" -pointsize 64 -fill white -gravity south -annotate +0+22 "$name" \
        "$TMP/mask.png" -alpha off -compose copy-opacity -composite "$TMP/game.png"
    finish "$TMP/game.png" 480x296 "$OUT/$out"
}
for id in 1 2 3 4; do
    game_emblem "$id" game "game$id.png"
done

echo "pictures written to $OUT"
