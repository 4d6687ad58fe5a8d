#!/usr/bin/env bash
# A home network for the router's rows, joined to a Wine fixture's network namespace:
#   testnet.sh up STATE_DIR     a router namespace with a LAN side (192.168.77.1, and a
#                               neighbour 192.168.77.3) linked to the fixture's namespace
#                               (192.168.77.2, default route via the router), a WAN side of
#                               its own, and tools/testrouter.py running there
#   testnet.sh down STATE_DIR   ends the router and removes both
# Nothing leaves these namespaces: the WAN side ends in a veth whose other end goes
# nowhere. The rows choose how the router answers through STATE_DIR/router.mode.
set -eu
export PATH="$PATH:/usr/sbin:/sbin"
action=$1
state_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$state_dir/netns" ] || { echo "testnet.sh: no Wine fixture in $state_dir" >&2; exit 1; }
netns=$(cat "$state_dir/netns")
router="$netns-router"

down() {
    if [ -f "$state_dir/testrouter.pid" ]; then
        kill "$(cat "$state_dir/testrouter.pid")" 2>/dev/null || true
        for _ in $(seq 1 50); do
            kill -0 "$(cat "$state_dir/testrouter.pid")" 2>/dev/null || break
            sleep 0.1
        done
        rm -f "$state_dir/testrouter.pid"
    fi
    # The router ends the miniupnpd it started; a left one is ended by its PID file.
    if [ -f "$state_dir/miniupnpd.pid" ]; then
        kill "$(cat "$state_dir/miniupnpd.pid")" 2>/dev/null || true
        rm -f "$state_dir/miniupnpd.pid"
    fi
    # Removing the router's namespace removes its ends of the links, and so the others.
    ip netns del "$router" 2>/dev/null || true
}

case $action in
up)
    down
    ip netns add "$router"
    id=$RANDOM
    ip link add "tvl${id}a" type veth peer name "tvl${id}b"
    ip link set "tvl${id}a" netns "$netns"
    ip link set "tvl${id}b" netns "$router"
    in_router() { ip netns exec "$router" "$@"; }
    in_router ip link set lo up
    in_router ip link set "tvl${id}b" name lan0
    in_router ip addr add 192.168.77.1/24 dev lan0
    in_router ip addr add 192.168.77.3/24 dev lan0
    in_router ip link set lan0 up
    in_router ip link add wan0 type veth peer name wan1
    in_router ip link set wan0 up
    in_router ip link set wan1 up
    ip netns exec "$netns" ip link set "tvl${id}a" name lan0
    ip netns exec "$netns" ip addr add 192.168.77.2/24 dev lan0
    ip netns exec "$netns" ip link set lan0 up
    ip netns exec "$netns" ip route add default via 192.168.77.1
    rm -f "$state_dir/router.mode" "$state_dir/router.ready" "$state_dir/router.log"
    setsid ip netns exec "$router" python3 "$here/testrouter.py" "$state_dir" </dev/null \
        >"$state_dir/testrouter.out" 2>&1 &
    echo $! >"$state_dir/testrouter.pid"
    for _ in $(seq 1 100); do
        [ -s "$state_dir/router.ready" ] && break
        sleep 0.1
    done
    [ -s "$state_dir/router.ready" ] || { echo "testnet.sh: the test router did not start" >&2; cat "$state_dir/testrouter.out" >&2; exit 1; }
    echo "test network up: router namespace $router, gateway 192.168.77.1"
    ;;
down)
    down
    ;;
*)
    echo "usage: $0 up|down STATE_DIR" >&2
    exit 2
    ;;
esac
