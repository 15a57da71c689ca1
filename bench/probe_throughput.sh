#!/usr/bin/env bash
# Whole-process speed of headless flights: `zarv-probe fly` on two light
# aircraft and on a 180-second rocket flight, for the probe at hand and for
# the probe of an older commit (by default the last one before the probe
# stopped loading the screen libraries), which this script builds itself in
# a scratch tree outside the repository. The two run alternately (ABBA) so that both see
# the same machine load; it prints the median wall time of each, the
# simulated seconds per wall-clock second and the speed-up, and says
# whether the two printed the same flight.
# Not a test: CI does not run it.
# Usage: bench/probe_throughput.sh [--runs N] [--base REV] [PROBE]
#   PROBE defaults to build/zarv-probe; the base's probe is kept in
#   PROBE's folder under probe-base/REV for the next run.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/.." && pwd)"
runs=21
base=1450280
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --base) base="$2"; shift 2 ;;
    -*) echo "usage: $0 [--runs N] [--base REV] [PROBE]" >&2; exit 2 ;;
    *) break ;;
  esac
done
probe="$(realpath "${1:-$repo/build/zarv-probe}")"
[ -x "$probe" ] || { echo "$0: no probe at $probe (build it first)" >&2; exit 1; }

rev="$(git -C "$repo" rev-parse --short "$base^{commit}")"
old="$(dirname "$probe")/probe-base/$rev/zarv-probe"
if [ ! -x "$old" ]; then
  scratch="$(mktemp -d)"
  trap 'rm -rf "$scratch"' EXIT
  echo "Building the probe of $rev in $scratch" >&2
  git -C "$repo" archive "$rev" | tar -x -C "$scratch"
  launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$scratch"
  fi
  cmake -S "$scratch" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARV_BENCH=OFF \
    "${launcher[@]}" >/dev/null
  cmake --build "$scratch/build" --target zarv-probe -j4 >/dev/null
  mkdir -p "$(dirname "$old")"
  cp "$scratch/build/zarv-probe" "$old"
fi

out="$(mktemp -d)"
trap 'rm -rf "$out" "${scratch:-}"' EXIT
flights=("$repo/tests/data/aircraft/Marden7.brd|" "$repo/tests/data/aircraft/Super ZarvⅣ.brd|"
         "$here/data/Rocket180.brd|--seconds 180")

# Wall time of one whole process in microseconds; its output goes to $2.
run() {
  local exe="$1" dest="$2" start end
  start=$EPOCHREALTIME
  # shellcheck disable=SC2086
  "$exe" fly "$file" $args >"$dest" 2>/dev/null
  end=$EPOCHREALTIME
  echo $((${end/./} - ${start/./}))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for flight in "${flights[@]}"; do
  file="${flight%%|*}"
  args="${flight#*|}"
  : >"$out/new.us"
  : >"$out/old.us"
  for ((i = 0; i < runs; i++)); do
    if ((i % 2 == 0)); then
      run "$probe" "$out/new.csv" >>"$out/new.us"
      run "$old" "$out/old.csv" >>"$out/old.us"
    else
      run "$old" "$out/old.csv" >>"$out/old.us"
      run "$probe" "$out/new.csv" >>"$out/new.us"
    fi
  done
  simulated=$(sed -n 's/.* time=\([0-9.]*\).*/\1/p' "$out/new.csv")
  same=$(cmp -s "$out/new.csv" "$out/old.csv" && echo "the same flight" || echo "THE FLIGHTS DIFFER")
  new_us=$(median <"$out/new.us")
  old_us=$(median <"$out/old.us")
  echo "$(basename "$file"), $simulated s simulated"
  for which in "this build|$new_us" "$rev|$old_us"; do
    awk -v probe="${which%%|*}" -v sim="$simulated" -v us="${which#*|}" \
      'BEGIN { printf "  %-12s %8.2f ms %8.0f x real time\n", probe, us / 1e3, sim / (us / 1e6) }'
  done
  awk -v a="$old_us" -v b="$new_us" -v n="$runs" -v same="$same" \
    'BEGIN { printf "  %.2f times as fast (medians of %d alternated runs each), %s\n", a / b, n, same }'
done
