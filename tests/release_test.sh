#!/usr/bin/env bash
# The release from outside: two clean builds of this tree in different folders give the
# same bytes; a release signed with a throwaway certificate verifies against its CA, and a
# tampered copy does not.  release_test.sh SOURCE_DIR WORK_DIR
set -u
src=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }
build() { # folder, extra cmake arguments...
    local dir=$1
    shift
    mkdir -p "$(dirname "$dir")"
    cmake -S "$src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" "$@" >"$dir.log" 2>&1 &&
        cmake --build "$dir" --target dist -j1 >>"$dir.log" 2>&1
}

# A throwaway CA and a code-signing certificate made by it.
pki="$work/pki"
mkdir -p "$pki"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tolvaring Test CA" \
    -keyout "$pki/ca.key" -out "$pki/ca.pem" >/dev/null 2>&1
openssl req -newkey rsa:2048 -nodes -subj "/CN=Harlund Test" -keyout "$pki/sign.key" \
    -out "$pki/sign.csr" >/dev/null 2>&1
printf 'extendedKeyUsage=codeSigning\nkeyUsage=digitalSignature\n' >"$pki/ext"
openssl x509 -req -in "$pki/sign.csr" -CA "$pki/ca.pem" -CAkey "$pki/ca.key" -CAcreateserial \
    -days 2 -extfile "$pki/ext" -out "$pki/sign.pem" >/dev/null 2>&1

build "$work/one" -DSIGN_CERT="$pki/sign.pem" -DSIGN_KEY="$pki/sign.key" || { cat "$work/one.log"; exit 1; }
build "$work/other-folder/two" -DSIGN_CERT="$pki/sign.pem" -DSIGN_KEY="$pki/sign.key" ||
    { cat "$work/other-folder/two.log"; exit 1; }
for f in Tolvaring.exe Tolvaring-1.0.zip Tolvaring-Setup.exe SHA256SUMS; do
    check "$f is the same in both builds" 'cmp -s "$work/one/dist/$f" "$work/other-folder/two/dist/$f"'
done
(cd "$work/one/dist" && sha256sum -c --quiet SHA256SUMS) && echo "ok: SHA256SUMS matches" ||
    { echo "FAIL: SHA256SUMS"; fail=1; }
cat "$work/one/dist/SHA256SUMS"

for f in Tolvaring.exe Tolvaring-Setup.exe; do
    out=$(osslsigncode verify -CAfile "$pki/ca.pem" -in "$work/one/dist/$f" 2>&1)
    echo "$out" | grep -E "Signature verification|Number of verified" | sed "s/^/      $f: /"
    check "$f signed and verified against the CA" 'echo "$out" | grep -q "Signature verification: ok"'
    cp "$work/one/dist/$f" "$work/tampered.exe"
    # One byte of the code changed, well inside the signed part.
    printf '\x90' | dd of="$work/tampered.exe" bs=1 seek=4096 conv=notrunc 2>/dev/null
    check "a tampered $f fails" '! osslsigncode verify -CAfile "$pki/ca.pem" -in "$work/tampered.exe" 2>&1 | grep -q "Signature verification: ok"'
done
exit $fail
