#!/usr/bin/env bash
# The documented pages through the command-line scanner: page text, then the address (and
# when given, what the program does with it).
set -u
scanpage=$1
fail=0
check() {
    local got
    got=$(printf '%s' "$1" | "$scanpage")
    [ $# -ge 3 ] || got=${got%%$'\t'*}
    if [ "$got" != "$2${3:+$'\t'$3}" ]; then
        printf 'FAIL: page [%s]: got [%s], expected [%s]\n' "$1" "$got" "$2"
        fail=1
    fi
}
check '80.1.2.3' '80.1.2.3'
check 'IP:80.1.2.3' '80.1.2.3'
check 'Ihre IP: 217.80.1.22</b>' '217.80.1.22'
check '1217.1.2.3' '217.1.2.3'
check '192.168.100.2001' '192.168.100.200'
check '1.2.3.4.5' '2.3.4.5'
check 'Version 1.2.3, IP 80.1.2.3' '80.1.2.3'
check '1.2.3 4.5.6.7' '4.5.6.7'
check 'IP 80.1.2.3.' ''
check 'IP 217.180.100.222.' '217.180.100.222'
check 'IP 80.1.2.3. Mehr Text 9.8.7.6' '9.8.7.6'
check '80.1.2.3 4' ''
check '80.1.x.3' ''
check '80..1.2.3' ''
check '999.999.999.999' '999.999.999.999'
check '010.001.002.003' '010.001.002.003'
check '80. 1.2.3' '80. 1.2.3'
check '1.2e3.4.5' '1.2e3.4.5'
check '80.1.2.-3' '80.1.2.-3'
check '80.1.2.&H1F' '80.1.2.&H1'
check 'a1b2.3.4.5' '2.3.4.5'
check '1.2.3' ''
check '' ''
check 'kein Punkt' ''
# Only an address peers can reach is handed on.
check 'IP 203.0.113.7' '203.0.113.7' 'handed on'
check 'LAN 192.168.178.1 WAN 84.1.2.3' '192.168.178.1' 'not handed on: own network (private, loopback or link-local)'
check 'IP 100.64.3.4' '100.64.3.4' "not handed on: the provider's shared network (carrier-grade NAT)"
check 'IP 80.1.2.+3x' '80.1.2.+3' 'not handed on: no address a computer on the internet can have'
# Non-ASCII bytes: UTF-8 and Windows-1252 read alike.
check $'Ihre Adresse f\xc3\xbcr heute: 198.51.100.4' '198.51.100.4'
check $'Ihre Adresse f\xfcr heute: 198.51.100.4' '198.51.100.4'
got=$(printf '1\x002\x00.\x003\x00' | "$scanpage" --content-type 'text/plain; charset=utf-16le')
[ "$got" = "" ] || { echo "FAIL: utf-16 page"; fail=1; }
[ $fail = 0 ] && echo "scanpage: all documented pages pass"
exit $fail
