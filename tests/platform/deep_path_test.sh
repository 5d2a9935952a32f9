#!/usr/bin/env bash
# An executable in a folder deeper than 260 characters, and one in a folder whose name the ANSI
# code page cannot spell, still find, read and write the settings file beside them. Windows
# itself starts a deep program only from a long-path-aware caller; Wine starts it from its Unix
# path.
set -eu
probe="$1"
run="$(dirname "$0")/../../scripts/wine-run.sh"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
deep="$root"
while [ ${#deep} -lt 300 ]; do deep="$deep/folder-with-a-long-name-0123456789"; done
mkdir -p "$deep"
cp "$probe" "$deep/probe.exe"
printf 'active=found beside the deep executable\r\n' > "$deep/probe.ini"
out=$("$run" "$deep/probe.exe" | tr -d '\r')
echo "$out"
length=$(echo "$out" | sed -n 's/^length=//p')
[ "$length" -gt 300 ] || { echo "path was cut: $length"; exit 1; }
echo "$out" | grep -qx 'active=found beside the deep executable' || { echo "settings not found"; exit 1; }

# A Greek capital omega (outside code page 1252) in the folder's name: the settings are loaded,
# and a save reaches the same file.
greek="$root/Ωmega/Tools"
mkdir -p "$greek"
cp "$probe" "$greek/probe.exe"
printf 'active=found in the Greek folder\r\npbwin=D:\\pb\\Pbwin.exe\r\n' > "$greek/probe.ini"
out=$("$run" "$greek/probe.exe" | tr -d '\r')
echo "$out"
echo "$out" | grep -qx 'active=found in the Greek folder' || { echo "settings not loaded in Ωmega"; exit 1; }
out=$("$run" "$greek/probe.exe" "saved in Omega" | tr -d '\r')
echo "$out"
echo "$out" | grep -qx 'active=saved in Omega' || { echo "settings not saved in Ωmega"; exit 1; }
grep -q $'^active=saved in Omega\r$' "$greek/probe.ini" || { echo "the save did not reach probe.ini"; exit 1; }
grep -q $'^pbwin=D:\\\\pb\\\\Pbwin.exe\r$' "$greek/probe.ini" || { echo "the save lost pbwin"; exit 1; }
[ "$(ls "$greek")" = "$(printf 'probe.exe\nprobe.ini')" ] || { echo "stray files: $(ls "$greek")"; exit 1; }

# A save beside the deep executable reaches its settings file (through its ".tmp", whose path is
# longer still) and leaves nothing else behind.
out=$("$run" "$deep/probe.exe" "saved deep" | tr -d '\r')
echo "$out"
echo "$out" | grep -qx 'active=saved deep' || { echo "settings not saved in the deep folder"; exit 1; }
grep -q $'^active=saved deep\r$' "$deep/probe.ini" || { echo "the save did not reach the deep probe.ini"; exit 1; }
[ "$(ls "$deep")" = "$(printf 'probe.exe\nprobe.ini')" ] || { echo "stray files: $(ls "$deep")"; exit 1; }
