#!/usr/bin/env bash
# Drives the window the way an author does on a heavy page (Bootstrap, a generated 1 MB sheet of about
# 33,000 colours and 100 pictures of 800 x 600, half PNG half JPEG) under Xvfb: open, invert, undo, a
# second invert, save, each until the window shows it done (the open also until the lists are filled),
# and the longest the window left a key unanswered meanwhile; then the hue dialog's opening and the time
# a slider's change takes to show in its preview. Prints the medians beside pictor-cli's
# list and adjust --invert on the same page, and the goals.
# Usage: bench/window-steps.sh [build folder] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_window_arguments "$@"
bench_npm bootstrap@5
bench_imagemagick
bootstrap="$cache/node_modules/bootstrap/dist/css/bootstrap.css"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
page="$work/page"
mkdir -p "$page/img"
cp "$bootstrap" "$page/bootstrap.css"
# 11,000 rules of three colours each, in the forms pages use: about 1 MB.
awk 'BEGIN {
  for (i = 0; i < 11000; i++)
    printf ".c%d { color: #%06x; background-color: rgb(%d, %d, %d); border-color: hsl(%d, 50%%, 40%%); }\n",
           i, (i * 2654435761) % 16777216, i % 256, (i * 7) % 256, (i * 13) % 256, i % 360
}' > "$page/colours.css"
convert -size 800x600 -seed 7 plasma:fractal "$work/seed.png"
convert "$work/seed.png" -quality 85 "$work/seed.jpg"
{
  printf '<!doctype html>\n<html><head><meta charset="utf-8">\n'
  printf '<link rel="stylesheet" href="bootstrap.css"><link rel="stylesheet" href="colours.css"></head>\n<body>\n'
  for i in $(seq 0 99); do
    ext=$([ $((i % 2)) -eq 0 ] && echo png || echo jpg)
    cp "$work/seed.$ext" "$page/img/p$i.$ext"
    printf '<img src="img/p%d.%s" width="80" height="60">\n' "$i" "$ext"
  done
  printf '<p class="c1">text</p></body></html>\n'
} > "$page/index.html"

steps=(lists open invert undo invert-again save worst-key-wait dialog-open dialog-preview)
bench_window_runs "$page" PICTOR_BENCH_STEPS /index.html "${steps[@]}"
cli_list=() cli_invert=()
for run in $(seq "$runs"); do
  cli_list+=("$(measure_run "$cli" list "$page/index.html" | cut -d' ' -f1)")
  cli_invert+=("$(measure_run "$cli" adjust "$page/index.html" --invert --out "$work/cli-out" --force | cut -d' ' -f1)")
done

declare -A goal=([lists]=1.5 [open]=1.5 [dialog-open]=- [dialog-preview]=0.2 [invert]=1.5 [undo]=0.5 [invert-again]=1.5 [save]=2 [worst-key-wait]=0.1)
declare -A beside=([open]="list $(printf '%s\n' "${cli_list[@]}" | median)"
                   [invert]="adjust --invert --out $(printf '%s\n' "${cli_invert[@]}" | median)")
printf '%-15s %10s %8s   %s\n' step window goal pictor-cli
for step in "${steps[@]}"; do
  printf '%-15s %9.3fs %7ss   %s\n' "$step" "$(tr ' ' '\n' <<< "${seen[$step]}" | grep -v '^$' | median)" "${goal[$step]}" "${beside[$step]:-}"
done
echo "median of $runs runs; $(machine_note)"
