#!/usr/bin/env bash
# Times pictor-cli adjust end to end against ImageMagick on the same 12-Mpixel pictures and prints the
# ratio of the medians (pictor / ImageMagick: below 1 is faster).
# Usage: bench/compare.sh [pictor-cli] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_arguments 5 "$@"
bench_imagemagick
convert=/usr/bin/convert

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/jpg" "$work/png"
# A photo-like picture: smooth colour fields with noise, so that it has millions of colours.
"$convert" -size 4000x3000 -seed 7 plasma:fractal -attenuate 0.3 +noise Gaussian "$work/png/photo.png"
"$convert" "$work/png/photo.png" -quality 90 "$work/jpg/photo.jpg"
for ext in jpg png; do printf '<img src="photo.%s">\n' "$ext" > "$work/$ext/index.html"; done

seconds() { local s e; s=$(date +%s.%N); "$@" > /dev/null; e=$(date +%s.%N); echo "$e - $s" | bc -l; }

printf '%-22s %-5s %10s %12s %7s\n' adjustment file pictor imagemagick ratio
for ext in jpg png; do
  for case in "invert|--invert|-negate" \
              "brightness/contrast|--bright-contrast 20,30|-brightness-contrast 8x30" \
              "hue/saturation|--hue-sat 40,30,10|-modulate 104,112,111"; do
    IFS='|' read -r name ours theirs <<< "$case"
    p=() m=()
    for _ in $(seq "$runs"); do
      p+=("$(seconds "$cli" adjust "$work/$ext/index.html" $ours --jpeg-quality 80 --out "$work/out" --force)")
      m+=("$(seconds "$convert" "$work/$ext/photo.$ext" $theirs -quality 80 -sampling-factor 1x1 "$work/im.$ext")")
    done
    pm=$(printf '%s\n' "${p[@]}" | median)
    mm=$(printf '%s\n' "${m[@]}" | median)
    printf '%-22s %-5s %9.3fs %11.3fs %7.2f\n' "$name" "$ext" "$pm" "$mm" "$(echo "$pm / $mm" | bc -l)"
  done
done
