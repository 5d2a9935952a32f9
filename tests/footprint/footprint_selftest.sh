#!/usr/bin/env bash
# The footprint check on an executable built the wrong way: it must fail, and name each fault.
# Usage: footprint_selftest.sh OBJDUMP FOOTPRINT_TEST BAD_EXE [ARCH]
set -u
objdump="$1"
check="$2"
bad="$3"
arch="${4:-i686}"

output="$(bash "$check" "$objdump" "$bad" "$arch")"
status=$?
echo "$output"
errors=0
[ "$status" -eq 1 ] || { echo "SELFTEST: the check exited with $status, not 1"; errors=1; }
for expected in "FAIL: subsystem is not Windows GUI" \
                "FAIL: imports libstdc++-6.dll, which is not a DLL every Windows has" \
                "FAIL: carries a symbol table (not stripped)"; do
    grep -qF "$expected" <<<"$output" || { echo "SELFTEST: missing \"$expected\""; errors=1; }
done
# The system DLLs it also imports are accepted.
grep -qiF "ok:   imports KERNEL32.dll" <<<"$output" || { echo "SELFTEST: KERNEL32.dll not accepted"; errors=1; }
# Checked as the other processor's build, the same executable fails on its image format.
other=x86_64
[ "$arch" = x86_64 ] && other=i686
grep -qF "FAIL: not a" <<<"$(bash "$check" "$objdump" "$bad" "$other")" ||
    { echo "SELFTEST: the $arch executable passed as an $other one"; errors=1; }
grep -qF "FAIL: not a" <<<"$output" && { echo "SELFTEST: the $arch executable failed as an $arch one"; errors=1; }
exit $errors
