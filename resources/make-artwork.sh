#!/bin/sh
# Draws the main window's skin and the program icon into resources/artwork/.
#
# Only needed when the artwork changes: the generated files are committed, so building
# never runs this. Needs ImageMagick (convert, identify) and, for the Korean lettering,
# the Nanum fonts (Debian package fonts-nanum). Running it again gives the same files.
set -eu

root=$(CDPATH= cd "$(dirname "$0")/.." && pwd)
out="$root/resources/artwork"
fonts=/usr/share/fonts/truetype/nanum
gothic="$fonts/NanumGothic.ttf"
gothic_bold="$fonts/NanumGothicBold.ttf"
square_bold="$fonts/NanumSquareB.ttf"

command -v convert >/dev/null || {
  echo "make-artwork: needs ImageMagick (apt-get install imagemagick)" >&2; exit 1; }
for f in "$gothic" "$gothic_bold" "$square_bold"; do
  [ -f "$f" ] || { echo "make-artwork: missing $f (apt-get install fonts-nanum)" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM
mkdir -p "$out"

# Palette. The title strip is flat in the rows the caption and buttons cover, so those
# pictures share its colour and sit on it without a seam.
title_bg='rgb(45,45,48)'
title_hi='rgb(62,62,66)'
title_lo='rgb(30,30,32)'
glyph='rgb(222,222,222)'
glyph_half='rgb(134,134,135)'
caption_fg='rgb(238,238,238)'
accent='rgb(0,150,214)'
accent_light='rgb(40,180,238)'
band_top='rgb(92,86,80)'
band_bottom='rgb(80,75,70)'
band_line='rgb(200,195,190)'
slogan_fg='rgb(208,202,196)'

# Opaque, undithered, without comments or dates, so the files are the same on every run.
# When a picture has more colours than a GIF holds, the colours of the background it
# must match (third argument) are kept exactly and the rest are reduced around them.
gif() { # input output [background]
  convert "$1" -background "$title_bg" -alpha remove -alpha off -depth 8 "$tmp/flat.png"
  if [ "$(convert "$tmp/flat.png" -unique-colors -format %w info:)" -le 256 ]; then
    convert "$tmp/flat.png" -strip "$2"
    return
  fi
  convert "${3:-xc:$title_bg}" -depth 8 -unique-colors "$tmp/keep.png"
  kept=$(identify -format %w "$tmp/keep.png")
  convert "$tmp/flat.png" +dither -colors $(( 256 - kept )) -unique-colors "$tmp/rest.png"
  convert "$tmp/keep.png" "$tmp/rest.png" +append "$tmp/palette.png"
  convert "$tmp/flat.png" +dither -remap "$tmp/palette.png" -strip "$2"
}

# --- title strip: 1 px highlight, flat body, 1 px shadow. Stretched sideways only.
convert -size 30x28 "xc:$title_bg" \
  -fill "$title_hi" -draw 'line 0,0 29,0' \
  -fill "$title_lo" -draw 'line 0,27 29,27' \
  "$tmp/titlebar.png"
gif "$tmp/titlebar.png" "$out/titlebar.gif"

# --- emblem: accent rounded square with a white Q, drawn at 8x and scaled down so the
# small sizes keep smooth edges. Transparent outside the square.
emblem() { # size output
  big=$(( $1 * 8 ))
  r=$(( big * 22 / 100 ))
  convert -size "${big}x${big}" xc:none \
    -fill "$accent" -draw "roundrectangle 0,0 $((big - 1)),$((big - 1)) $r,$r" \
    -font "$square_bold" -pointsize "$(( big * 80 / 100 ))" -fill white \
    -stroke white -strokewidth "$(( big / 40 ))" -gravity center \
    -annotate "+0+$(( big / 30 ))" Q \
    -filter Box -resize "${1}x${1}" "$2"
}

# --- caption: emblem, then the program's name.
emblem 14 "$tmp/emblem14.png"
convert -size 127x16 "xc:$title_bg" \
  "$tmp/emblem14.png" -geometry +1+1 -composite \
  -font "$gothic_bold" -pointsize 11 -fill "$caption_fg" \
  -annotate +21+12 'QVN 분석프로그램' \
  "$tmp/caption.png"
gif "$tmp/caption.png" "$out/caption.gif"

# --- window buttons: drawn pixel by pixel from the maps below so they stay crisp
# ('#' glyph, '+' half tone, anything else background).
pixmap() { # width height output < map
  mvg=$(awk -v ink="$glyph" -v half="$glyph_half" '
    { for (x = 1; x <= length($0); x++) {
        c = substr($0, x, 1)
        if (c == "#") full = full sprintf(" point %d,%d", x - 1, NR - 1)
        if (c == "+") mid = mid sprintf(" point %d,%d", x - 1, NR - 1)
    } }
    END { printf "fill \"%s\"%s fill \"%s\"%s\n", ink, full, half, mid }')
  convert -size "$1x$2" "xc:$title_bg" +antialias -draw "$mvg" "$3"
}

# The program places these at y 10 and the reload button at y 9, so the three window
# glyphs share rows 1-8 and the reload ring is one row taller at each end.
pixmap 12 10 "$tmp/btn_min.png" <<'MAP'
............
............
............
............
............
............
............
.##########.
.##########.
............
MAP
gif "$tmp/btn_min.png" "$out/btn_min.gif"

pixmap 12 10 "$tmp/btn_max.png" <<'MAP'
............
.##########.
.##########.
.#........#.
.#........#.
.#........#.
.#........#.
.#........#.
.##########.
............
MAP
gif "$tmp/btn_max.png" "$out/btn_max.gif"

pixmap 11 10 "$tmp/btn_close.png" <<'MAP'
...........
.##.....##.
..##...##..
...##.##...
....###....
....###....
...##.##...
..##...##..
.##.....##.
...........
MAP
gif "$tmp/btn_close.png" "$out/btn_close.gif"

# Two arrows chasing each other round a ring, each head pointing on round it.
pixmap 17 11 "$tmp/btn_reload.png" <<'MAP'
.................
......#####......
....+#.....#+....
....#.....#####..
...........###...
....#.......#....
...###...........
..#####.....#....
....+#.....#+....
......#####......
.................
MAP
gif "$tmp/btn_reload.png" "$out/btn_reload.gif"

# --- tool band: vertical gradient with a light line at the bottom. Stretched sideways.
band() { # width output
  convert -size "${1}x49" "gradient:$band_top-$band_bottom" \
    -size "${1}x1" "xc:$band_line" -append -depth 8 "$2"
}
band 20 "$tmp/toolband.png"
gif "$tmp/toolband.png" "$out/toolband.gif"

# --- logo: emblem, wordmark and slogan, laid out on a transparent sheet, trimmed, and
# centred on the band itself so it blends wherever it is drawn over the band.
mark_pt=26
name_pt=22
slogan_pt=12
qvn_w=$(convert -font "$square_bold" -pointsize "$mark_pt" label:QVN -trim -format %w info:)
emblem 34 "$tmp/emblem34.png"
name_x=$(( 46 + qvn_w + 7 ))
name_w=$(convert -font "$square_bold" -pointsize "$name_pt" label:분석서비스 -trim -format %w info:)
# The slogan is spaced out to run exactly as wide as the wordmark above it (the spare
# width shared among the 12 gaps between its 13 letters).
slogan='입찰 분석의 새로운 기준'
slogan_w=$(convert -font "$gothic" -pointsize "$slogan_pt" label:"$slogan" -trim -format %w info:)
slogan_kern=$(awk -v want=$(( name_x + name_w - 46 )) -v have="$slogan_w" -v n=12 \
  'BEGIN { printf "%.2f", (want - have) / n }')
convert -size 400x50 xc:none \
  "$tmp/emblem34.png" -geometry +0+6 -composite \
  -font "$square_bold" -pointsize "$mark_pt" -fill "$accent_light" \
  -stroke "$accent_light" -strokewidth 0.7 -annotate +45+27 QVN \
  -stroke none -font "$square_bold" -pointsize "$name_pt" -fill white \
  -annotate "+$name_x+27" '분석서비스' \
  -font "$gothic" -pointsize "$slogan_pt" -kerning "$slogan_kern" -fill "$slogan_fg" \
  -annotate +46+41 "$slogan" \
  -trim +repage "$tmp/logo_art.png"
band 292 "$tmp/logoband.png"
convert "$tmp/logoband.png" "$tmp/logo_art.png" -gravity center -geometry +0-1 \
  -composite "$tmp/logo.png"
gif "$tmp/logo.png" "$out/logo.gif" "$tmp/logoband.png"

# --- program icon: four 32-bit BMP images with alpha, each drawn at its own size.
for n in 16 32 48 64; do
  emblem "$n" "$tmp/icon$n.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon64.png" \
  -alpha set "$out/mainicon.ico"

# Check the sizes the program relies on, and that every icon entry is 32 bits deep
# (the bit count is the 16-bit field 6 bytes into each 16-byte directory entry).
check() { # file expected-size
  got=$(identify -format '%wx%h ' "$1")
  [ "$got" = "$2 " ] || { echo "make-artwork: $1 is $got, wanted $2" >&2; exit 1; }
}
check "$out/titlebar.gif" 30x28
check "$out/caption.gif" 127x16
check "$out/btn_min.gif" 12x10
check "$out/btn_max.gif" 12x10
check "$out/btn_close.gif" 11x10
check "$out/btn_reload.gif" 17x11
check "$out/toolband.gif" 20x50
check "$out/logo.gif" 292x50
sizes=$(identify -format '%wx%h ' "$out/mainicon.ico")
[ "$sizes" = "16x16 32x32 48x48 64x64 " ] || {
  echo "make-artwork: mainicon.ico has $sizes" >&2; exit 1; }
for i in 0 1 2 3; do
  bits=$(od -An -tu2 -j $(( 6 + 16 * i + 6 )) -N2 "$out/mainicon.ico" | tr -d ' ')
  [ "$bits" = 32 ] || { echo "make-artwork: icon entry $i is $bits-bit" >&2; exit 1; }
done
identify "$out"/*.gif "$out/mainicon.ico"
