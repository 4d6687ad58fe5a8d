#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is
# missing, and the German locale that the German test run needs (Wine reads file names
# through it). Needs root for that (apt-get, localedef); says so clearly otherwise.
set -eu
packages=(
    cmake ninja-build g++ make python3 openssl
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev
    wine wine64 fonts-wine xvfb xauth imagemagick icoutils nsis zip osslsigncode locales
    clang libclang-rt-14-dev
    iproute2 miniupnpd-nftables
)
missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
need_locale=0
locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' || need_locale=1
[ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ] && exit 0

[ ${#missing[@]} -gt 0 ] && echo "Missing Debian packages: ${missing[*]}"
[ $need_locale -eq 1 ] && echo "Missing locale: de_DE.UTF-8"
if [ "$(id -u)" -ne 0 ]; then
    echo "Installing them needs root. Run the same command again with sudo, or first:" >&2
    [ ${#missing[@]} -gt 0 ] &&
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    echo "  sudo localedef -i de_DE -c -f UTF-8 de_DE.UTF-8" >&2
    exit 1
fi
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
if [ $need_locale -eq 1 ]; then
    localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
exit 0
