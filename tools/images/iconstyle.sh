# What the icon generators share: the palette, a scratch folder and the finishing step.
# Sourced by make_fes_icons.sh and make_record_icons.sh; needs ImageMagick 6 (convert).
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

ACCENT="#1E8C9E"
ACCENT_LIGHT="#E4F4FC"
GO="#2E9E5B"
STOP="#D64545"
STOP_LIGHT="#FBE9E9"
AMBER="#E8A317"
DARK="#4A5560"
MUTED="#9AA8B4"
FONT="DejaVu-Sans-Bold"

# Pictures are drawn at four times their size and scaled down here, for clean anti-aliasing;
# no date chunks, so that a rerun gives the same files.
finish() { # finish <big picture> <width>x<height> <target>
    convert "$1" -filter Lanczos -resize "$2" -depth 8 -define png:color-type=6 -define png:exclude-chunk=date,time "$3"
}
