#!/usr/bin/env bash
# Starts Tolvaring.exe under Wine in your own prefix, on your display. On a first start
# it opens its setup dialog.
set -eu
build=${1:-build/win}
if [ -z "${DISPLAY:-}" ]; then
    echo "There is no display (DISPLAY is not set). Tolvaring is a desktop program;" >&2
    echo "'make demo' shows it working on a virtual display instead." >&2
    exit 1
fi
exec wine "$build/Tolvaring.exe"
