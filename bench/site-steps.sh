#!/usr/bin/env bash
# Drives the window on a real multi-page site under Xvfb: Debian's reference manual in Japanese (the
# debian-reference-ja package, installed when missing: sixteen pages of up to 400 KB sharing one sheet
# and its pictures). Steps: open the folder as a site until its palette and first page are shown, invert
# the whole site until the preview shows it, switch to the next page and back until each is shown, save.
# Prints the medians beside pictor-cli's list --site on the same folder, and the goals.
# Usage: bench/site-steps.sh [build folder] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_window_arguments "$@"
manual=/usr/share/debian-reference
if [ ! -f "$manual/index.ja.html" ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends debian-reference-ja >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/site"
cp -r "$manual"/*.ja.html "$manual"/*.css "$manual"/images "$work/site/"
pages=$(ls "$work/site"/*.html | wc -l)

steps=(open invert page-switch page-switch-back save worst-key-wait)
bench_window_runs "$work/site" PICTOR_BENCH_SITE "" "${steps[@]}"
cli_list=()
for run in $(seq "$runs"); do cli_list+=("$(measure_run "$cli" list --site "$work/site" | cut -d' ' -f1)"); done

declare -A goal=([open]=2 [invert]=1 [page-switch]=0.3 [page-switch-back]=0.3 [save]=- [worst-key-wait]=0.1)
declare -A beside=([open]="list --site $(printf '%s\n' "${cli_list[@]}" | median)")
echo "site: $pages pages, $(du -sh "$work/site" | cut -f1)"
printf '%-17s %10s %8s   %s\n' step window goal pictor-cli
for step in "${steps[@]}"; do
  printf '%-17s %9.3fs %7ss   %s\n' "$step" "$(tr ' ' '\n' <<< "${seen[$step]}" | grep -v '^$' | median)" "${goal[$step]}" "${beside[$step]:-}"
done
echo "median of $runs runs; $(machine_note)"
