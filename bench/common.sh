# What the whole-process benchmark scripts share; sourced from the repository's root.

# cli and runs from the script's arguments: [pictor-cli] [runs], with runs defaulting to $1.
bench_arguments() {
  local default_runs=$1; shift
  cli=$(realpath "${1:-build/default/src/cli/pictor-cli}")
  runs=${2:-$default_runs}
  [ -x "$cli" ] || { echo "no $cli: run 'make build' first" >&2; exit 1; }
}

# build, runs, pictor and cli from a window bench's arguments: [build folder] [runs].
bench_window_arguments() {
  build=$(realpath "${1:-build/default}")
  runs=${2:-3}
  pictor="$build/src/app/pictor"
  cli="$build/src/cli/pictor-cli"
  local program
  for program in "$pictor" "$cli"; do [ -x "$program" ] || { echo "no $program: build it first" >&2; exit 1; }; done
}

# Drives the window `runs` times under Xvfb, each time on a fresh copy of source at $work/run, with the
# environment variable named variable set to that copy's path followed by target. The window prints
# "step seconds" lines; each step named after the first three arguments gathers its seconds, one a run
# ("nan" when missing), in seen[step].
bench_window_runs() {
  local source=$1 variable=$2 target=$3 run settings out step value
  shift 3
  declare -gA seen=()
  for run in $(seq "$runs"); do
    rm -rf "$work/run" && cp -r "$source" "$work/run"
    settings=$(mktemp -d)
    # Chromium refuses to run as root inside its sandbox.
    out=$(env QTWEBENGINE_DISABLE_SANDBOX=1 PICTOR_SETTINGS_DIR="$settings" "$variable=$work/run$target" \
          timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" "$pictor" 2>/dev/null || true)
    rm -rf "$settings"
    for step in "$@"; do
      value=$(awk -v s="$step" '$1 == s { print $2 }' <<< "$out")
      [ -n "$value" ] || { echo "run $run: no '$step' from the window" >&2; value=nan; }
      seen[$step]+="$value "
    done
  done
}

# The npm packages named, installed once into a cache folder outside the repository; sets cache.
bench_npm() {
  cache=${PICTOR_BENCH_CACHE:-$HOME/.cache/pictor-bench}
  mkdir -p "$cache"
  local p missing=()
  for p in "$@"; do [ -d "$cache/node_modules/${p%@[0-9]*}" ] || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] || (cd "$cache" && npm install --silent --no-audit --no-fund "${missing[@]}")
}

# ImageMagick's convert, installed from Debian when missing: it makes the benchmarks' pictures.
bench_imagemagick() {
  [ -x /usr/bin/convert ] && return
  local sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends imagemagick >/dev/null
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs a command with its output dropped and prints "seconds peak-KiB": the wall time to the microsecond
# (/usr/bin/time gives hundredths, a sixth of a 60 ms run) and the peak resident memory.
measure_run() {
  local memory start end
  memory=$(mktemp)
  start=$EPOCHREALTIME
  /usr/bin/time -f '%M' -o "$memory" "$@" > /dev/null 2>&1 || echo "failed: $*" >&2
  end=$EPOCHREALTIME
  echo "$(echo "$end - $start" | bc -l) $(tail -n 1 "$memory")"
  rm -f "$memory"
}

# How busy the machine is, for the closing note: load averages and the share of time tasks waited for a CPU.
machine_note() {
  local pressure=""
  [ -r /proc/pressure/cpu ] && pressure=", CPU pressure $(awk '/^some/ { sub("avg10=", "", $2); print $2 "%" }' /proc/pressure/cpu) (10 s)"
  echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)$pressure"
}
