#!/usr/bin/env bash
# Starts dist/TestBuilder.exe under Wine (`make run` builds it first). On your display when
# DISPLAY is set; otherwise on a private virtual display (Xvfb), where nobody can see it, which
# is said before it starts. The tool keeps its settings in dist/TestBuilder.ini.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
: "${WINEPREFIX:=$root/build/wineprefix}"
export WINEPREFIX
exe="$root/dist/TestBuilder.exe"
[ -f "$exe" ] || { echo "dist/TestBuilder.exe is missing: run make first" >&2; exit 1; }

start() {
    "$here/wine-prefix.sh"
    "$here/wine-fonts.sh"
    cd "$root/dist"
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
