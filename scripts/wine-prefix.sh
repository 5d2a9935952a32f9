#!/usr/bin/env bash
# Prepares a private Wine prefix (WINEPREFIX, such as build/wineprefix) once: boots it, turns on
# a virtual desktop for every program (hides and closes take milliseconds there instead of
# seconds on a bare X server, and frames and captions are drawn), then keeps a wineserver warm
# for the run. Every Wine program
# goes through scripts/wine-run.sh, so a 64-bit build (TB_WINE_ARCH=x86_64) boots its prefix with
# the 64-bit loader. Settings for a prefix of its own (see wine-run.sh --own-prefix), read when
# the prefix is made:
#   TB_LOGPIXELS=DPI         a display scale other than 96 DPI
#   TB_COLOUR_SCHEME=NAME    the system colours of scripts/colour-schemes/NAME.txt
# and, whenever it is set:
#   TB_FONTS=1               Wine's own fonts (Debian's fonts-wine), for looking at the windows
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
: "${WINEPREFIX:?must name the Wine prefix, such as build-x86_64/wineprefix (the Makefile sets it)}"
export WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
wine="$here/wine-run.sh"
if [ ! -f "$WINEPREFIX/.testbuilder-ready" ]; then
    mkdir -p "$WINEPREFIX"
    echo "Preparing Wine prefix $WINEPREFIX (${TB_WINE_ARCH:-i686} loader)"
    "$wine" wineboot.exe --init >/dev/null 2>&1 || true
    wineserver -w
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    if [ -n "${TB_LOGPIXELS:-}" ]; then
        "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TB_LOGPIXELS" /f >/dev/null 2>&1
    fi
    # "Name=R G B" lines, one system colour each.
    if [ -n "${TB_COLOUR_SCHEME:-}" ]; then
        while IFS='=' read -r name rgb; do
            case "$name" in ''|'#'*) continue ;; esac
            "$wine" reg add 'HKCU\Control Panel\Colors' /v "$name" /d "$rgb" /f >/dev/null 2>&1
        done < "$here/colour-schemes/$TB_COLOUR_SCHEME.txt"
    fi
    wineserver -w
    touch "$WINEPREFIX/.testbuilder-ready"
fi

# This Wine build does not load its own fonts from its data folder: without them the caption
# buttons (Marlett) are drawn as letters and "MS Sans Serif" falls back to another face. Only for
# looking at the windows (`make run`, `make screenshots`); the tests do not need them.
fonts=/usr/share/wine/fonts
if [ "${TB_FONTS:-}" = 1 ] && [ -d "$fonts" ] && [ -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
    for font in "$fonts"/*.ttf "$fonts"/*.fon; do
        [ -e "$WINEPREFIX/drive_c/windows/Fonts/$(basename "$font")" ] || cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
fi

wineserver -p 2>/dev/null || true
# Start Wine's own services and the desktop now, detached from our output: started by the first
# test instead, they would inherit its output pipe and the test runner would wait on them.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
