#!/bin/sh
# Regenerates the application icon's PNG renderings under res/icons/hicolor/
# from res/icons/tessix.svg, and the scalable copy beside them.
#
# Usage: tools/render_icons.sh            (from anywhere in the checkout)
# Needs: ImageMagick 6 or 7 (convert or magick).
#
# The SVG is drawn with ImageMagick's own SVG renderer ("msvg:") so that the
# result does not depend on whether an external delegate such as rsvg-convert
# happens to be installed. It is drawn once, large, and scaled down to each
# size, which gives clean anti-aliased edges even at 16 px. Metadata (dates,
# comments) is stripped so that rerunning the script on an unchanged SVG
# leaves the PNGs byte-for-byte unchanged.
set -eu

here=$(CDPATH='' cd -- "$(dirname -- "$0")" && pwd)
icons=$(CDPATH='' cd -- "$here/../res/icons" && pwd)
src="$icons/tessix.svg"
app_id=io.github.tessix.Tessix
sizes="16 22 24 32 48 64 128 256"

if command -v magick >/dev/null 2>&1; then
  im=magick
elif command -v convert >/dev/null 2>&1; then
  im=convert
else
  echo "render_icons.sh: ImageMagick (convert or magick) is required" >&2
  exit 1
fi

[ -f "$src" ] || { echo "render_icons.sh: $src is missing" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

# 128 user units drawn at 768 dpi: 1024 px, four times the largest size.
"$im" -background none -density 768 "msvg:$src" -depth 8 "png32:$tmp/master.png"

for n in $sizes; do
  dir="$icons/hicolor/${n}x${n}/apps"
  mkdir -p "$dir"
  "$im" "$tmp/master.png" -filter Lanczos -resize "${n}x${n}" -depth 8 -strip \
    "png32:$dir/$app_id.png"
  echo "wrote $dir/$app_id.png"
done

mkdir -p "$icons/hicolor/scalable/apps"
cp "$src" "$icons/hicolor/scalable/apps/$app_id.svg"
echo "wrote $icons/hicolor/scalable/apps/$app_id.svg"
