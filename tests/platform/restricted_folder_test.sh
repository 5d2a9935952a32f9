#!/usr/bin/env bash
# Saves where the settings file cannot be replaced by another file, as Windows has it for users
# with the right to write files but not to delete them (common on shared folders), or with the
# right to write the settings file but not to create files beside it. Under Wine, as root, a
# Unix folder with `chattr +a` (files are created and written, none removed or renamed) and one
# with `chattr +i` (nothing created, removed or renamed; the files in it stay writable) are such
# folders. Every save must reach the settings file, and no number of saves may leave more than
# one stray file in the folder.
set -eu
probe="$1"
run="$(dirname "$0")/../../scripts/wine-run.sh"
root=$(mktemp -d)
cleanup() {
    for dir in "$root"/*; do [ -d "$dir" ] && chattr -a -i "$dir"; done
    rm -rf "$root"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

for flag in a i; do
    dir="$root/$flag"
    mkdir "$dir"
    cp "$probe" "$dir/probe.exe"
    printf 'active=before\r\n' >"$dir/probe.ini"
    chattr "+$flag" "$dir" || fail "chattr +$flag is not available here (needs root and ext4 or the like)"
    [ "$flag" = a ] && allowed=1 || allowed=0
    for value in first second third; do
        out=$("$run" "$dir/probe.exe" "$value" | tr -d '\r')
        echo "chattr +$flag, saving $value: $out" | tr '\n' ' '
        echo
        echo "$out" | grep -qx "active=$value" || fail "+$flag: the save of $value did not reach the settings file"
        strays=$(find "$dir" -mindepth 1 ! -name probe.exe ! -name probe.ini | wc -l)
        [ "$strays" -le "$allowed" ] || fail "+$flag: $strays stray files: $(ls -A "$dir" | tr '\n' ' ')"
    done
    [ "$(head -c 14 "$dir/probe.ini")" = "$(printf 'active=third\r\n')" ] || fail "+$flag: probe.ini holds $(head -c 40 "$dir/probe.ini")"
done
echo "all saves reached the settings file"

# A settings file with a second name is rewritten in place. A write that fails part-way there (a
# full disk, a quota, a share that drops; here a process that may write no file beyond 4 KiB,
# `ulimit -f`, with SIGXFSZ ignored so that the write fails instead of ending the process) must
# leave the old settings whole: the old bytes written back, never new ones over old ones.
dir="$root/limit"
mkdir "$dir"
cp "$probe" "$dir/probe.exe"
printf 'active=%s\r\npbwin=D:\\pb\\Pbwin.exe\r\n' "$(printf 'a%.0s' $(seq 6000))" >"$dir/probe.ini"
cp "$dir/probe.ini" "$root/old.ini"
ln "$dir/probe.ini" "$dir/second name.ini"
(trap '' XFSZ; ulimit -f 4; "$run" "$dir/probe.exe" "$(printf 'b%.0s' $(seq 6000))" >/dev/null 2>&1) || true
cmp "$dir/probe.ini" "$root/old.ini" || fail "the failed in-place save left $(head -c 12 "$dir/probe.ini")... instead of the old settings"
[ "$(cmp "$dir/probe.ini" "$dir/second name.ini" && echo same)" = same ] || fail "the two names differ"
# Without the limit the same save goes through: it was the limit that failed the first.
"$run" "$dir/probe.exe" "$(printf 'b%.0s' $(seq 6000))" >/dev/null
[ "$(head -c 12 "$dir/second name.ini")" = "active=bbbbb" ] || fail "the save without a limit did not write"
echo "a failed in-place save left the old settings whole"
