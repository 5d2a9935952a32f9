#!/usr/bin/env bash
# Runs a Windows program under Wine on a display of DPI dots per inch, in a prefix of its own
# ($WINEPREFIX-dpiDPI, see wine-own-prefix-run.sh): Wine reads the system DPI (the prefix's
# LogPixels) when its wineserver starts. The program sees the DPI it should find in
# TB_EXPECTED_DPI.
# Usage: wine-dpi-run.sh DPI PROGRAM [ARGS...]
set -u
dpi="$1"
shift
export TB_LOGPIXELS="$dpi" TB_EXPECTED_DPI="$dpi"
exec "$(dirname "${BASH_SOURCE[0]}")/wine-own-prefix-run.sh" "dpi$dpi" "$@"
