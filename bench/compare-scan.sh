#!/usr/bin/env bash
# Times the whole process `pictor-cli list --json` against @projectwallace/css-analyzer on the same
# 10 MB of Bootstrap 5, runs alternating, and prints the medians, MB/s, the ratio and peak memory.
# The npm packages go to a cache folder outside the repository.
# Usage: bench/compare-scan.sh [pictor-cli] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_arguments 5 "$@"
bench_npm bootstrap@5 @projectwallace/css-analyzer
cat > "$cache/analyze.mjs" <<'JS'
import { analyze } from '@projectwallace/css-analyzer';
import { readFileSync } from 'node:fs';
const colors = analyze(readFileSync(process.argv[2], 'utf8')).values.colors;
console.log(JSON.stringify({ total: colors.total, unique: colors.totalUnique }));
JS

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for _ in $(seq 36); do cat "$cache/node_modules/bootstrap/dist/css/bootstrap.css"; done > "$work/big.css"
printf '<link rel="stylesheet" href="big.css">\n' > "$work/index.html"
bytes=$(stat -c %s "$work/big.css")

machine_note
p=() a=() pm=()
for _ in $(seq "$runs"); do
  read -r s m < <(measure_run "$cli" list "$work/index.html" --json); p+=("$s"); pm+=("$m")
  read -r s _ < <(measure_run node "$cache/analyze.mjs" "$work/big.css"); a+=("$s")
done
ps=$(printf '%s\n' "${p[@]}" | median)
as=$(printf '%s\n' "${a[@]}" | median)
peak=$(printf '%s\n' "${pm[@]}" | median)
mb=$(echo "$bytes / 1000000" | bc -l)
printf 'text loaded: %.1f MB (Bootstrap 5 x 36), median of %d alternating runs\n' "$mb" "$runs"
printf '%-28s %9s %9s\n' program seconds MB/s
printf '%-28s %9.3f %9.1f\n' "pictor-cli list --json" "$ps" "$(echo "$mb / $ps" | bc -l)"
printf '%-28s %9.3f %9.1f\n' "css-analyzer" "$as" "$(echo "$mb / $as" | bc -l)"
printf 'ratio (analyser / pictor): %.1fx\n' "$(echo "$as / $ps" | bc -l)"
printf 'pictor peak memory: %.1f MB = %.2f x the text\n' "$(echo "$peak / 1000" | bc -l)" "$(echo "$peak * 1024 / $bytes" | bc -l)"
printf 'spread of the pictor runs: %.3f to %.3f s\n' "$(printf '%s\n' "${p[@]}" | sort -n | head -1)" "$(printf '%s\n' "${p[@]}" | sort -n | tail -1)"
printf 'colours: pictor %s, analyser %s\n' \
  "$("$cli" list "$work/index.html" --json | python3 -c 'import json,sys; d=json.load(sys.stdin); print(sum(len(f.get("colors", [])) for f in d.get("files", [])))' 2>/dev/null || echo '?')" \
  "$(node "$cache/analyze.mjs" "$work/big.css")"
machine_note
