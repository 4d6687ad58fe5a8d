#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is
# missing. Needs root for that (apt-get); says so clearly otherwise.
set -eu
packages=(
    cmake ninja-build g++ make python3 openssl
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev
    wine wine64 xvfb xauth imagemagick icoutils nsis zip osslsigncode
    clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Missing Debian packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Installing them needs root. Run the same command again with sudo, or first:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
