#!/usr/bin/env bash
# Gives the Wine prefix Wine's own fonts (Debian's fonts-wine), which this Wine build does not
# load from its data folder: without them the caption buttons (Marlett) are drawn as letters
# and "MS Sans Serif" falls back to another face. Only for looking at the windows (`make run`,
# `make screenshots`); the tests do not need them.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/wine-env.sh"
source_dir=/usr/share/wine/fonts
target="$WINEPREFIX/drive_c/windows/Fonts"
[ -d "$source_dir" ] && [ -d "$target" ] || exit 0
for font in "$source_dir"/*.ttf "$source_dir"/*.fon; do
    [ -e "$target/$(basename "$font")" ] || cp "$font" "$target/"
done
