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
instant="/ip?ip=84.12.3.4"
slow="/slowip?ip=84.12.3.4&delay=0.2"
"$here/wine-run.sh" "$state" "$build/bench_driver.exe" --only "loopback alone, a page at once" "$instant"
"$here/wine-run.sh" "$state" "$build/bench_driver.exe" --only "loopback alone, a page after 0.2 s" "$slow"
# The same hand-offs behind the test router (tools/testnet.sh).
trap '"$here/testnet.sh" down "$state" >/dev/null 2>&1 || true; "$here/wine-fixture.sh" stop "$state" >/dev/null 2>&1 || true' EXIT
"$here/testnet.sh" up "$state" >/dev/null
echo "== behind a test router"
for run in "miniupnpd 84.12.3.4/24|a router that answers at once (miniupnpd), a page after 0.2 s|$slow" \
    "miniupnpd 84.12.3.4/24|a router that answers at once (miniupnpd), a page at once|$instant" \
    "silent|a router that refuses the search (nothing on port 1900), a page at once|$instant" \
    "scripted 84.12.3.4 mute|a router that never answers the search, a page at once|$instant"; do
    mode=${run%%|*}
    rest=${run#*|}
    echo "$mode" >"$state/router.mode"
    for _ in $(seq 1 100); do
        [ "$(cat "$state/router.ready" 2>/dev/null)" = "$mode" ] && break
        sleep 0.1
    done
    "$here/wine-run.sh" "$state" "$build/bench_driver.exe" --only "${rest%%|*}" "${rest#*|}"
done
