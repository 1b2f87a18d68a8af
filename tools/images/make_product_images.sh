#!/usr/bin/env bash
# Regenerates the product information pictures of the settings page, Chinese and English:
# resources/Source/channel/PLN_CH.png and PLN_EN.png (compiled in). Needs ImageMagick 6 (convert)
# with the Noto Sans CJK and DejaVu fonts.
set -euo pipefail

. "$(dirname "$0")/iconstyle.sh"
OUT="$ROOT/resources/Source/channel"
mkdir -p "$OUT"

CJK="Noto-Sans-CJK-SC"
CJK_BOLD="Noto-Sans-CJK-SC-Bold"
TEXT="#333A40"
HEAD="#1E3A4C"

# ---- the trainer seen from the side, drawn once for both pictures (2x scale) ----
convert -size 1000x1440 xc:"$ACCENT_LIGHT" \
    -fill "rgba(30,140,158,0.10)" -stroke none -draw "circle 500,760 500,330" \
    -fill "$DARK" -draw "roundrectangle 170,1150 830,1230 40,40" \
    -fill "$MUTED" -draw "roundrectangle 230,1230 330,1262 12,12" -draw "roundrectangle 670,1230 770,1262 12,12" \
    -fill "$DARK" -draw "polygon 560,1160 660,1160 610,470 530,470" \
    -fill "$ACCENT" -draw "roundrectangle 420,300 720,500 28,28" \
    -fill white -draw "roundrectangle 446,326 694,474 14,14" \
    -fill "$ACCENT" -draw "roundrectangle 470,350 600,372 8,8" -draw "roundrectangle 470,396 650,418 8,8" \
    -fill "$DARK" -draw "roundrectangle 380,640 600,700 26,26" \
    -fill none -stroke "$ACCENT" -strokewidth 26 -draw "circle 380,670 380,590" \
    -stroke "$DARK" -strokewidth 22 -draw "stroke-linecap round line 380,670 310,610" -draw "stroke-linecap round line 380,670 450,730" \
    -stroke none -fill "$TEXT" -draw "roundrectangle 276,586 316,634 10,10" -draw "roundrectangle 444,706 484,754 10,10" \
    -fill "$DARK" -draw "roundrectangle 380,960 580,1020 26,26" \
    -fill none -stroke "$ACCENT" -strokewidth 30 -draw "circle 380,990 380,880" \
    -stroke "$DARK" -strokewidth 24 -draw "stroke-linecap round line 380,990 290,930" -draw "stroke-linecap round line 380,990 470,1050" \
    -stroke none -fill "$TEXT" -draw "roundrectangle 230,910 330,946 12,12" -draw "roundrectangle 430,1034 530,1070 12,12" \
    -fill "$ACCENT" -draw "circle 380,670 380,646" -draw "circle 380,990 380,962" \
    "$TMP/trainer.png"

# picture <target> <font> <bold font> <title size> <row size> <value column> <title> <model line>
# then pairs of label and value
picture() {
    local target=$1 font=$2 bold=$3 titleSize=$4 rowSize=$5 valueX=$6 title=$7 model=$8
    shift 8
    local rows=() y=560
    while [ $# -ge 2 ]; do
        rows+=(-fill "$MUTED" -font "$font" -pointsize "$rowSize" -annotate "+1120+$y" "$1"
               -fill "$TEXT" -font "$bold" -pointsize "$rowSize" -annotate "+$valueX+$y" "$2")
        y=$((y + 116))
        shift 2
    done
    convert -size 2880x1440 xc:white \
        "$TMP/trainer.png" -geometry +0+0 -compose over -composite \
        -gravity northwest -stroke none \
        -fill "$HEAD" -font "$bold" -pointsize "$titleSize" -annotate +1120+150 "$title" \
        -fill "$ACCENT" -font "$bold" -pointsize 52 -annotate +1120+290 "$model" \
        -fill "$ACCENT" -draw "roundrectangle 1120,400 1320,412 6,6" \
        -fill "#DDE3E8" -draw "rectangle 1120,440 2720,443" \
        "${rows[@]}" \
        "$TMP/big.png"
    convert -size 2880x1440 xc:black -fill white -draw "roundrectangle 0,0 2879,1439 64,64" "$TMP/mask.png"
    convert "$TMP/big.png" "$TMP/mask.png" -alpha off -compose copy-opacity -composite "$TMP/card.png"
    finish "$TMP/card.png" 1440x720 "$OUT/$target"
}

picture PLN_CH.png "$CJK" "$CJK_BOLD" 76 44 1620 "上下肢主被动康复训练仪" "Rotaflex" \
    "训练部位" "上肢（水平、垂直）、下肢、上下肢" \
    "训练模式" "被动、主动、助力、等速、主被动" \
    "转速" "2 – 55 r/min" \
    "阻力" "1 – 20 级" \
    "训练时间" "1 – 120 分钟" \
    "电刺激" "最多 4 个刺激盒，每盒 2 通道" \
    "安全保护" "痉挛保护、急停"

picture PLN_EN.png "DejaVu-Sans" "DejaVu-Sans-Bold" 56 40 1480 "Upper and Lower Limb Rehabilitation Trainer" "Rotaflex  ·  active / passive" \
    "Training" "upper limb (horizontal, vertical), lower limb, both" \
    "Modes" "passive, active, assisted, isokinetic, active/passive" \
    "Speed" "2 – 55 r/min" \
    "Resistance" "levels 1 – 20" \
    "Time" "1 – 120 min" \
    "Stimulation" "up to 4 stimulator boxes, 2 channels each" \
    "Safety" "spasm protection, emergency stop"
