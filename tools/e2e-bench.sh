#!/usr/bin/env bash
# End-to-end benchmark under one throwaway Wine prefix and the loopback page server.
set -eu
build=$(cd "${1:-build/win}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
state="$build/bench-state"
trap '"$here/wine-fixture.sh" stop "$state" >/dev/null 2>&1 || true' EXIT
"$here/wine-fixture.sh" start "$state" >/dev/null
echo "stripped Tolvaring.exe: $(stat -c %s "$build/Tolvaring-stripped.exe") bytes"
echo "== in a network namespace with only loopback: the search for the router fails at once"
"$here/wine-run.sh" "$state" "$build/bench_driver.exe"
# The same hand-offs behind the test router (tools/testnet.sh), the page answering at once.
trap '"$here/testnet.sh" down "$state" >/dev/null 2>&1 || true; "$here/wine-fixture.sh" stop "$state" >/dev/null 2>&1 || true' EXIT
"$here/testnet.sh" up "$state" >/dev/null
for mode in "miniupnpd 84.12.3.4/24|a router that answers at once (miniupnpd)" \
    "silent|a router that refuses the search (nothing on port 1900)" \
    "scripted 84.12.3.4 mute|a router that never answers the search"; do
    echo "${mode%%|*}" >"$state/router.mode"
    for _ in $(seq 1 100); do
        [ "$(cat "$state/router.ready" 2>/dev/null)" = "${mode%%|*}" ] && break
        sleep 0.1
    done
    "$here/wine-run.sh" "$state" "$build/bench_driver.exe" --only "${mode#*|}"
done
