#!/usr/bin/env bash
# The demo: the real Tolvaring.exe doing its job under Wine, with a loopback page and a
# stand-in client, in a throwaway prefix. Your own Wine prefix and files stay untouched.
set -eu
build=${1:-build/win}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$build" && pwd)
state="$build/demo-state"
shots="$build/demo"
step() { printf '[%s] %s\n' "$1" "$2"; }
cleanup() { "$here/wine-fixture.sh" stop "$state" >/dev/null 2>&1 || true; }
trap cleanup EXIT

step 1/4 "creating a throwaway Wine prefix, a display and the loopback page server"
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    TOLVARING_USE_DISPLAY=$DISPLAY "$here/wine-fixture.sh" start "$state" >/dev/null
    echo "      on your display $DISPLAY"
else
    "$here/wine-fixture.sh" start "$state" >/dev/null
    echo "      no display: using a virtual one (Xvfb)"
fi
rm -f "$build"/artifacts/demo-*.bmp
step 2/4 "running Tolvaring.exe end to end"
"$here/wine-run.sh" "$state" "$build/demo_driver.exe" || { echo "The demo failed." >&2; exit 1; }
step 3/4 "saving screenshots"
mkdir -p "$shots"
for name in status-window setup-dialog; do
    if [ -f "$build/artifacts/demo-$name.bmp" ]; then
        convert "$build/artifacts/demo-$name.bmp" "$shots/$name.png"
        echo "      $shots/$name.png"
    fi
done
step 4/4 "stopping the demo's Wine processes"
echo "Done."
