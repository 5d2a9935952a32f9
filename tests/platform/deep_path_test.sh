#!/usr/bin/env bash
# An executable in a folder deeper than 260 characters still finds the settings file beside it.
# Windows itself starts such a program only from a long-path-aware caller; Wine starts it from
# its Unix path.
set -eu
probe="$1"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
deep="$root"
while [ ${#deep} -lt 300 ]; do deep="$deep/folder-with-a-long-name-0123456789"; done
mkdir -p "$deep"
cp "$probe" "$deep/probe.exe"
printf 'active=found beside the deep executable\r\n' > "$deep/probe.ini"
out=$("$(dirname "$0")/../../scripts/wine-run.sh" "$deep/probe.exe" | tr -d '\r')
echo "$out"
length=$(echo "$out" | sed -n 's/^length=//p')
[ "$length" -gt 300 ] || { echo "path was cut: $length"; exit 1; }
echo "$out" | grep -qx 'active=found beside the deep executable' || { echo "settings not found"; exit 1; }
