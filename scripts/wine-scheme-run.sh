#!/usr/bin/env bash
# Runs a Windows program under Wine with a colour scheme of scripts/colour-schemes/ (SCHEME.txt),
# in a prefix of its own ($WINEPREFIX-SCHEME, see wine-own-prefix-run.sh): Wine reads the system
# colours when its wineserver starts. The program learns what to expect from
# TB_EXPECTED_SCHEME, given as the second argument.
# Usage: wine-scheme-run.sh SCHEME EXPECTED PROGRAM [ARGS...]
set -u
scheme="$1"
expected="$2"
shift 2
export TB_COLOUR_SCHEME="$scheme" TB_EXPECTED_SCHEME="$expected"
exec "$(dirname "${BASH_SOURCE[0]}")/wine-own-prefix-run.sh" "$scheme" "$@"
