#!/usr/bin/env bash
# Draws the Test Builder icon (a test tube with a green check mark) and writes
# TestBuilder.ico with 256, 48, 32, 24 and 16 pixel images at 32 bits per pixel.
# Needs ImageMagick's `convert`. Run it again after changing the drawing; commit the .ico.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The drawing, in a 256 × 256 space; every size is drawn from it, not scaled from a bitmap,
# so small images stay sharp.
draw_icon() {  # size, output file
    local size=$1 out=$2
    local s
    s=$(awk -v n="$size" 'BEGIN { printf "%.6f", n / 256 }')
    # Outlines get relatively thicker as the image gets smaller, so they never vanish.
    local line=10 check=30 halo=50
    if [ "$size" -le 24 ]; then line=18; check=40; halo=66; fi
    convert -size "${size}x${size}" xc:none -antialias \
        -draw "affine $s,0,0,$s,0,0
               fill '#dff0ff' stroke '#2b3a4a' stroke-width $line stroke-linejoin round
               path 'M 64,40 L 64,186 A 46,46 0 0,0 156,186 L 156,40 Z'
               fill '#2f7fd8' stroke none
               path 'M 70,118 L 150,118 L 150,186 A 40,40 0 0,1 70,186 Z'
               fill '#2b3a4a' stroke '#2b3a4a' stroke-width $line stroke-linejoin round
               path 'M 46,24 L 174,24 L 174,44 L 46,44 Z'
               fill none stroke '#ffffff' stroke-width $halo stroke-linecap round stroke-linejoin round
               path 'M 120,168 L 158,210 L 232,110'
               stroke '#1f9d3a' stroke-width $check
               path 'M 120,168 L 158,210 L 232,110'" \
        -define png:color-type=6 "PNG32:$out"
}

images=()
for size in 256 48 32 24 16; do
    draw_icon "$size" "$work/icon-$size.png"
    images+=("$work/icon-$size.png")
done
# Every image keeps its alpha channel, which makes ImageMagick write 32 bits per pixel.
convert "${images[@]}" "$here/TestBuilder.ico"
identify "$here/TestBuilder.ico"
