#!/usr/bin/env bash
# Sets up this machine, builds, and starts the program from its staged run-time folder, with the
# simulated trainer beside it on UDP loopback (the shipped config.xml).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
bash scripts/build.sh
cd build/run
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi

# The simulated trainer reads fault commands from a FIFO: echo spasm > build/run/trainer-sim.in
rm -f trainer-sim.in && mkfifo trainer-sim.in
exec 3<>trainer-sim.in
./rotaflex-trainer-sim <&3 >trainer-sim.log 2>&1 &
sim=$!
cleanup() {
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  exec 3>&-
  rm -f trainer-sim.in
}
trap cleanup EXIT
echo "run.sh: simulated trainer running (pid $sim); its log is build/run/trainer-sim.log;"
echo "        type faults into it with: echo spasm > build/run/trainer-sim.in (see its --help)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display found; starting the program under Xvfb (virtual screen 1920x1080)."
  xvfb-run -a -s "-screen 0 1920x1080x24" ./rotaflex "$@"
else
  ./rotaflex "$@"
fi
