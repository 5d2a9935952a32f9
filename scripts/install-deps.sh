#!/usr/bin/env bash
# Installs the Debian packages a step needs that are not installed yet; where every one is there,
# it never calls the package manager. Runs as root, or through sudo otherwise.
#   install-deps.sh build   the 32-bit cross compiler and CMake: all `make` needs
#   install-deps.sh test    also Wine, Xvfb, GoogleTest, the fuzzers' clang, the 64-bit cross
#                           compiler and the Japanese UTF-8 locale the code page 932 tests run in,
#                           and last the 32-bit Wine (wine32:i386), which is optional
#   install-deps.sh dist    also zip, for the release archive (`make dist`)
# Several groups may be named; without any, build and test.
#
# Mirrors in mid-sync, a missing foreign architecture and half-updated package lists are ordinary
# events, so none of them stops the step by itself: an update that fetches only some lists is
# tried again, then reported in one line, and the install goes on with the lists there are. The
# 32-bit Wine is optional: where it cannot be installed, this says so in one line, and the tests
# drive the 64-bit build of the same sources. Only a needed package that cannot be installed fails
# the step, with its name and the command to try by hand.
#
# Where TB_WINE32_MEMORY names a file (the Makefile names one in the build folder), a failed
# install of the 32-bit Wine is remembered there for a day: until then it is told in its one line
# and not tried again (no package lists fetched for it), unless TB_RETRY_WINE32=1 or TB_ARCH=i686
# asks for it.
set -uo pipefail

build=(cmake make g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686)
test=(wine wine64 xvfb xauth googletest g++ python3 imagemagick python3-xlib clang-14 libclang-rt-14-dev
      fonts-wine locales g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64)
test_optional=(wine32:i386)
dist=(zip unzip)

[ $# -gt 0 ] || set -- build test
needed=()
optional=()
with_locale=0
for group in "$@"; do
    case "$group" in
    build) needed+=("${build[@]}") ;;
    test) needed+=("${build[@]}" "${test[@]}"); optional+=("${test_optional[@]}"); with_locale=1 ;;
    dist) needed+=("${build[@]}" "${dist[@]}") ;;
    *) echo "install-deps.sh: unknown group $group" >&2; exit 2 ;;
    esac
done

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# The packages of a list that are not installed, each once.
missing() {
    local p
    for p in "$@"; do installed "$p" || echo "$p"; done | sort -u
}

mapfile -t missing_needed < <(missing "${needed[@]}")
mapfile -t missing_optional < <(missing "${optional[@]+"${optional[@]}"}")

