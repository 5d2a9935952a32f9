#!/usr/bin/env bash
# Setting up a machine, with no network and no root: scripts/install-deps.sh runs against
# stand-ins for Debian's package tools (apt-get, dpkg, dpkg-query, sudo, id, locale, localedef,
# sleep) put first on PATH. They keep the installed packages and the foreign architectures in
# files and log every call, and they play the machine's day: a mirror in mid-sync, a 32-bit
# package that cannot be installed, a needed package that cannot be installed.
#   install_deps_test.sh scripts/install-deps.sh
set -u
script=$(realpath "${1:?usage: install_deps_test.sh INSTALL_DEPS_SCRIPT}")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
bin="$root/bin"
mkdir -p "$bin"

# --- The stand-ins -------------------------------------------------------------------------
# STANDIN_STATE: folder of installed (one package a line), foreign (architectures) and calls.
# STANDIN_UPDATE=partial: apt-get update fetches every list but one and exits 100, as during a
# mirror sync. STANDIN_BROKEN: an extended regular expression; an install naming a matching
# package fails as a whole, as apt does when it cannot resolve one.
cat > "$bin/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >> "$STANDIN_STATE/calls"
[ "$1" != install ] || [ "${DEBIAN_FRONTEND:-}" = noninteractive ] || echo "(an install that could stop to ask)" >> "$STANDIN_STATE/calls"
[ "$(id -u)" -eq 0 ] || { echo "E: Could not open lock file - open (13: Permission denied)" >&2; exit 100; }
case "$1" in
update)
    echo "Hit:1 http://deb.debian.org/debian bookworm InRelease"
    echo "Get:2 http://deb.debian.org/debian-security bookworm-security/main amd64 Packages [250 kB]"
    if [ "${STANDIN_UPDATE:-}" = partial ]; then
        echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]" >&2
        echo "   Hashes of expected file:" >&2
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
        exit 100
    fi
    ;;
install)
    shift
    packages=()
    for a in "$@"; do case "$a" in -*) ;; *) packages+=("$a") ;; esac; done
    for p in "${packages[@]}"; do
        if [ -n "${STANDIN_BROKEN:-}" ] && [[ "$p" =~ $STANDIN_BROKEN ]]; then
            echo "The following packages have unmet dependencies:"
            echo " $p : Depends: something-newer but it is not going to be installed"
            echo "E: Unable to correct problems, you have held broken packages." >&2
            exit 100
        fi
    done
    printf '%s\n' "${packages[@]}" >> "$STANDIN_STATE/installed"
    ;;
*) echo "apt-get stand-in: unexpected $*" >&2; exit 2 ;;
esac
EOF
cat > "$bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
# Only the form install-deps.sh uses: dpkg-query -W -f='${Status}' PACKAGE
package="${!#}"
if grep -qxF "$package" "$STANDIN_STATE/installed" 2>/dev/null; then
    printf 'install ok installed'
else
    echo "dpkg-query: no packages found matching $package" >&2
    exit 1
fi
EOF
cat > "$bin/dpkg" <<'EOF'
#!/usr/bin/env bash
echo "dpkg $*" >> "$STANDIN_STATE/calls"
case "$1" in
--print-foreign-architectures) cat "$STANDIN_STATE/foreign" 2>/dev/null ;;
--add-architecture)
    [ "$(id -u)" -eq 0 ] || { echo "dpkg: error: requested operation requires superuser privilege" >&2; exit 2; }
    echo "$2" >> "$STANDIN_STATE/foreign" ;;
