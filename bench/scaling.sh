#!/usr/bin/env bash
# How the whole process grows: pictor-cli list and adjust --invert --out on sheets of 1, 10 and 100 MB,
# sites of 10, 100 and 1,000 small pictures, a page linking 100 sheets and whole sites (--site) of 100
# and 1,000 pages sharing a sheet, the sheet it imports and two pictures. Prints seconds (median of
# the runs) and peak memory, then how far the 100 MB row is from ten times the 10 MB row.
# Usage: bench/scaling.sh [pictor-cli] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_arguments 3 "$@"
bench_npm bootstrap@5
bench_imagemagick
bootstrap="$cache/node_modules/bootstrap/dist/css/bootstrap.css"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# sheet_site DIR MB: a page and one sheet of about MB megabytes of Bootstrap.
sheet_site() {
  mkdir -p "$1"
  local n=$(( ($2 * 1000000 + 280619) / 280620 ))
  for _ in $(seq "$n"); do cat "$bootstrap"; done > "$1/big.css"
  printf '<link rel="stylesheet" href="big.css">\n' > "$1/index.html"
}
# picture_site DIR N: N small pictures (PNG, GIF and JPEG in turn), half named by the page, half by a sheet.
picture_site() {
  mkdir -p "$1/img"
  local kinds=(png gif jpg) i ext
  {
    printf '<link rel="stylesheet" href="site.css">\n'
    for i in $(seq 0 2 $(($2 - 1))); do ext=${kinds[$((i % 3))]}; printf '<img src="img/p%d.%s">\n' "$i" "$ext"; done
  } > "$1/index.html"
  for i in $(seq 1 2 $(($2 - 1))); do ext=${kinds[$((i % 3))]}; printf '.p%d { background: url(img/p%d.%s) }\n' "$i" "$i" "$ext"; done > "$1/site.css"
  for i in $(seq 0 $(($2 - 1))); do ext=${kinds[$((i % 3))]}; cp "$work/seed.$ext" "$1/img/p$i.$ext"; done
}
# sheets_site DIR N: a page linking N sheets of about 20 kB each.
sheets_site() {
  mkdir -p "$1/css"
  head -c 20000 "$bootstrap" | sed '$d' > "$work/small.css"
  for i in $(seq "$2"); do cp "$work/small.css" "$1/css/s$i.css"; printf '<link rel="stylesheet" href="css/s%d.css">\n' "$i"; done > "$1/index.html"
}

# pages_site DIR N: N pages, a hundred to a folder, sharing Bootstrap, a sheet it imports and two pictures.
pages_site() {
  mkdir -p "$1/css" "$1/img"
  { printf '@import "print.css";\n'; cat "$bootstrap"; } > "$1/css/site.css"
  printf '@media print { body { color: #000; background: #fff } }\n' > "$1/css/print.css"
  cp "$work/seed.png" "$1/img/logo.png"; cp "$work/seed.gif" "$1/img/mark.gif"
  local i
  for i in $(seq 0 $(($2 - 1))); do
    mkdir -p "$1/p$((i / 100))"
    printf '<link rel="stylesheet" href="../css/site.css"><body bgcolor="#%06x" text="#333">\n<img src="../img/logo.png"><img src="../img/mark.gif"><p style="color: rgb(%d 0 0)">page %d</p>\n' \
      $((i * 2654435761 % 16777216)) $((i % 256)) "$i" > "$1/p$((i / 100))/page$i.html"
  done
}

convert -size 64x48 -seed 3 plasma:fractal "$work/seed.png"
convert "$work/seed.png" "$work/seed.gif"
convert "$work/seed.png" -quality 85 "$work/seed.jpg"

# Prints "seconds peak-MB" as the medians of the runs.
timed() {
  local s=() m=() t k
  for _ in $(seq "$runs"); do
    rm -rf "$work/out"
    read -r t k < <(measure_run "$@"); s+=("$t"); m+=("$k")
  done
  echo "$(printf '%s\n' "${s[@]}" | median) $(echo "$(printf '%s\n' "${m[@]}" | median) / 1000" | bc -l)"
}

machine_note
printf '%-16s %10s %10s %12s %12s\n' site list-s list-MB adjust-s adjust-MB
declare -A listed
# row NAME WHAT...: WHAT is what pictor-cli opens (a page, or --site DIR).
row() {
  local name=$1 ls lm as am; shift
  read -r ls lm < <(timed "$cli" list "$@")
  read -r as am < <(timed "$cli" adjust "$@" --invert --out "$work/out")
  listed[$name]=$ls
  printf '%-16s %10.3f %10.1f %12.3f %12.1f\n' "$name" "$ls" "$lm" "$as" "$am"
}
for mb in 1 10 100; do sheet_site "$work/s$mb" "$mb"; row "sheet $mb MB" "$work/s$mb/index.html"; rm -rf "$work/s$mb"; done
for n in 10 100 1000; do picture_site "$work/p$n" "$n"; row "$n pictures" "$work/p$n/index.html"; done
sheets_site "$work/sheets" 100; row "100 sheets" "$work/sheets/index.html"
for n in 100 1000; do pages_site "$work/site$n" "$n"; row "$n pages" --site "$work/site$n"; done
printf 'list, 100 MB / (10 x 10 MB): %.2f (linear is 1.00)\n' "$(echo "${listed[sheet 100 MB]} / (10 * ${listed[sheet 10 MB]})" | bc -l)"
printf 'list, 1000 / (10 x 100) pictures: %.2f\n' "$(echo "${listed[1000 pictures]} / (10 * ${listed[100 pictures]})" | bc -l)"
printf 'list, 1000 / (10 x 100) pages: %.2f\n' "$(echo "${listed[1000 pages]} / (10 * ${listed[100 pages]})" | bc -l)"
machine_note
