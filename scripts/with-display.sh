#!/usr/bin/env bash
# Runs a command with a private virtual X display (Xvfb, 1024x768x24) and the Wine prefix
# prepared by wine-prefix.sh with its wineserver warm, then ends both.
#   with-display.sh COMMAND [ARGS...]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
: "${WINEPREFIX:?must name the Wine prefix, such as build-x86_64/wineprefix (the Makefile sets it)}"
export WINEPREFIX

fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
if [ ! -s "$fdfile" ]; then echo "Xvfb did not start" >&2; kill "$xvfb_pid" 2>/dev/null; exit 1; fi
export DISPLAY=":$(head -n1 "$fdfile")"
rm -f "$fdfile"

cleanup() {
    WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

"$here/wine-prefix.sh"
"$@"
