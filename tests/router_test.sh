#!/usr/bin/env bash
# The router's rows on a home network of their own: tools/testnet.sh joins a test router to
# the Wine fixture's namespace while they run, and takes it away again.
#   router_test.sh STATE_DIR win_router_tests.exe [gtest arguments...]
set -u
state=$1
shift
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/testnet.sh" up "$state" || exit 1
trap '"$here/tools/testnet.sh" down "$state"' EXIT
"$here/tools/wine-run.sh" "$state" "$@"
