#!/bin/sh
# Which Windows build this machine can run under Wine: "i686" (the 32-bit release itself) where
# the 32-bit Wine loader really starts, "x86_64" (the same sources built for 64-bit Windows)
# where it cannot: where the 32-bit Wine could not be installed (scripts/install-deps.sh tries it
# last), or on a kernel with its 32-bit support switched off ("Exec format error").
# TB_ARCH=i686 or TB_ARCH=x86_64 forces the choice.
#   wine-arch.sh          prints the build
#   wine-arch.sh --why    prints the build, a tab, and the reason in words
loader32=/usr/lib/wine/wine  # the wine32 package's loader, which the `wine` command prefers

case "${TB_ARCH:-}" in
i686 | x86_64)
    arch=$TB_ARCH
    why="forced by TB_ARCH=$TB_ARCH"
    ;;
"")
    if [ ! -x "$loader32" ]; then
        arch=x86_64
        why="the 32-bit Wine (wine32:i386) could not be installed on this machine (no loader $loader32)"
    elif error=$("$loader32" --version 2>&1 >/dev/null); then
        arch=i686
        why="the 32-bit Wine loader runs on this machine"
    else
        arch=x86_64
        why="the 32-bit Wine loader cannot start on this machine (${error:-exit status $?})"
    fi
    ;;
*)
    echo "TB_ARCH must be i686 or x86_64, not \"$TB_ARCH\"" >&2
    exit 2
    ;;
esac

if [ "${1:-}" = "--why" ]; then
    printf '%s\t%s\n' "$arch" "$why"
else
    echo "$arch"
fi
