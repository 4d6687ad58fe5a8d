#!/usr/bin/env bash
# The command-line scanner against every page of the scan table (tests/native/ScanPages.inc,
# the rows the native scan test includes), then what the program does with the address.
set -u
scanpage=$1
table=$(dirname "$0")/native/ScanPages.inc
fail=0
# Each row's page, its escapes read as C++ reads them, goes to the scanner as UTF-8.
python3 - "$scanpage" "$table" <<'PY' || fail=1
import codecs, re, subprocess, sys
scanpage, table = sys.argv[1:]
text = ''.join(l for l in open(table, encoding='ascii') if not l.startswith('//'))
rows = re.findall(r'\{L"((?:[^"\\]|\\.)*)", L"((?:[^"\\]|\\.)*)"\}', text)
bad = len(rows) != text.count('{L"') or not rows
if bad:
    print('FAIL: %d rows, of which this script reads %d' % (text.count('{L"'), len(rows)))
for page, address in ((codecs.decode(g, 'unicode_escape') for g in r) for r in rows):
    out = subprocess.run([scanpage], input=page.encode('utf-8'), capture_output=True).stdout
    if out.decode('utf-8').split('\t')[0].rstrip('\n') != address:
        print('FAIL: page %r: got %r, expected %r' % (page, out, address))
        bad = True
sys.exit(1 if bad else 0)
PY
check() {
    local got
    got=$(printf '%s' "$1" | "$scanpage")
    if [ "$got" != "$2"$'\t'"$3" ]; then
        printf 'FAIL: page [%s]: got [%s], expected [%s]\n' "$1" "$got" "$2"$'\t'"$3"
        fail=1
    fi
}
# Only an address peers can reach is handed on.
check 'IP 203.0.113.7' '203.0.113.7' 'handed on'
check 'LAN 192.168.178.1 WAN 84.1.2.3' '192.168.178.1' 'not handed on: own network (private, loopback or link-local)'
check 'IP 100.64.3.4' '100.64.3.4' "not handed on: the provider's shared network (carrier-grade NAT)"
check 'IP 198.18.0.1' '198.18.0.1' 'not handed on: no address a computer on the internet can have'
check 'IP 084.012.003.004' '084.012.003.004' 'not handed on: written with leading zeros'
check 'WAN 192.0.0.2' '192.0.0.2' "not handed on: the router's end of a DS-Lite tunnel (no public IPv4 address)"
# Non-ASCII bytes: UTF-8 and Windows-1252 read alike.
check $'Ihre Adresse f\xc3\xbcr heute: 198.51.100.4' '198.51.100.4' 'handed on'
check $'Ihre Adresse f\xfcr heute: 198.51.100.4' '198.51.100.4' 'handed on'
got=$(printf '1\x002\x00.\x003\x00' | "$scanpage" --content-type 'text/plain; charset=utf-16le')
[ "$got" = "" ] || { echo "FAIL: utf-16 page"; fail=1; }
[ $fail = 0 ] && echo "scanpage: the scan table and every verdict pass"
exit $fail
