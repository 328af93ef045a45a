#!/usr/bin/env bash
# Saving in place against listing: pictor-cli adjust --invert --in-place and pictor-cli list on the 10 MB
# sheet site (Bootstrap 5 x 36) and on 12-Mpixel JPEG and PNG sites, runs alternating, medians, the
# ratio, peak memory, and (with strace) how often each file is read and written in one save.
# Usage: bench/compare-save.sh [pictor-cli] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_arguments 5 "$@"
bench_npm bootstrap@5
bench_imagemagick

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/sheet" "$work/jpg" "$work/png"
for _ in $(seq 36); do cat "$cache/node_modules/bootstrap/dist/css/bootstrap.css"; done > "$work/sheet/big.css"
printf '<link rel="stylesheet" href="big.css">\n' > "$work/sheet/index.html"
# The photo-like picture of bench/compare.sh.
convert -size 4000x3000 -seed 7 plasma:fractal -attenuate 0.3 +noise Gaussian "$work/png/photo.png"
convert "$work/png/photo.png" -quality 90 "$work/jpg/photo.jpg"
for ext in jpg png; do printf '<img src="photo.%s">\n' "$ext" > "$work/$ext/index.html"; done

# Each save starts from the site as built, restored outside the timing.
restore() { rm -rf "$work/run"; cp -r "$work/$1" "$work/run"; }

machine_note
printf '%-10s %9s %9s %9s %9s %9s\n' site list-s save-s ratio list-MB save-MB
for site in sheet jpg png; do
  l=() s=() lm=() sm=()
  for _ in $(seq "$runs"); do
    read -r t m < <(measure_run "$cli" list "$work/$site/index.html"); l+=("$t"); lm+=("$m")
    restore "$site"
    read -r t m < <(measure_run "$cli" adjust "$work/run/index.html" --invert --in-place); s+=("$t"); sm+=("$m")
  done
  ls=$(printf '%s\n' "${l[@]}" | median) ss=$(printf '%s\n' "${s[@]}" | median)
  printf '%-10s %9.3f %9.3f %9.2f %9.1f %9.1f\n' "$site" "$ls" "$ss" "$(echo "$ss / $ls" | bc -l)" \
    "$(echo "$(printf '%s\n' "${lm[@]}" | median) / 1000" | bc -l)" "$(echo "$(printf '%s\n' "${sm[@]}" | median) / 1000" | bc -l)"
done

if command -v strace > /dev/null; then
  for site in sheet jpg png; do
    restore "$site"
    strace -f -e trace=openat,rename,renameat,renameat2 -o "$work/trace" "$cli" adjust "$work/run/index.html" --invert --in-place > /dev/null
    reads=$(grep -c "\"$work/run/[^\"]*\", O_RDONLY" "$work/trace" || true)
    writes=$(grep -cE "rename(at2?)?\(" "$work/trace" || true)
    files=$(find "$work/run" -type f | wc -l)
    printf '%-10s one save: %d files, %d opened for reading, %d written\n' "$site" "$files" "$reads" "$writes"
  done
fi
machine_note
