#!/usr/bin/env bash
# Sets up this machine, builds, and starts the program from its staged run-time folder.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
bash scripts/build.sh
cd build/run
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display found; starting the program under Xvfb (virtual screen 1920x1080)."
  exec xvfb-run -a -s "-screen 0 1920x1080x24" ./rotaflex "$@"
fi
exec ./rotaflex "$@"
