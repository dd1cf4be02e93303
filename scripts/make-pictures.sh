#!/usr/bin/env bash
# Draws the window's three pictures with ImageMagick. Its output is committed in app/pictures;
# run it again only to change a design.
set -euo pipefail
cd "$(dirname "$0")/../app/pictures"

font=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
[ -f "$font" ] || { echo "make-pictures: $font is missing (apt-get install fonts-liberation)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The icon: grey ground, a dashed yellow line across the middle, a white arrow pointing left above
# it and one pointing right below it. Drawn on a 32-pixel grid and scaled for the 16-pixel image.
icon_at() { # size
    local s=$1
    magick_draw=(
        -affine "$((s > 32 ? s / 32 : 1)),0,0,$((s > 32 ? s / 32 : 1)),0,0"
        -fill '#808080' -draw "rectangle 1,1 30,30"
        -stroke '#FFFF00' -strokewidth 2 -draw "line 3,16 7,16" -draw "line 11,16 15,16"
        -draw "line 19,16 23,16" -draw "line 27,16 29,16" -stroke none
        -fill white -draw "polygon 5,8 12,3 12,6 26,6 26,10 12,10 12,13"
        -fill white -draw "polygon 27,24 20,19 20,22 6,22 6,26 20,26 20,29"
    )
    local grid=$((s > 32 ? s : 32))
    convert -size "${grid}x${grid}" xc:none "${magick_draw[@]}" -filter box -resize "${s}x${s}" \
        -channel A -threshold 50% +channel "$work/icon$s.png"
}
icon_at 32
icon_at 16
icon_at 256

# The desktop's icons in the same design: the two small images as drawn for the icon file, the
# larger ones from the 256-pixel drawing.
mkdir -p icons
# -strip keeps dates out of the files, so that drawing them again changes no byte.
convert "$work/icon16.png" -strip icons/hangar-16.png
convert "$work/icon32.png" -strip icons/hangar-32.png
convert "$work/icon256.png" -filter Lanczos -resize 48x48 -strip icons/hangar-48.png
convert "$work/icon256.png" -strip icons/hangar-256.png
# ImageMagick writes icons with alpha at 32 bits per pixel; the icon wants 16 colours and a mask,
# so the two images are packed here from their raw pixels.
for s in 32 16; do convert "$work/icon$s.png" -depth 8 rgba:"$work/icon$s.rgba"; done
python3 - "$work" <<'PY'
import struct, sys
work = sys.argv[1]
palette = [(0, 0, 0), (128, 128, 128), (255, 255, 0), (255, 255, 255)] + [(0, 0, 0)] * 12

def nearest(rgb):
    return min(range(4), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))

def image(size):
    raw = open(f"{work}/icon{size}.rgba", "rb").read()
    pixels = [raw[i:i + 4] for i in range(0, len(raw), 4)]
    rows = [pixels[y * size:(y + 1) * size] for y in reversed(range(size))]
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in rows:
        indexes = [nearest(p[:3]) if p[3] >= 128 else 0 for p in row]
        line = bytearray((indexes[x] << 4) | indexes[x + 1] for x in range(0, size, 2))
        xor += line + bytes((-len(line)) % 4)
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + bytes(xor) + bytes(mask)

images = [image(32), image(16)]
out = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, data in zip((32, 16), images):
    out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
    offset += len(data)
open("hangar.ico", "wb").write(out + b"".join(images))
PY

# The logo: a hangar seen from the front on a sky gradient, and the program's name.
convert -size 342x111 gradient:'#2a62b8'-'#cfe3f7' \
    -fill '#5c6670' -draw "path 'M 14,100 L 14,52 Q 74,6 134,52 L 134,100 Z'" \
    -fill '#20262c' -draw "rectangle 38,62 110,100" \
    -stroke '#f2c200' -strokewidth 3 -draw "line 0,104 342,104" -stroke none \
    -fill white -font "$font" -pointsize 48 -annotate +150+68 'Hangar' \
    -fill '#0b2a66' -pointsize 15 -annotate +153+92 'configurations for FS 2004' \
    -alpha off -interlace none -colors 256 "$work/logo.gif"
convert "$work/logo.gif" -alpha off -interlace none +dither -colors 256 -define gif:version=89a logo.gif

# The word mark: the name set in blue on white over a yellow rule. Its lowest rows stay white, as
# the contact labels overlap them.
convert -size 238x79 xc:white \
    -fill '#0000c0' -font "$font" -pointsize 38 -gravity north -annotate +0+6 'HANGAR' \
    -fill '#f2c200' -draw "rectangle 34,52 204,55" \
    -colorspace sRGB -type TrueColor -density 96 -units PixelsPerInch -interlace none \
    -quality 92 wordmark.jpg
