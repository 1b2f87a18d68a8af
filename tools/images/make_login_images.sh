#!/bin/sh
# Regenerates the pictures of the login screen: the trainer drawn on the panel's left side
# (upLimp.png) and the maker's logo in Chinese and English (company.png, company_En.png), all
# compiled in. Needs ImageMagick 6 (convert), the DejaVu fonts and Noto Sans CJK.
set -eu

. "$(dirname "$0")/iconstyle.sh"
OUT="$ROOT/resources/Source/login"
mkdir -p "$OUT"
CJK_FONT="Noto-Sans-CJK-SC-Bold"
INK="#1E3A4C"

# ---- the trainer: white line drawing on the accent, rounded on the left like the login panel ----
# Drawn in 560x720 coordinates, scaled four times and moved 40 down on the 560x800 picture. Open strokes take round joins: IM6's
# miter join closes an open path with a chord.
convert -size 2240x3200 gradient:"#2AA3B6"-"#14626F" \
    -draw "translate 0,160 scale 4,4 fill rgba(255,255,255,0.07) circle 520,120 520,-60 circle 40,700 40,520 circle 470,640 470,560" \
    -draw "translate 0,160 scale 4,4 fill none stroke rgba(255,255,255,0.35) stroke-width 5 stroke-linecap round stroke-linejoin round
           path 'M 183.5,506.5 A 92,92 0 0,1 301.5,451.5' path 'M 239.1,333.2 A 74,74 0 0,1 324.8,273.1'" \
    -draw "translate 0,160 scale 4,4 fill white stroke none
           roundrectangle 140,618 420,644 13,13
           roundrectangle 170,640 206,660 6,6 roundrectangle 354,640 390,660 6,6
           polygon 252,620 296,620 342,236 312,232" \
    -draw "translate 0,160 scale 4,4 push graphic-context translate 352,196 rotate -14
           fill white roundrectangle -84,-54 84,54 14,14
           fill #1E8C9E roundrectangle -70,-40 70,40 8,8
           fill rgba(255,255,255,0.85) roundrectangle -52,-20 20,-10 5,5 roundrectangle -52,4 40,14 5,5
           pop graphic-context" \
    -draw "translate 0,160 scale 4,4 fill none stroke white stroke-width 12 circle 270,538 270,482
           stroke-width 10 circle 312,346 312,310" \
    -draw "translate 0,160 scale 4,4 stroke white stroke-width 14 stroke-linecap round line 270,538 218,496 line 270,538 322,580
           stroke-width 10 line 312,346 276,322 line 312,346 348,370" \
    -draw "translate 0,160 scale 4,4 fill white stroke none roundrectangle 186,484 236,504 8,8 roundrectangle 304,572 354,592 8,8
           circle 276,322 276,306 circle 348,370 348,354
           fill #1E8C9E circle 270,538 270,526 circle 312,346 312,336" \
    "$TMP/trainer.png"
convert -size 2240x3200 xc:black -fill white -draw "roundrectangle 0,0 2500,3199 128,128" "$TMP/panelmask.png"
convert "$TMP/trainer.png" "$TMP/panelmask.png" -alpha off -compose copy-opacity -composite "$TMP/upLimp.png"
finish "$TMP/upLimp.png" 560x800 "$OUT/upLimp.png"

# ---- the logo: a ring of two turning arrows round a green hub, the name and a line under it ----
# logo <file> <line under the name> <font of that line> <its size>
logo() {
    convert -size 1200x320 xc:none \
        -fill none -stroke "$ACCENT" -strokewidth 26 -draw "stroke-linejoin round path 'M 32.2,113.5 A 136,136 0 0,1 284.2,104.7' path 'M 287.8,206.5 A 136,136 0 0,1 35.8,215.3'" \
        -stroke none -fill "$ACCENT" -draw "polygon 314,104 262,123 302,152" -draw "polygon 6,216 58,197 18,168" \
        -fill "$GO" -draw "circle 160,160 160,112" \
        -fill "$INK" -font "$FONT" -pointsize 118 -gravity northwest -annotate +340+18 "Rotaflex" \
        -fill "$DARK" -font "$3" -pointsize "$4" -annotate +346+196 "$2" \
        "$TMP/logo.png"
    finish "$TMP/logo.png" 300x80 "$OUT/$1"
}
logo company.png "康复训练设备" "$CJK_FONT" 76
logo company_En.png "Rehabilitation Systems" "$FONT" 62
