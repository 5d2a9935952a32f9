#!/usr/bin/env bash
# Checks that a Windows executable is what a user can simply copy and run: a GUI program of the
# expected processor (the release is 32-bit i386; the 64-bit build of the same sources, which
# machines without 32-bit support test, is x86-64) that imports only DLLs every Windows has,
# carries no symbols, and is small.
# Usage: footprint_test.sh OBJDUMP EXE [ARCH [MAX_BYTES]]   ARCH: i686 (default) or x86_64
set -u
objdump="$1"
exe="$2"
arch="${3:-i686}"
case "$arch" in
i686) format_name="pei-i386" magic="010b" words="32-bit i386 PE32" default_max=524288 ;;   # 512 KiB
x86_64) format_name="pei-x86-64" magic="020b" words="64-bit x86-64 PE32+" default_max=524288 ;;  # 512 KiB
*) echo "FAIL: unknown architecture $arch"; exit 1 ;;
esac
max_bytes="${4:-$default_max}"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

[ -f "$exe" ] || { echo "FAIL: $exe does not exist"; exit 1; }
headers="$("$objdump" -p "$exe")" || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
format="$("$objdump" -f "$exe")"

# The image format of the processor: PE32 for i386, PE32+ for x86-64.
if grep -q "file format $format_name\$" <<<"$format" && grep -q "^Magic[[:space:]]*$magic" <<<"$headers"; then
    pass "$words"
else
    fail "not a $words executable: $(grep -m1 'file format' <<<"$format")"
fi

# GUI subsystem: starts without a console window.
subsystem="$(grep -m1 "^Subsystem" <<<"$headers")"
if grep -q "(Windows GUI)" <<<"$subsystem"; then
    pass "subsystem is Windows GUI"
else
    fail "subsystem is not Windows GUI: $subsystem"
fi

# Imports: only DLLs that come with every Windows. The C and C++ runtimes of the compiler
# (libstdc++, libgcc, winpthread) must be linked in, not imported.
allowed=" kernel32.dll user32.dll gdi32.dll shell32.dll comdlg32.dll comctl32.dll ole32.dll oleaut32.dll
          advapi32.dll msvcrt.dll shlwapi.dll version.dll uxtheme.dll winmm.dll "
imports="$(sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$headers" | tr -d '\r')"
if [ -z "$imports" ]; then
    fail "no import table found"
fi
for dll in $imports; do
    lower="$(tr '[:upper:]' '[:lower:]' <<<"$dll")"
    if [[ "$allowed" == *" $lower "* ]]; then
        pass "imports $dll"
    else
        fail "imports $dll, which is not a DLL every Windows has"
    fi
done

# Stripped: no symbol table and no debugging sections.
if grep -q "symbols stripped" <<<"$headers" && "$objdump" -t "$exe" | grep -q "no symbols"; then
    pass "symbols stripped"
else
    fail "carries a symbol table (not stripped)"
fi
debug_sections="$("$objdump" -h "$exe" | awk '$2 ~ /^\.debug/ {print $2}' | tr '\n' ' ')"
if [ -z "$debug_sections" ]; then
    pass "no debugging sections"
else
    fail "debugging sections: $debug_sections"
fi

size=$(stat -c %s "$exe")
if [ "$size" -le "$max_bytes" ]; then
    pass "size $size bytes (at most $max_bytes)"
else
    fail "size $size bytes is over $max_bytes"
fi

if [ "$failures" -ne 0 ]; then
    echo "$exe: $failures footprint check(s) failed"
    exit 1
fi
echo "$exe: footprint as required"
