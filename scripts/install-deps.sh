#!/usr/bin/env bash
# Installs the Debian packages a step needs, and nothing when all are present.
# Runs as root, or through sudo otherwise.
#   install-deps.sh build    the 32-bit cross build of the program (`make`)
#   install-deps.sh test     also Wine (32- and 64-bit loaders), Xvfb, GoogleTest, the fuzzers'
#                            clang, and the Japanese UTF-8 locale the code page 932 tests run in
#   install-deps.sh x86_64   also the 64-bit cross compiler, for machines that test the 64-bit build
#   install-deps.sh dist     also zip, for the release archive (`make dist`)
# Several groups may be named; without any, build and test.
set -euo pipefail

build=(cmake make g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686)
test=(wine wine32:i386 wine64 xvfb xauth googletest g++ python3 imagemagick python3-xlib
      clang-14 libclang-rt-14-dev fonts-wine locales)
x86_64=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64)
dist=(zip unzip)

[ $# -gt 0 ] || set -- build test
packages=()
with_locale=0
for group in "$@"; do
    case "$group" in
    build) packages+=("${build[@]}") ;;
    test) packages+=("${build[@]}" "${test[@]}"); with_locale=1 ;;
    x86_64) packages+=("${build[@]}" "${x86_64[@]}") ;;
    dist) packages+=("${build[@]}" "${dist[@]}") ;;
    *) echo "install-deps.sh: unknown group $group" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
    echo "Installing: ${missing[*]}"
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Without the locale Wine still answers code page 932, but cannot create files with Japanese names.
if [ $with_locale -eq 1 ] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    echo "Generating the locale ja_JP.UTF-8"
    $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
