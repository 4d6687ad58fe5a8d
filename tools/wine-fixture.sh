#!/usr/bin/env bash
# Sets up or tears down what the Windows tests share in one run:
#   wine-fixture.sh start STATE_DIR   fresh Wine prefix with a persistent wineserver,
#                                     an Xvfb display and the loopback page server, all in
#                                     a network namespace of their own
#                                     (a copy of $TOLVARING_WINE_TEMPLATE's prefix when set)
#   wine-fixture.sh template DIR      a finished prefix for the run's test prefixes to copy
#   wine-fixture.sh stop STATE_DIR    ends exactly those processes (by PID), the prefix's
#                                     wineserver and the namespace
# The namespace has nothing but loopback: the program asks the router of the network it is
# on, and no test may send that search onto the machine's real network. Wine makes its
# sockets in the wineserver, so the wineserver and everything of the prefix start inside.
# Making a namespace needs root (CI runs as root).
set -eu
export PATH="$PATH:/usr/sbin:/sbin"
# A step that fails says which it was (most of them are quiet on success).
trap 'echo "wine-fixture.sh: failed (exit $?): $BASH_COMMAND" >&2' ERR
action=$1
state_dir=$2
here=$(cd "$(dirname "$0")" && pwd)

start_daemon() { # name, command...: started detached, its PID kept in the state folder
    local name=$1
    shift
    setsid "$@" </dev/null >"$state_dir/$name.log" 2>&1 &
    echo $! >"$state_dir/$name.pid"
}

inside() { ip netns exec "$netns" "$@"; }

wait_for_file() {
    for _ in $(seq 1 100); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    echo "timed out waiting for $1" >&2
    return 1
}

stop() {
    # Files and folders the tests made immutable (chattr +i) would keep the next run from
    # removing the state folder; only they carry the flag.
    if [ -d "$state_dir" ]; then
        find "$state_dir" \( -name FreePeers.ini -o -name LIESMICH.txt -o -path '*Tolvaring Test*' \) \
            -exec chattr -i {} + 2>/dev/null || true
    fi
    if [ -d "$state_dir/prefix" ]; then
        WINEPREFIX="$state_dir/prefix" wineserver -k 2>/dev/null || true
    fi
    for name in pageserver xvfb; do
        if [ -f "$state_dir/$name.pid" ]; then
            kill "$(cat "$state_dir/$name.pid")" 2>/dev/null || true
            rm -f "$state_dir/$name.pid"
        fi
    done
    if [ -f "$state_dir/netns" ]; then
        ip netns del "$(cat "$state_dir/netns")" 2>/dev/null || true
        rm -f "$state_dir/netns"
    fi
}

make_namespace() {
    netns="tolvaring-$$-$RANDOM"
    if ! ip netns add "$netns" 2>"$state_dir/netns.log"; then
        echo "wine-fixture.sh: cannot make the network namespace the tests run in" \
            "(ip netns add needs root): $(cat "$state_dir/netns.log")" >&2
        exit 1
    fi
    echo "$netns" >"$state_dir/netns"
    ip netns exec "$netns" ip link set lo up
}

make_display() {
    if [ -n "${TOLVARING_USE_DISPLAY:-}" ]; then
        echo "${TOLVARING_USE_DISPLAY#:}" >"$state_dir/display"
    else
        # Outside the namespace, where displays are numbered for the whole machine: an Xvfb
        # of another namespace would take the same number, and remove the other's socket
        # when it ends. Clients inside reach it through its socket file.
        start_daemon xvfb Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state_dir/display"
        wait_for_file "$state_dir/display"
    fi
}

make_certificates() {
    # A self-signed certificate: no client may trust it.
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
        -keyout "$state_dir/tls.pem" -out "$state_dir/tls.crt" >/dev/null 2>&1
    cat "$state_dir/tls.crt" >>"$state_dir/tls.pem"
    # A test CA, trusted inside the prefix only, and two server certificates it signed:
    # one for "localhost" (Wine does not match IP addresses in certificates) and one for
    # a name the pages are never fetched by.
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tolvaring Test CA" \
        -keyout "$state_dir/ca.key" -out "$state_dir/ca.crt" >/dev/null 2>&1
    openssl x509 -in "$state_dir/ca.crt" -outform der -out "$state_dir/ca.der"
    for name in localhost wrong.example; do
        openssl req -newkey rsa:2048 -nodes -subj "/CN=$name" -keyout "$state_dir/$name.pem" \
            -out "$state_dir/$name.csr" >/dev/null 2>&1
        printf 'subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\n' "$name" >"$state_dir/$name.ext"
        openssl x509 -req -in "$state_dir/$name.csr" -CA "$state_dir/ca.crt" -CAkey "$state_dir/ca.key" \
            -CAcreateserial -days 2 -extfile "$state_dir/$name.ext" -out "$state_dir/$name.crt" >/dev/null 2>&1
        cat "$state_dir/$name.crt" >>"$state_dir/$name.pem"
    done
}

