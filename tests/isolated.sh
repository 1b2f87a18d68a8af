#!/bin/sh
# Runs one test program with a private /run/lock (where /var/lock points): the serial library
# writes its port lock files there, and the tests leave the machine's own folders alone.
inner='mount -t tmpfs -o size=1m tmpfs /run/lock 2>/dev/null || echo "isolated.sh: no private /run/lock" >&2; exec "$@"'
if unshare --mount --propagation private true 2>/dev/null; then
  exec unshare --mount --propagation private sh -c "$inner" sh "$@"
fi
if unshare --user --map-root-user --mount true 2>/dev/null; then
  exec unshare --user --map-root-user --mount sh -c "$inner" sh "$@"
fi
echo "isolated.sh: no private mount namespace here; running without one" >&2
exec "$@"
