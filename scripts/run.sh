#!/usr/bin/env bash
# Starts the tool under Wine (`make run` builds it first): TB_EXE, by default the release
# dist/TestBuilder.exe; on a machine without 32-bit support `make run` passes the 64-bit build's.
# On your display when DISPLAY is set; otherwise on a private virtual display (Xvfb), where nobody
# can see it, which is said before it starts. The tool keeps its settings in TestBuilder.ini beside
# the executable.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
. "$here/wine-env.sh"
exe="$(realpath -m "${TB_EXE:-$root/dist/TestBuilder.exe}")"
[ -f "$exe" ] || { echo "$exe is missing: run make first" >&2; exit 1; }

start() {
    "$here/wine-prefix.sh"
    "$here/wine-fonts.sh"
    cd "$(dirname "$exe")"
    "$here/wine-run.sh" "$exe"
}

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting Test Builder on display $DISPLAY (Wine virtual desktop; close the tool to stop)"
    start
    wineserver -k 2>/dev/null || true
else
    echo "DISPLAY is not set: starting Test Builder on a virtual display (Xvfb) that nobody can see."
    echo "Press Ctrl-C to stop it."
    export -f start
    export here root exe
    "$here/with-display.sh" bash -c start
fi
