#!/usr/bin/env bash
# Runs a Windows program under Wine on a display of DPI dots per inch, in a prefix of its own
# beside the project's ($WINEPREFIX-dpiDPI): Wine reads the system DPI (the prefix's LogPixels)
# when its wineserver starts, and the server belongs to the prefix, so runs at different scales
# never disturb each other. Needs a display (scripts/with-display.sh). The program sees the DPI
# it should find in TB_EXPECTED_DPI.
# Usage: wine-dpi-run.sh DPI PROGRAM [ARGS...]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
dpi="$1"
shift
. "$here/wine-env.sh"
export WINEPREFIX="$WINEPREFIX-dpi$dpi" TB_LOGPIXELS="$dpi" TB_EXPECTED_DPI="$dpi"
"$here/wine-prefix.sh"
"$here/wine-run.sh" "$@"
status=$?
# This prefix's server is kept warm by wine-prefix.sh; end it with the run.
wineserver -k 2>/dev/null
exit $status
