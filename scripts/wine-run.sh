#!/usr/bin/env bash
# Runs a Windows program, or one of Wine's own (wineboot, reg, cmd), under Wine in the project's
# private prefix. CTest uses this as the cross-compiling emulator; every script that needs Wine
# comes through here too. The prefix is prepared by scripts/wine-prefix.sh (virtual desktop, no
# Mono/Gecko prompts).
#   wine-run.sh PROGRAM [ARGS...]
#   wine-run.sh --own-prefix dpi=DPI PROGRAM [ARGS...]        at a display scale of DPI dots per inch
#   wine-run.sh --own-prefix scheme=NAME PROGRAM [ARGS...]    under scripts/colour-schemes/NAME.txt
# Wine reads the display scale and the system colours when a prefix's wineserver starts, so such
# a run gets a prefix of its own beside the project's ($WINEPREFIX-dpiDPI, $WINEPREFIX-NAME),
# made once by wine-prefix.sh, and its server is ended with the run: these runs never disturb
# each other or the project's prefix. They need a display (scripts/with-display.sh).
#
# The loader fits the build: TB_WINE_ARCH=x86_64 runs the wine64 package's loader directly, as
# a machine without 32-bit support needs (the `wine` command would always pick the 32-bit loader
# there, which cannot start); TB_WINE_ARCH=i686, the default, runs the `wine` command. Without
# TB_WINE_ARCH, a program file's own header decides (PE32+ is 64-bit).
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

own_prefix=""
if [ "${1:-}" = --own-prefix ]; then
    case "${2:-}" in
    dpi=[0-9]*) export TB_LOGPIXELS="${2#dpi=}"; own_prefix="dpi$TB_LOGPIXELS" ;;
    scheme=?*) export TB_COLOUR_SCHEME="${2#scheme=}"; own_prefix="$TB_COLOUR_SCHEME" ;;
    *) echo "wine-run.sh: --own-prefix takes dpi=DPI or scheme=NAME, not \"${2:-}\"" >&2; exit 2 ;;
    esac
    shift 2
fi

# The machine type of a PE file: "x86_64" for AMD64, "i686" for anything else that is one.
pe_arch() {
    local offset machine
    [ -f "$1" ] || return 1
    [ "$(head -c 2 "$1" 2>/dev/null)" = "MZ" ] || return 1
    offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' ')
    [ "$machine" = "8664" ] && echo x86_64 || echo i686
}

arch="${TB_WINE_ARCH:-$(pe_arch "${1:-}" || echo i686)}"
case "$arch" in
x86_64) loader=/usr/lib/wine/wine64 loader_name=$loader ;;
*) arch=i686 loader=wine loader_name="/usr/lib/wine/wine (through the wine command)" ;;
esac
export TB_WINE_ARCH="$arch"
# The prefix of the build being run, unless WINEPREFIX names one (the Makefile always does).
if [ -z "${WINEPREFIX:-}" ]; then
    [ "$arch" = x86_64 ] && WINEPREFIX="$here/../build-x86_64/wineprefix" || WINEPREFIX="$here/../build/wineprefix"
fi
export WINEPREFIX
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
# Programs that start further Windows programs (and the benchmark's report) see which loader runs them.
export TB_WINE_LOADER="$loader_name"
[ "$arch" = x86_64 ] && export WINELOADER="$loader"

if [ -z "$own_prefix" ]; then
    exec "$loader" "$@"
fi
export WINEPREFIX="$WINEPREFIX-$own_prefix"
"$here/wine-prefix.sh"
"$loader" "$@"
status=$?
# wine-prefix.sh keeps this prefix's server warm; it ends with the run.
wineserver -k 2>/dev/null
exit $status
