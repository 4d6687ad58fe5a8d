#!/usr/bin/env bash
# Signs a Windows program in place with Authenticode: sign.sh CERT.pem KEY.pem FILE.exe
# The signing time is fixed (SOURCE_DATE_EPOCH, else 2000-01-01), so a release signed
# with the same certificate and key stays byte for byte reproducible.
set -eu
cert=$1 key=$2 file=$3
tmp="$file.signing"
rm -f "$tmp"
osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n "Tolvaring" \
    -time "${SOURCE_DATE_EPOCH:-946684800}" -in "$file" -out "$tmp" >/dev/null
mv -f "$tmp" "$file"
