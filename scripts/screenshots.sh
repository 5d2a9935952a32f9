#!/usr/bin/env bash
# Pictures the main window and the Configure dialog for the README: docs/main-window.png and
# docs/configure-dialog.png, the main window again at 150 % display scale (144 DPI),
# docs/main-window-150.png, and under the High Contrast Black colour scheme,
# docs/main-window-high-contrast.png, of TB_EXE (by default the release, dist/TestBuilder.exe). The tool
# runs in the prefix's Wine virtual desktop on a private Xvfb display (frames and captions are
# drawn there, in Wine's own fonts), with a settings file of example values.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
: "${BUILD:=build}"
# A prefix of its own, so that the fonts added for the pictures never reach the tests' prefix;
# one more for 150 % and one for the high-contrast scheme, since Wine reads the display scale
# and the system colours when the prefix's server starts.
prefix="$root/$BUILD/screenshot-prefix"

cmake "$root/$BUILD" >/dev/null  # picks up targets added since the last configure
cmake --build "$root/$BUILD" --target TestBuilder screenshot_driver
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "${TB_EXE:-$root/dist/TestBuilder.exe}" "$work/TestBuilder.exe"
cp "$root/$BUILD/screenshot_driver.exe" "$work/"
printf '%s\r\n' \
    'active=C:\Projects\Invoice\invoice.test' 'directory=relative' 'output=' 'compiler=pbwin' \
    'pbwin=C:\Compilers\PBWin\Pbwin.exe' 'pbcc=C:\Compilers\PBCC\pbcc.exe' \
    'quarex=C:\Tools\Quarex\quarex.exe' 'include=1' 'incl1=C:\Compilers\PBWin\Include\' \
    'incl2=C:\Projects\Shared\' 'incl3=' 'incl4=' > "$work/TestBuilder.ini"

# Runs inside the display: starts the driver, and photographs each window it announces
# ($windows: "main configure", or "main" alone).
shoot() {
    set -euo pipefail
    local folder
    folder="$("$here/wine-run.sh" winepath.exe -w "$work" | tr -d '\r')"
    rm -f "$work"/*.rect "$work"/*.done
    local only=()
    [ "$windows" = main ] && only=(main)
    "$here/wine-run.sh" "$work/screenshot_driver.exe" "$folder\\TestBuilder.exe" "$folder" "${only[@]}" &
    local driver=$!
    for name in $windows; do
        for _ in $(seq 1 600); do [ -f "$work/$name.rect" ] && break; sleep 0.05; done
        [ -f "$work/$name.rect" ] || { echo "The $name window did not appear" >&2; return 1; }
        read -r x y w h < "$work/$name.rect"
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/$name.png"
        touch "$work/$name.done"
    done
    wait "$driver"
}
export -f shoot
export here work TB_FONTS=1
mkdir -p "$root/docs"
WINEPREFIX="$prefix" windows="main configure" "$here/with-display.sh" bash -c shoot
cp "$work/main.png" "$root/docs/main-window.png"
cp "$work/configure.png" "$root/docs/configure-dialog.png"
WINEPREFIX="$prefix-dpi144" TB_LOGPIXELS=144 windows="main" "$here/with-display.sh" bash -c shoot
cp "$work/main.png" "$root/docs/main-window-150.png"
WINEPREFIX="$prefix-high-contrast-black" TB_COLOUR_SCHEME=high-contrast-black windows="main" \
    "$here/with-display.sh" bash -c shoot
cp "$work/main.png" "$root/docs/main-window-high-contrast.png"
echo "Wrote docs/main-window.png, docs/configure-dialog.png, docs/main-window-150.png and" \
     "docs/main-window-high-contrast.png"