*) echo "dpkg stand-in: unexpected $*" >&2; exit 2 ;;
esac
EOF
# Not root, so every change must go through sudo, which then runs as root with an environment of
# its own, as sudo's env_reset gives (the stand-ins' settings pass).
cat > "$bin/id" <<'EOF'
#!/usr/bin/env bash
[ "$1" = -u ] && echo "${STANDIN_UID:-1000}"
EOF
cat > "$bin/sudo" <<'EOF'
#!/usr/bin/env bash
echo "sudo $*" >> "$STANDIN_STATE/calls"
exec env -i PATH="$PATH" $(env | grep '^STANDIN_') STANDIN_UID=0 "$@"
EOF
cat > "$bin/locale" <<'EOF'
#!/usr/bin/env bash
printf 'C\nC.utf8\nPOSIX\n'
[ -f "$STANDIN_STATE/ja_JP" ] && echo ja_JP.utf8
exit 0
EOF
cat > "$bin/localedef" <<'EOF'
#!/usr/bin/env bash
echo "localedef $*" >> "$STANDIN_STATE/calls"
[ "$(id -u)" -eq 0 ] || exit 1
touch "$STANDIN_STATE/ja_JP"
EOF
cat > "$bin/sleep" <<'EOF'
#!/usr/bin/env bash
echo "sleep $*" >> "$STANDIN_STATE/calls"
EOF
chmod +x "$bin"/*

# --- Running it ----------------------------------------------------------------------------
unset TB_WINE32_MEMORY TB_RETRY_WINE32 TB_ARCH
failures=0
fail() { echo "FAIL ($case_name): $*"; failures=$((failures + 1)); }
show() { echo "--- $case_name: exit $status, output:"; cat "$out"; echo "--- calls:"; cat "$STANDIN_STATE/calls" 2>/dev/null; }

# A fresh machine state; "$@" are the packages already installed.
fresh_state() {
    export STANDIN_STATE="$root/$1"
    shift
    mkdir -p "$STANDIN_STATE"
    : > "$STANDIN_STATE/calls"
    printf '%s\n' "$@" > "$STANDIN_STATE/installed"
}

is_installed() { grep -qxF "$1" "$STANDIN_STATE/installed"; }
calls_matching() { grep -cE "$1" "$STANDIN_STATE/calls"; }

# Runs the script; whatever the case, every package tool that changes something runs through
# sudo, and every install is one that never removes a package nor stops to ask.
run_script() {
    out="$STANDIN_STATE/output"
    PATH="$bin:$PATH" bash "$script" "$@" > "$out" 2>&1
    status=$?
    show
    [ "$(calls_matching '^apt-get ')" -eq "$(calls_matching '^sudo (env [^ ]* )?apt-get ')" ] || fail "apt-get ran without sudo"
    [ "$(calls_matching '^apt-get install')" -eq "$(calls_matching '^apt-get install.* --no-remove')" ] ||
        fail "an install may remove packages"
    grep -q 'could stop to ask' "$STANDIN_STATE/calls" && fail "apt-get install ran without DEBIAN_FRONTEND=noninteractive"
}

# 1. A fresh machine while the mirror syncs: the update fetches every list but the 32-bit security
#    one and exits 100, and nothing 32-bit can be installed. The step goes on and installs
#    everything else, the 64-bit set before the 32-bit Wine, says in one line that the lists are
#    incomplete and in one line that the 64-bit build will be tested, and succeeds.
case_name="mirror in mid-sync, no 32-bit packages"
fresh_state mirror-sync
STANDIN_UPDATE=partial STANDIN_BROKEN=':i386$' run_script test
[ $status -eq 0 ] || fail "exit status $status, not 0"
for p in cmake g++-mingw-w64-i686-posix wine wine64 xvfb googletest clang-14 g++-mingw-w64-x86-64-posix; do
    is_installed "$p" || fail "$p not installed"
done
is_installed wine32:i386 && fail "wine32:i386 installed although it cannot be"
[ "$(grep -c 'apt-get update' "$out")" -eq 1 ] || fail "the failed update is not told in exactly one line"
grep 'apt-get update' "$out" | grep -q 'Mirror sync in progress?' || fail "the update's line does not say why"
grep 'apt-get update' "$out" | grep -q 'going on' || fail "the update's line does not say the step goes on"
[ "$(calls_matching '^apt-get update')" -ge 2 ] || fail "the update was not tried again"
[ "$(calls_matching '^sleep ')" -ge 1 ] || fail "no pause before trying the update again"
grep 'not installed' "$out" | grep 'wine32:i386' | grep -q 'tests the 64-bit build' ||
    fail "no line says the 32-bit Wine is missing and the 64-bit build is tested"
grep -qx 'dpkg --add-architecture i386' "$STANDIN_STATE/calls" || fail "the i386 architecture was not added"
first_64=$(grep -n '^apt-get install.* wine64' "$STANDIN_STATE/calls" | head -n 1 | cut -d: -f1)
first_32=$(grep -n '^apt-get install.*wine32:i386' "$STANDIN_STATE/calls" | head -n 1 | cut -d: -f1)
[ -n "$first_64" ] && [ -n "$first_32" ] && [ "$first_64" -lt "$first_32" ] ||
    fail "the 64-bit set was not installed before the 32-bit Wine was tried"
grep -q '^localedef -i ja_JP -f UTF-8' "$STANDIN_STATE/calls" || fail "the ja_JP.UTF-8 locale was not generated"

# 2. A package the tests need cannot be installed: the step fails, naming that package (and no
#    other) and the command to try by hand.
case_name="a needed package cannot be installed"
fresh_state broken-needed
STANDIN_BROKEN='^xvfb$' run_script test
[ $status -ne 0 ] || fail "exit status 0 although xvfb is missing"
grep -q '  xvfb: Unable to correct problems' "$out" || fail "xvfb is not named with apt's reason"
grep -qx 'Try by hand: sudo apt-get update && sudo apt-get install xvfb' "$out" ||
    fail "no command to try by hand, for xvfb alone"
is_installed wine64 || fail "the packages that can be installed were not"

# 3. Everything installed: the package manager is never called, nor sudo.
case_name="everything installed"
fresh_state complete cmake make g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 wine wine64 \
    xvfb xauth googletest g++ python3 imagemagick python3-xlib clang-14 libclang-rt-14-dev fonts-wine locales \
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine32:i386 zip unzip
touch "$STANDIN_STATE/ja_JP"
run_script build test dist
[ $status -eq 0 ] || fail "exit status $status, not 0"
[ "$(calls_matching '^(apt-get|sudo|localedef)|^dpkg --add')" -eq 0 ] || fail "the package manager was called"
[ -s "$out" ] && fail "it said something although there was nothing to do"

# 4. `make` on a fresh machine: the cross compiler and CMake, never a foreign architecture nor
#    Wine, and nothing already there.
case_name="the build alone"
fresh_state build-only cmake
STANDIN_BROKEN=':i386$' run_script build
[ $status -eq 0 ] || fail "exit status $status, not 0"
for p in make g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686; do
    is_installed "$p" || fail "$p not installed"
done
[ "$(grep -c '^cmake$' "$STANDIN_STATE/installed")" -eq 1 ] || fail "cmake installed although it was there"
grep -q '^dpkg --add-architecture' "$STANDIN_STATE/calls" && fail "a foreign architecture was added"
grep -qE '^apt-get install.*(wine|i386)' "$STANDIN_STATE/calls" && fail "Wine was installed for the build"

# 5. A 32-bit Wine that cannot be installed is remembered for a day: the next runs call no package
#    tool and say so in one line; asked (TB_RETRY_WINE32=1, TB_ARCH=i686) or a day later, it is tried
#    again, and once it installs, nothing is remembered.
case_name="a remembered failure of the 32-bit Wine"
fresh_state remembered
export TB_WINE32_MEMORY="$STANDIN_STATE/build/wine32-not-installable"
STANDIN_BROKEN=':i386$' run_script test
grep -q 'wine32:i386' "$TB_WINE32_MEMORY" || fail "the failure was not remembered"
for retry in none TB_RETRY_WINE32=1 TB_ARCH=i686 day-old installable; do
    case_name="remembered failure, then $retry"
    : > "$STANDIN_STATE/calls"
    broken=':i386$'
    case $retry in *=*) export "$retry" ;; day-old) touch -d '25 hours ago' "$TB_WINE32_MEMORY" ;;
                   installable) broken=''; export TB_RETRY_WINE32=1 ;; esac
    STANDIN_BROKEN=$broken run_script test
    unset TB_RETRY_WINE32 TB_ARCH
    tries=$(calls_matching '^apt-get install.*wine32:i386')
    if [ $retry = none ]; then
        [ "$(calls_matching '^(apt-get|sudo|dpkg)')" -eq 0 ] || fail "a package tool was called"
        [ "$(wc -l < "$out")" -eq 1 ] && grep -q 'wine32:i386.*TB_RETRY_WINE32=1.*64-bit build' "$out" ||
            fail "the remembered failure is not told in one line"
    else
        [ "$tries" -ge 1 ] || fail "the 32-bit Wine was not tried again"
    fi
done
[ -e "$TB_WINE32_MEMORY" ] && fail "a failure is still remembered after the install"
is_installed wine32:i386 || fail "wine32:i386 not installed once it could be"
unset TB_WINE32_MEMORY

[ $failures -eq 0 ] && echo "install-deps.sh: every case passed" || echo "$failures checks failed"
[ $failures -eq 0 ]
