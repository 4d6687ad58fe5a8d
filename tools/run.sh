#!/usr/bin/env bash
# Starts Tolvaring.exe under Wine on your display, in a throwaway prefix and a network
# namespace of its own with only loopback: the program asks the router of the network it is
# on, and a try by hand must not send that search onto this machine's network. The loopback
# page server of the tests answers inside it. On a first start it opens its setup dialog.
set -eu
build=${1:-build/win}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$build" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    echo "There is no display (DISPLAY is not set). Tolvaring is a desktop program;" >&2
    echo "'make demo' shows it working on a virtual display instead." >&2
    exit 1
fi
state="$build/run-state"
trap '"$here/wine-fixture.sh" stop "$state" >/dev/null 2>&1 || true' EXIT
TOLVARING_USE_DISPLAY=$DISPLAY "$here/wine-fixture.sh" start "$state" >/dev/null
echo "A page that shows an address: http://127.0.0.1:$(cat "$state/port")/ip?ip=84.12.3.4"
"$here/wine-run.sh" "$state" "$build/Tolvaring.exe"
