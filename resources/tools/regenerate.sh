#!/usr/bin/env bash
# Regenerates every picture in resources/ from the scripts in this folder:
#   USPickMap.png                    the station map (make_map.mjs)
#   exit-door-{normal,disabled,pressed,hot}.png, the application icon in icons/, and the
#   figures of the references documents (make_pictures.mjs)
# Needs Node.js with npm (the first run installs the pinned packages of package-lock.json),
# rsvg-convert (Debian package librsvg2-bin), ImageMagick's convert (imagemagick) and the
# DejaVu fonts (fonts-dejavu-core). The program's build never runs this.
# The output is byte for byte the same on every run: PNG files carry no time stamps.
set -euo pipefail
tools=$(cd "$(dirname "$0")" && pwd)
resources=$(dirname "$tools")

missing=()
for command in node npm rsvg-convert convert; do
  command -v "$command" >/dev/null || missing+=("$command")
done
[ -n "$(fc-list "DejaVu Sans")" ] || missing+=("DejaVu Sans font")
if ((${#missing[@]})); then
  echo "regenerate.sh: missing ${missing[*]}" >&2
  echo "  apt-get install nodejs npm librsvg2-bin imagemagick fonts-dejavu-core" >&2
  exit 1
fi

cd "$tools"
[ -d node_modules ] || npm ci --no-audit --no-fund

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# convert INPUT OPTIONS... OUTPUT, writing a PNG without the time chunks ImageMagick adds.
png() { convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time,tIME "${@: -1}"; }

# The map: 450 x 300, at most 256 colours in a palette.
node make_map.mjs >"$work/map.svg"
rsvg-convert -w 450 -h 300 "$work/map.svg" -o "$work/map.png"
png "$work/map.png" +dither -colors 256 "PNG8:$resources/USPickMap.png"

node make_pictures.mjs "$work"

# The door of the "Exit" button in its four states: 16 x 16, transparent background.
for state in normal disabled pressed hot; do
  png "$work/exit-door-$state.xpm" "PNG32:$resources/exit-door-$state.png"
done

# The application icon: the drawing itself, and pictures in the sizes desktops ask for. The
# 32 x 32 picture is the window's icon, kept to 16 colours.
icons=$resources/icons/hicolor
mkdir -p "$icons/scalable/apps"
cp "$work/skelmar.svg" "$icons/scalable/apps/skelmar.svg"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$work/skelmar.svg" -o "$work/icon-$size.png"
  if [ "$size" = 32 ]; then
    png "$work/icon-$size.png" +dither -colors 16 "PNG8:$icons/${size}x${size}/apps/skelmar.png"
  else
    png "$work/icon-$size.png" "PNG32:$icons/${size}x${size}/apps/skelmar.png"
  fi
done

# Figures of the references documents: a JPEG picture and a GIF picture.
rsvg-convert "$work/flight-categories.svg" -o "$work/flight-categories.png"
convert "$work/flight-categories.png" -strip -quality 90 -sampling-factor 1x1 \
  "$resources/refs-flight-categories.jpg"
rsvg-convert "$work/sky-cover.svg" -o "$work/sky-cover.png"
convert "$work/sky-cover.png" -strip +dither -colors 32 "$resources/refs-sky-cover.gif"

echo "regenerated the pictures in $resources"
