#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's private prefix.
# CTest uses this as the cross-compiling emulator; `make run` uses it too.
# The prefix is prepared by scripts/wine-prefix.sh (virtual desktop, no Mono/Gecko prompts).
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
: "${WINEPREFIX:=$here/../build/wineprefix}"
export WINEPREFIX
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
