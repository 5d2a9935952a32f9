#!/usr/bin/env bash
# Starts the tool under Wine for you to use (`make run` builds it first): TB_EXE, by default the
# release dist/TestBuilder.exe; on a machine that tests the 64-bit build `make run` passes that
# build's. On your display when DISPLAY is set; otherwise on a private virtual display (Xvfb),
# where nobody can see it, which is said before it starts. The tool keeps its settings in
# TestBuilder.ini beside the executable. WINEPREFIX names the prefix (the Makefile sets it).
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
exe="$(realpath -m "${TB_EXE:-$root/dist/TestBuilder.exe}")"
[ -f "$exe" ] || { echo "$exe is missing: run make first" >&2; exit 1; }
# Wine's own fonts in the prefix, so that captions and dialogs look as they should.
export TB_FONTS=1

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting Test Builder on display $DISPLAY (Wine virtual desktop; close the tool to stop)"
    "$here/wine-prefix.sh"
    status=0
    (cd "$(dirname "$exe")" && "$here/wine-run.sh" "$exe") || status=$?
    wineserver -k 2>/dev/null || true
    exit $status
else
    echo "DISPLAY is not set: starting Test Builder on a virtual display (Xvfb) that nobody can see."
    echo "Press Ctrl-C to stop it."
    "$here/with-display.sh" sh -c 'cd "$(dirname "$1")" && "$2/wine-run.sh" "$1"' sh "$exe" "$here"
fi
