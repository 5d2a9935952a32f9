#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own beside the project's
# ($WINEPREFIX-SUFFIX), made once by wine-prefix.sh from whatever TB_ settings the caller
# exported (a display scale, a colour scheme). Wine reads such settings when a prefix's
# wineserver starts, and the server belongs to the prefix, so these runs never disturb each
# other or the project's prefix. Needs a display (scripts/with-display.sh).
# Usage: wine-own-prefix-run.sh SUFFIX PROGRAM [ARGS...]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
suffix="$1"
shift
. "$here/wine-env.sh"
export WINEPREFIX="$WINEPREFIX-$suffix"
"$here/wine-prefix.sh"
"$here/wine-run.sh" "$@"
status=$?
# This prefix's server is kept warm by wine-prefix.sh; end it with the run.
wineserver -k 2>/dev/null
exit $status
