#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program needs.
# Idempotent: when all packages are present it only runs dpkg-query and returns.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkgconf ccache
  qtbase5-dev qtbase5-dev-tools qttools5-dev qttools5-dev-tools
  libqt5serialport5-dev libqt5charts5-dev qtmultimedia5-dev qtconnectivity5-dev
  libqt5x11extras5-dev libqt5svg5-dev libxcb1-dev libpulse-dev libasound2-dev
  # run
  libqt5sql5-sqlite libqt5multimedia5-plugins libqt5multimediagsttools5
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-alsa
  qttranslations5-l10n pulseaudio-utils fonts-noto-cjk
  # tests, simulators, generators and fuzzing
  xvfb xauth x11-utils socat sqlite3 poppler-utils espeak-ng sox libsox-fmt-mp3 lame
  dbus pulseaudio clang libclang-rt-14-dev imagemagick
  # private loopback of each test (tests/isolated.sh)
  iproute2
  # Windows syntax check of the platform layer
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=sudo
  else
    echo "setup: missing packages (${missing[*]}) and not root" >&2
    exit 1
  fi
else
  SUDO=
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
