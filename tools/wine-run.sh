#!/usr/bin/env bash
# Runs a Windows program in the test prefix, inside the prefix's network namespace:
# wine-run.sh STATE_DIR program.exe [args...] (CTest's emulator for the Windows build).
state_dir=$1
shift
# shellcheck source=wine-env.sh
. "$(dirname "$0")/wine-env.sh" "$state_dir"
exec ip netns exec "$TOLVARING_NETNS" "${TOLVARING_WINE:-wine}" "$@"
