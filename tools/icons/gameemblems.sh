# The emblems of the four games as ImageMagick draw options in a 256-pixel square, white on the
# game's colour; sourced by make_game_icons.sh (the catalogue tiles) and
# tools/images/make_mode_images.sh (the mode page's game pictures).

# IM6 closes stroked path/bezier curves on its own, so curves are sampled into polylines
wave() { # wave <baseline y> <amplitude>
    awk -v y="$1" -v a="$2" 'BEGIN { for (x = 40; x <= 216; x += 4)
        printf "%d,%.1f ", x, y - a * sin((x - 40) / 88 * 6.28318) }'
}
road() { # road <x offset>: S-bend climbing from the foot of the hill to the pass
    awk -v o="$1" 'BEGIN { for (i = 0; i <= 40; i++) { t = i / 40
        printf "%.1f,%.1f ", 112 + o * (1 - t) + 42 * sin(t * 7.854) * (1 - 0.5 * t), 184 - 86 * t } }'
}

# game_emblem <game ID> <command> [arguments...]: runs the command with the game's colours and
# name, then the emblem's draw options, appended to the arguments.
game_emblem() {
    id="$1"; shift
    case "$id" in
    1) # Alpha: crank wheel with spokes, crank arm and pedal
        "$@" "#2BB3C0" "#125E8A" "Alpha" \
            -strokewidth 10 -draw "circle 112,96 112,44" \
            -strokewidth 5  -draw "line 112,44 112,148" -draw "line 60,96 164,96" \
                            -draw "line 75,59 149,133"  -draw "line 149,59 75,133" \
            -fill "rgba(255,255,255,0.95)" -draw "circle 112,96 112,80" \
            -strokewidth 12 -draw "stroke-linecap round line 112,96 180,150" \
            -strokewidth 1 -draw "roundrectangle 160,142 204,160 6,6" ;;
    2) # Bravo: road winding up a mountain towards the sun
        "$@" "#F2A541" "#C2452D" "Bravo" \
            -fill "rgba(255,255,255,0.95)" -strokewidth 1 -draw "circle 188,52 188,34" \
            -stroke none -fill "rgba(255,255,255,0.30)" -draw "polygon 24,186 96,72 132,118 166,86 234,186" \
            -stroke "rgba(255,255,255,0.95)" -fill none -strokewidth 14 \
            -draw "stroke-linecap round stroke-linejoin round polyline $(road 0)" \
            -stroke "#D8693A" -strokewidth 3 \
            -draw "stroke-dasharray 8 8 polyline $(road 0)" ;;
    3) # Charlie: three waves
        "$@" "#4FC3A1" "#1F6F8B" "Charlie" \
            -strokewidth 9 \
            -draw "stroke-linecap round stroke-linejoin round polyline $(wave 62 14)" \
            -draw "stroke-linecap round stroke-linejoin round polyline $(wave 104 14)" \
            -stroke "rgba(255,255,255,0.6)" \
            -draw "stroke-linecap round stroke-linejoin round polyline $(wave 146 14)" ;;
    4) # Delta: five-point star in a ring
        "$@" "#8E7CF0" "#3B2F8F" "Delta" \
            -strokewidth 5 -draw "circle 128,102 128,30" \
            -fill "rgba(255,255,255,0.95)" -strokewidth 2 \
            -draw "polygon 128,48 141,86 181,86 149,109 161,147 128,124 95,147 107,109 75,86 115,86" ;;
    esac
}
