#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when all are present,
# and the Japanese UTF-8 locale, under which Wine runs the code page 932 tests.
# Runs as root, or through sudo otherwise.
set -euo pipefail

packages=(g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
          wine wine32:i386 wine64 xvfb xauth googletest cmake make g++ python3
          imagemagick python3-xlib zip clang-14 libclang-rt-14-dev fonts-wine locales)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Without the locale Wine still answers code page 932, but cannot create files with Japanese names.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    echo "Generating the locale ja_JP.UTF-8"
    $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