# The prefix as every test expects it, its set-up session ended (the registry saved).
make_prefix() {
    inside wineboot -i </dev/null >"$state_dir/wineboot.log" 2>&1
    # Wine's own fonts (Debian's fonts-wine), made to the measures of Windows' "MS Sans
    # Serif" and "Tahoma", in the prefix: without them Wine falls back to DejaVu Sans, whose
    # lines are taller and wider, and the windows would not look as they do on Windows.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
    # Wine links Desktop, Documents and the like to the Unix home: make them plain folders
    # of the prefix, so nothing a test does lands in the user's own files.
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$link" ]; then
            rm -f "$link"
            mkdir -p "$link"
        fi
    done
    # A fixed 96 dpi: tests expect it.
    inside wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    # A virtual desktop draws title bars itself, so screenshots show whole windows.
    inside wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    inside wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # The set-up session ends here, with everything it started: wineboot returns while
    # the prefix is still being set up (a program started then sets it up again, and two
    # sets of services fight, so that every COM start waits ten seconds for RpcSs), and
    # the desktop it opened predates the settings above (a desktop without the virtual
    # screen holds up every hidden window for two seconds, waiting for a window manager
    # Xvfb does not have). The tests' shared server then starts with all of it in place.
    inside wineserver -w </dev/null >/dev/null 2>&1
}

case $action in
template)
    # A finished prefix with its certificates, which each test prefix of the run copies
    # (under a second) instead of setting one up again (ten seconds and more of both cores).
    # make test makes it while the programs build: one made by this script as it is now,
    # within the hour, is kept.
    if [ -f "$state_dir/ready" ] && [ "$state_dir/ready" -nt "$0" ] &&
        [ -n "$(find "$state_dir/ready" -mmin -60)" ]; then
        echo "Wine prefix template kept: $state_dir"
        exit 0
    fi
    stop
    rm -rf "$state_dir"
    mkdir -p "$state_dir/prefix"
    make_namespace
    make_display
    make_certificates
    # shellcheck source=wine-env.sh
    . "$here/wine-env.sh" "$state_dir"
    make_prefix
    stop
    touch "$state_dir/ready"
    echo "Wine prefix template ready: $state_dir"
    ;;
start)
    # With TOLVARING_WINE_TEMPLATE naming a finished template, its prefix is copied.
    template=${TOLVARING_WINE_TEMPLATE:-}
    [ -n "$template" ] && [ ! -f "$template/ready" ] && template=
    stop
    rm -rf "$state_dir"
    mkdir -p "$state_dir"
    make_namespace
    make_display
    if [ -n "$template" ]; then
        # Windows' own DLLs (nine tenths of the prefix, and nothing writes them) are linked,
        # not copied: no 600 MB for the disk to write per prefix.
        mkdir -p "$state_dir/prefix"
        tar -C "$template/prefix" --exclude=./drive_c/windows/system32 -cf - . |
            tar -C "$state_dir/prefix" -xf -
        cp -al "$template/prefix/drive_c/windows/system32" "$state_dir/prefix/drive_c/windows/"
        cp "$template"/*.pem "$template"/*.crt "$template"/ca.* "$state_dir/"
    else
        mkdir -p "$state_dir/prefix"
        make_certificates
    fi
    start_daemon pageserver ip netns exec "$netns" python3 "$here/pageserver.py" --port-file "$state_dir/port" \
        --tls-cert "$state_dir/tls.pem" --tls-extra "trusted=$state_dir/localhost.pem" \
        --tls-extra "wrongname=$state_dir/wrong.example.pem" --proxy-log "$state_dir/proxy.log"
    wait_for_file "$state_dir/port"
    # shellcheck source=wine-env.sh
    . "$here/wine-env.sh" "$state_dir"
    [ -n "$template" ] || make_prefix
    inside wineserver -p </dev/null >/dev/null 2>&1
    # The first program of a session starts its services, which keep the standard
    # streams they were given for as long as the server runs: here they get /dev/null,
    # not the output of the first test (CTest would wait for it to close).
    # That first program puts the test CA into this prefix's own root store, never the host's.
    if [ -f "$state_dir/../trustca.exe" ]; then
        inside "$TOLVARING_WINE" "$state_dir/../trustca.exe" "$state_dir/ca.der" </dev/null >/dev/null 2>&1
    else
        inside "$TOLVARING_WINE" reg query 'HKCU\Software\Wine\Explorer' </dev/null >/dev/null 2>&1
    fi
    # Drive T: is a folder of the run's own, for tests that need a drive root.
    mkdir -p "$state_dir/tdrive"
    ln -sfn "$state_dir/tdrive" "$WINEPREFIX/dosdevices/t:"
    echo "Wine prefix ready: $WINEPREFIX, display $DISPLAY, page server port $TOLVARING_TEST_PORT," \
        "network namespace $netns"
    ;;
stop)
    stop
    echo "Wine test processes stopped"
    ;;
*)
    echo "usage: $0 template|start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