memory=${TB_WINE32_MEMORY:-}
remembered=""
if [ ${#missing_optional[@]} -eq 0 ]; then
    [ -z "$memory" ] || rm -f "$memory"
elif [ -n "$memory" ] && [ -n "$(find "$memory" -mmin -1440 2>/dev/null)" ] &&
     [ "${TB_RETRY_WINE32:-}" != 1 ] && [ "${TB_ARCH:-}" != i686 ]; then
    remembered="$(sed -n '1{s/\.$//;p;}' "$memory"), as found at $(date -r "$memory" '+%F %R')"
    missing_optional=()
fi

SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo)
# Through env, since sudo drops the caller's environment: no install stops to ask a question.
apt_install=(env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends --no-remove)

# One line from apt's output that says what went wrong: its first error, without the "E: ".
first_error() {
    sed -n 's/^E: //p' "$1" | head -n 1 | tr -s ' '
}

# Package lists once per run, and only when something is to be installed. A failed update is
# tried twice more, a few seconds apart (a mirror sync passes); then the lists there are serve.
update_lists() {
    [ -z "${updated:-}" ] || return 0
    updated=1
    local log status attempt
    log=$(mktemp)
    for attempt in 1 2 3; do
        [ "$attempt" -eq 1 ] || sleep 5
        "${SUDO[@]}" apt-get update -qq > "$log" 2>&1
        status=$?
        [ $status -ne 0 ] || break
    done
    if [ $status -ne 0 ]; then
        echo "Package lists: apt-get update failed 3 times (exit $status: $(first_error "$log")); going on with the lists there are"
    fi
    rm -f "$log"
}

# Installs the packages in one go; where that fails, one by one, so that only the ones that cannot
# be installed are left. Prints those, one a line: the package, a tab, apt's reason.
install_or_name_failures() {
    local log p
    log=$(mktemp)
    if "${SUDO[@]}" "${apt_install[@]}" "$@" > "$log" 2>&1; then
        rm -f "$log"
        return 0
    fi
    if [ $# -eq 1 ]; then
        printf '%s\t%s\n' "$1" "$(first_error "$log")"
    else
        for p in "$@"; do
            installed "$p" && continue
            "${SUDO[@]}" "${apt_install[@]}" "$p" > "$log" 2>&1 ||
                printf '%s\t%s\n' "$p" "$(first_error "$log")"
        done
    fi
    rm -f "$log"
}

# The 32-bit Wine needs the i386 architecture; it is added before the lists are fetched, so that
# one update serves both installs.
optional_reason=""
if [ ${#missing_optional[@]} -gt 0 ] && ! dpkg --print-foreign-architectures 2>/dev/null | grep -qx i386; then
    "${SUDO[@]}" dpkg --add-architecture i386 2>/dev/null || optional_reason="the i386 architecture cannot be added"
fi

if [ ${#missing_needed[@]} -gt 0 ]; then
    echo "Installing: ${missing_needed[*]}"
    update_lists
    mapfile -t failed < <(install_or_name_failures "${missing_needed[@]}")
    if [ ${#failed[@]} -gt 0 ]; then
        names=$(printf '%s\n' "${failed[@]}" | cut -f1 | tr '\n' ' ')
        echo "install-deps.sh: this step needs packages that cannot be installed:" >&2
        printf '%s\n' "${failed[@]}" | sed 's/\t/: /; s/^/  /' >&2
        echo "Try by hand: sudo apt-get update && sudo apt-get install ${names% }" >&2
        exit 1
    fi
fi

# The 32-bit Wine comes last, so that nothing else waits on it; where it cannot be installed (its
# architecture's lists incomplete or missing, its versions behind the 64-bit Wine's), the tests
# drive the 64-bit build, as on a machine that cannot run 32-bit programs.
if [ ${#missing_optional[@]} -gt 0 ]; then
    echo "Installing: ${missing_optional[*]} (optional: the 32-bit Wine, to test the 32-bit release itself)"
    reason=$optional_reason
    if [ -z "$reason" ]; then
        update_lists
        mapfile -t failed < <(install_or_name_failures "${missing_optional[@]}")
        [ ${#failed[@]} -eq 0 ] || reason="apt-get cannot install $(printf '%s\n' "${failed[@]}" | sed 's/\t/: /' | paste -sd ';')"
    fi
    if [ -n "$reason" ] && [ -n "$memory" ]; then
        mkdir -p "$(dirname "$memory")" && printf '%s\n' "$reason" > "$memory"
        remembered="${reason%.}"
    elif [ -n "$reason" ]; then
        echo "The 32-bit Wine is not installed ($reason): make test tests the 64-bit build (build-x86_64/) instead"
    else
        [ -z "$memory" ] || rm -f "$memory"
    fi
fi
if [ -n "$remembered" ]; then
    echo "The 32-bit Wine is not installed ($remembered; tried again a day later, or now with TB_RETRY_WINE32=1):" \
         "make test tests the 64-bit build (build-x86_64/) instead"
fi

# Without the locale Wine still answers code page 932, but cannot create files with Japanese names.
if [ $with_locale -eq 1 ] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    echo "Generating the locale ja_JP.UTF-8"
    "${SUDO[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 ||
        { echo "install-deps.sh: cannot generate the locale ja_JP.UTF-8" >&2; exit 1; }
fi
exit 0
