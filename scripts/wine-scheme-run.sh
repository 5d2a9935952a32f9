#!/usr/bin/env bash
# Runs a Windows program under Wine with a colour scheme of scripts/colour-schemes/ (SCHEME.txt),
# in a prefix of its own beside the project's ($WINEPREFIX-SCHEME): Wine reads the system
# colours when its wineserver starts, and the server belongs to the prefix, so runs under
# different schemes never disturb each other. Needs a display (scripts/with-display.sh). The
# program learns what to expect from TB_EXPECTED_SCHEME, given as the second argument.
# Usage: wine-scheme-run.sh SCHEME EXPECTED PROGRAM [ARGS...]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scheme="$1"
expected="$2"
shift 2
. "$here/wine-env.sh"
export WINEPREFIX="$WINEPREFIX-$scheme" TB_COLOUR_SCHEME="$scheme" TB_EXPECTED_SCHEME="$expected"
"$here/wine-prefix.sh"
"$here/wine-run.sh" "$@"
status=$?
# This prefix's server is kept warm by wine-prefix.sh; end it with the run.
wineserver -k 2>/dev/null
exit $status
