#!/usr/bin/env bash
# The release from outside: a second build of this tree in another folder, of the release
# alone, gives the same bytes as the build the tests run in; the release signed with a
# throwaway certificate gives the same bytes in both and verifies against its CA, and a
# tampered copy does not.  release_test.sh SOURCE_DIR WORK_DIR BUILD_DIR
#   release_test.sh --second-build SOURCE_DIR WORK_DIR   only the second build, which make test
#                   runs beside the first (TOLVARING_RELEASE_PREBUILT=1 then keeps it)
set -u
second_build() { # the release alone, in a folder of another name and depth
    mkdir -p "$(dirname "$two")"
    { cmake -S "$src" -B "$two" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVARING_RELEASE_ONLY=ON \
        -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" && cmake --build "$two" --target dist -j1; } \
        >"$two.log" 2>&1 || { cat "$two.log"; exit 1; }
}
if [ "$1" = --second-build ]; then
    src=$2 two=$3/other-folder/two
    rm -rf "$3"
    second_build
    exit 0
fi
src=$1
work=$2
build=$3
two="$work/other-folder/two"
if [ "${TOLVARING_RELEASE_PREBUILT:-}" = 1 ] && [ -d "$two" ]; then
    find "$work" -mindepth 1 -maxdepth 1 ! -name other-folder -exec rm -rf {} +
else
    rm -rf "$work"
fi
mkdir -p "$work"
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

# A throwaway CA and a code-signing certificate made by it, while the other folder builds.
pki="$work/pki"
mkdir -p "$pki"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tolvaring Test CA" \
    -keyout "$pki/ca.key" -out "$pki/ca.pem" >/dev/null 2>&1
openssl req -newkey rsa:2048 -nodes -subj "/CN=Harlund Test" -keyout "$pki/sign.key" \
    -out "$pki/sign.csr" >/dev/null 2>&1
printf 'extendedKeyUsage=codeSigning\nkeyUsage=digitalSignature\n' >"$pki/ext"
openssl x509 -req -in "$pki/sign.csr" -CA "$pki/ca.pem" -CAkey "$pki/ca.key" -CAcreateserial \
    -days 2 -extfile "$pki/ext" -out "$pki/sign.pem" >/dev/null 2>&1

second_build # up to date already when make test built it beside the first
for f in Tolvaring.exe Tolvaring-1.0.zip Tolvaring-Setup.exe SHA256SUMS; do
    check "$f is the same in both builds" 'cmp -s "$build/dist/$f" "$two/dist/$f"'
done
(cd "$build/dist" && sha256sum -c --quiet SHA256SUMS) && echo "ok: SHA256SUMS matches" ||
    { echo "FAIL: SHA256SUMS"; fail=1; }
cat "$build/dist/SHA256SUMS"

for f in Tolvaring.exe Tolvaring-Setup.exe; do
    for b in one two; do
        from=$build/dist/$f
        [ $b = two ] && from=$two/dist/$f
        cp "$from" "$work/$b-$f"
        "$src/tools/sign.sh" "$pki/sign.pem" "$pki/sign.key" "$work/$b-$f" >/dev/null 2>&1
    done
    check "$f signed alike in both builds" 'cmp -s "$work/one-$f" "$work/two-$f"'
    out=$(osslsigncode verify -CAfile "$pki/ca.pem" -in "$work/one-$f" 2>&1)
    echo "$out" | grep -E "Signature verification|Number of verified" | sed "s/^/      $f: /"
    check "$f signed and verified against the CA" 'echo "$out" | grep -q "Signature verification: ok"'
    cp "$work/one-$f" "$work/tampered.exe"
    # One byte of the code changed, well inside the signed part.
    printf '\x90' | dd of="$work/tampered.exe" bs=1 seek=4096 conv=notrunc 2>/dev/null
    check "a tampered $f fails" '! osslsigncode verify -CAfile "$pki/ca.pem" -in "$work/tampered.exe" 2>&1 | grep -q "Signature verification: ok"'
done
exit $fail
