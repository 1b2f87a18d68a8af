#!/bin/sh
# Regenerates the training sounds of DependFile/Music: the spoken prompts in Chinese and English
# (espeak-ng, normalised with sox, encoded with lame) and the two looping alarm tones (sox).
# Every file is checked for its length and loudness before it is kept; a rerun gives the same files.
set -eu

ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
OUT="$ROOT/DependFile/Music"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$OUT"

# -R: repeatable dither, so that a rerun writes the same bytes.
SOX="sox -R"

# check <file> <shortest seconds> <longest seconds>: the file decodes, has the length and is not silent.
check() {
    seconds=$(soxi -D "$1")
    rms=$(sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ { print $3 }')
    awk -v s="$seconds" -v r="$rms" -v lo="$2" -v hi="$3" -v f="$1" 'BEGIN {
        if (s < lo || s > hi) { printf "%s: %.2f s, wanted %s to %s s\n", f, s, lo, hi; exit 1 }
        if (r < 0.02) { printf "%s: RMS %.4f, too quiet\n", f, r; exit 1 }
        printf "%s: %.2f s, RMS %.3f\n", f, s, r }'
}

# speak <voice> <text> <target>: a spoken prompt as 64 kbit/s mono MP3, peaks at -1 dBFS, with a
# short lead-in so that the player's start does not clip the first syllable.
speak() {
    espeak-ng -v "$1" -s 140 -w "$TMP/raw.wav" "$2"
    $SOX "$TMP/raw.wav" -r 44100 -c 1 -b 16 "$TMP/speech.wav" norm -1 pad 0.15 0.2
    lame --quiet --noreplaygain -b 64 -m m "$TMP/speech.wav" "$3"
    check "$3" 0.5 8
}

speak cmn-latn-pinyin "训练开始" "$OUT/startTraining.mp3"
speak en-us "Training started" "$OUT/startTraining_En.mp3"
speak cmn-latn-pinyin "训练暂停" "$OUT/pauseTraining.mp3"
speak en-us "Training paused" "$OUT/pauseTraining_En.mp3"
speak cmn-latn-pinyin "训练已停止" "$OUT/stopTraining.mp3"
speak en-us "Training stopped" "$OUT/stopTraining_En.mp3"
# Played when a training is started from the mode page, before the machine moves.
speak cmn-latn-pinyin "请坐好并固定好绑带，训练即将开始" "$OUT/sitdown.MP3"
speak en-us "Please sit down and fasten the straps. The training is about to start." "$OUT/sitdown_En.MP3"

tone() { # tone <target> <synth arguments...>: a 44.1 kHz mono piece of the alarms
    target="$1"; shift
    $SOX -n -r 44100 -c 1 -b 16 "$target" synth "$@"
}

# ---- spasm: a soft two-tone chime (A5 then E5, plucked, so each note decays), then a rest ----
tone "$TMP/ding.wav" 0.7 pluck 880 vol 0.9
tone "$TMP/dong.wav" 1.1 pluck 659.26 vol 0.9
tone "$TMP/rest.wav" 0.7 sine 440 vol 0
$SOX "$TMP/ding.wav" "$TMP/dong.wav" "$TMP/rest.wav" "$TMP/spasm.wav" norm -3
cp "$TMP/spasm.wav" "$OUT/spasmTips.wav"
check "$OUT/spasmTips.wav" 2 4

# ---- emergency: urgent beeping, four short square beeps and a breath, twice ----
tone "$TMP/beep.wav" 0.12 square 1300 lowpass 5000 fade q 0.004 0.12 0.004
tone "$TMP/gap.wav" 0.06 sine 440 vol 0
tone "$TMP/breath.wav" 0.28 sine 440 vol 0
set --
for i in 1 2 3 4; do set -- "$@" "$TMP/beep.wav" "$TMP/gap.wav"; done
set -- "$@" "$TMP/breath.wav"
$SOX "$@" "$TMP/burst.wav"
$SOX "$TMP/burst.wav" "$TMP/burst.wav" "$TMP/emergency.wav" norm -3
cp "$TMP/emergency.wav" "$OUT/emergency.wav"
check "$OUT/emergency.wav" 1.5 4
