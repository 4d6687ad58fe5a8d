#!/usr/bin/env bash
# End-to-end benchmark under one throwaway Wine prefix and the loopback page server.
set -eu
build=$(cd "${1:-build/win}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
state="$build/bench-state"
trap '"$here/wine-fixture.sh" stop "$state" >/dev/null 2>&1 || true' EXIT
"$here/wine-fixture.sh" start "$state" >/dev/null
echo "stripped Tolvaring.exe: $(stat -c %s "$build/Tolvaring-stripped.exe") bytes"
"$here/wine-run.sh" "$state" "$build/bench_driver.exe"
