# Sourced: the environment of the throwaway Wine test prefix kept in $1 (the state folder).
# Nothing here ever touches ~/.wine.
state_dir=$1
export WINEPREFIX="$state_dir/prefix"
export WINEDEBUG=-all
# No .NET or HTML engine to offer, and no menu entries on the host for the shortcuts the
# installer's test makes (winemenubuilder would write them into the Unix home, and costs time).
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEARCH=win64
[ -f "$state_dir/display" ] && export DISPLAY=":$(head -n1 "$state_dir/display")"
[ -f "$state_dir/port" ] && export TOLVARING_TEST_PORT="$(cat "$state_dir/port")"
[ -f "$state_dir/port.tls" ] && export TOLVARING_TEST_TLS_PORT="$(cat "$state_dir/port.tls")"
export TOLVARING_TEST_STATE="$state_dir"
[ -f "$state_dir/netns" ] && export TOLVARING_NETNS="$(cat "$state_dir/netns")"
[ -f "$state_dir/port.silent" ] && export TOLVARING_TEST_SILENT_PORT="$(cat "$state_dir/port.silent")"
[ -f "$state_dir/port.trusted" ] && export TOLVARING_TEST_TRUSTED_PORT="$(cat "$state_dir/port.trusted")"
[ -f "$state_dir/port.wrongname" ] && export TOLVARING_TEST_WRONGNAME_PORT="$(cat "$state_dir/port.wrongname")"
[ -f "$state_dir/port.proxy" ] && export TOLVARING_TEST_PROXY_PORT="$(cat "$state_dir/port.proxy")"
[ -f "$state_dir/port.full" ] && export TOLVARING_TEST_FULL_PORT="$(cat "$state_dir/port.full")"
# The 64-bit loader directly: the `wine` wrapper warns about a missing 32-bit Wine.
if [ -x /usr/lib/wine/wine64 ]; then export TOLVARING_WINE=/usr/lib/wine/wine64; else export TOLVARING_WINE=wine; fi
case ":$PATH:" in *:/usr/sbin:*) ;; *) export PATH="$PATH:/usr/sbin:/sbin" ;; esac
