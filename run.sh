#!/usr/bin/env bash
# Sets up this machine, builds, and starts the program from its staged run-time folder, with the
# simulated trainer beside it on UDP loopback (the shipped config.xml) and the simulated FES
# adapter on a pseudo-terminal (its boxes registered in the database first).
set -euo pipefail
cd "$(dirname "$0")"
# One run at a time: a second one would replace the first one's FIFOs, pty link and logs. The
# lock is held on descriptor 9 by this shell and everything it starts, and freed when they end.
mkdir -p build/run
exec 9>>build/run/.run.lock
if ! flock -n 9; then
  echo "run.sh: already running (build/run/.run.lock is held); end that run first" >&2
  exit 1
fi
bash scripts/setup.sh
bash scripts/build.sh
cd build/run
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi

# Register the simulated FES boxes, so the program lists and connects them.
./rotaflex-dbseed || echo "run.sh: registering the simulated FES boxes failed; the program will not list them"

sim=""
fes=""
cleanup() {
  for pid in $sim $fes; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  exec 3>&- 4>&-
  rm -f trainer-sim.in fes-sim.in
  if [ -L fes-adapter.pty ]; then rm -f fes-adapter.pty; fi
}
trap cleanup EXIT

# The simulated trainer reads fault commands from a FIFO: echo spasm > build/run/trainer-sim.in
rm -f trainer-sim.in && mkfifo trainer-sim.in
exec 3<>trainer-sim.in
./rotaflex-trainer-sim <&3 >trainer-sim.log 2>&1 &
sim=$!
echo "run.sh: simulated trainer running (pid $sim); its log is build/run/trainer-sim.log;"
echo "        type faults into it with: echo spasm > build/run/trainer-sim.in (see its --help)"

# The simulated FES adapter serves a pseudo-terminal behind the link fes-adapter.pty and reads
# its commands from a FIFO: echo "drop 1" > build/run/fes-sim.in
rm -f fes-sim.in fes-adapter.pty && mkfifo fes-sim.in
exec 4<>fes-sim.in
./rotaflex-fes-sim --box 1=A1B2C3D4E5F6 --box 2=A1B2C3D4E5F7 --link ./fes-adapter.pty <&4 >fes-sim.log 2>&1 &
fes=$!
for _ in $(seq 50); do
  [ -L fes-adapter.pty ] || ! kill -0 "$fes" 2>/dev/null && break
  sleep 0.1
done
if [ -L fes-adapter.pty ]; then
  # Only the staged copy is changed; a build replaces it only when the repository's file is newer.
  sed -i -E "s|(<serialPortA[^>]*portName=\")[^\"]*\"|\1$PWD/fes-adapter.pty\"|" DependFile/ConfigFile/config.xml
  echo "run.sh: simulated FES adapter running (pid $fes) on build/run/fes-adapter.pty (serialPortA);"
  echo "        its log is build/run/fes-sim.log; faults: echo \"drop 1\" > build/run/fes-sim.in (see its --help)"
else
  # The program writes to serialPortA at quit; without the simulator it must not reach a real port.
  sed -i -E "s|(<serialPortA[^>]*portName=\")[^\"]*\"|\1\"|" DependFile/ConfigFile/config.xml
  echo "run.sh: the simulated FES adapter did not start (see build/run/fes-sim.log); serialPortA cleared"
fi

# A try-out never switches this computer off: the login's shut-down only notes the request.
export ROTAFLEX_SIMULATE_POWER_OFF=1
echo "run.sh: the program opens its login (user zenk, password 482915 unless another account is stored);"
echo "        its shut-down button only notes the request here, the computer stays on."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display found; starting the program under Xvfb (virtual screen 1920x1080)."
  xvfb-run -a -s "-screen 0 1920x1080x24" ./rotaflex "$@"
else
  ./rotaflex "$@"
fi
