#!/usr/bin/env bash
# Prepares the private Wine prefix once: boots it, turns on a virtual desktop for every program
# (hides and closes take milliseconds there instead of seconds on a bare X server, and frames
# and captions are drawn), then keeps a wineserver warm for the test run. Every Wine program
# goes through scripts/wine-run.sh, so a 64-bit build (TB_WINE_ARCH=x86_64) boots its prefix
# with the 64-bit loader.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/wine-env.sh"
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
wine="$here/wine-run.sh"
if [ ! -f "$WINEPREFIX/.testbuilder-ready" ]; then
    mkdir -p "$WINEPREFIX"
    echo "Preparing Wine prefix $WINEPREFIX (${TB_WINE_ARCH:-i686} loader)"
    "$wine" wineboot.exe --init >/dev/null 2>&1 || true
    wineserver -w
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # A display scale other than 96 DPI, for a prefix of its own (scripts/wine-dpi-run.sh).
    if [ -n "${TB_LOGPIXELS:-}" ]; then
        "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TB_LOGPIXELS" /f >/dev/null 2>&1
    fi
    # A colour scheme other than the default, for a prefix of its own (scripts/wine-scheme-run.sh):
    # "Name=R G B" lines, one system colour each, from scripts/colour-schemes/.
    if [ -n "${TB_COLOUR_SCHEME:-}" ]; then
        while IFS='=' read -r name rgb; do
            case "$name" in ''|'#'*) continue ;; esac
            "$wine" reg add 'HKCU\Control Panel\Colors' /v "$name" /d "$rgb" /f >/dev/null 2>&1
        done < "$here/colour-schemes/$TB_COLOUR_SCHEME.txt"
    fi
    wineserver -w
    touch "$WINEPREFIX/.testbuilder-ready"
fi
wineserver -p 2>/dev/null || true
# Start Wine's own services and the desktop now, detached from our output: started by the first
# test instead, they would inherit its output pipe and the test runner would wait on them.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
