#!/usr/bin/env bash
# Composes sample faces from the digit bitmaps, so a change to their design
# can be judged as the window shows it:
#   tools/preview_digits.sh [OUT_DIR]      (default /tmp/digits-preview)
# Each face comes at zoom 1 and 5 (nearest neighbour, as the window stretches
# it), on black and on white. For white, the window's colour key is copied:
# a pixel whose channels are all at most 30 becomes the background.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
digits=$here/../app/res/digits
out=${1:-/tmp/digits-preview}
mkdir -p "$out"

# face SET NAME TEXT: one cell per character; a space is a blank cell as
# wide as the colon.
face() {
  local set=$1 name=$2 text=$3 cells=() i ch height
  height=$(identify -format '%h' "$digits/${set}_0.bmp")
  for ((i = 0; i < ${#text}; i++)); do
    ch=${text:i:1}
    case $ch in
    :) cells+=("$digits/${set}_colon.bmp") ;;
    .) cells+=("$digits/${set}_point.bmp") ;;
    ' ') cells+=(-size "9x$height" xc:black) ;;
    *) cells+=("$digits/${set}_$ch.bmp") ;;
    esac
  done
  convert "${cells[@]}" +append +repage -type TrueColor "$out/$set-$name-black-x1.png"
  convert "$out/$set-$name-black-x1.png" \
    -fx 'r <= 30.5/255 && g <= 30.5/255 && b <= 30.5/255 ? 1 : u' "$out/$set-$name-white-x1.png"
  for bg in black white; do
    convert "$out/$set-$name-$bg-x1.png" -filter point -resize 500% "$out/$set-$name-$bg-x5.png"
  done
}

for set in small digital; do
  face "$set" face "00025 23:59:58"
  face "$set" all "0123456789.:"
done
ls "$out"/*.png
