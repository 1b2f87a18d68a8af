#!/bin/sh
# Runs one test program with a private /run/lock (where /var/lock points), so that the serial
# library's port lock files never land in the machine's own folder, with the machine's serial
# ports hidden (an empty /sys/class/tty), so that no program a test starts lists and probes them
# (the FES manager opens every listed port once when it is made), and in a private network
# namespace with only loopback up, so that the program's single-instance name and the loopback
# ports of one test never meet those of another test or of a running program.
inner='if [ "$ISOLATED_NET" = --net ]; then
  ip link set lo up || echo "isolated.sh: loopback did not come up in the private network namespace" >&2
else
  echo "isolated.sh: no private network namespace here; running in the machine'"'"'s own" >&2
fi
mount -t tmpfs -o size=1m tmpfs /run/lock 2>/dev/null || echo "isolated.sh: no private /run/lock" >&2
mount -t tmpfs -o size=1m tmpfs /sys/class/tty 2>/dev/null || echo "isolated.sh: the machine'"'"'s serial ports stay listed" >&2
exec "$@"'
for ISOLATED_NET in --net ""; do
  export ISOLATED_NET
  if unshare --mount $ISOLATED_NET --propagation private true 2>/dev/null; then
    exec unshare --mount $ISOLATED_NET --propagation private sh -c "$inner" sh "$@"
  fi
  if unshare --user --map-root-user --mount $ISOLATED_NET true 2>/dev/null; then
    exec unshare --user --map-root-user --mount $ISOLATED_NET sh -c "$inner" sh "$@"
  fi
done
echo "isolated.sh: no private mount namespace here; running without one" >&2
exec "$@"
