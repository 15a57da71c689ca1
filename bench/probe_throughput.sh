#!/usr/bin/env bash
# Whole-process speed of headless flights: runs `zarv-probe fly` on a
# 180-second rocket flight and on a light aircraft, best of five, and prints
# simulated seconds per wall-clock second. Given two probes, runs them
# alternately so that both see the same machine load.
# Not a test: CI does not run it.
# Usage: bench/probe_throughput.sh build/zarv-probe [other/zarv-probe]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
probes=("$@")
[ ${#probes[@]} -ge 1 ] || { echo "usage: $0 PROBE [PROBE2]" >&2; exit 2; }
flights=("$here/data/Rocket180.brd|--seconds 180" "$here/../tests/data/aircraft/Super ZarvⅣ.brd|")
runs=5

now() { date +%s%N; }

for flight in "${flights[@]}"; do
  file="${flight%%|*}"
  args="${flight#*|}"
  declare -A best=()
  simulated=""
  for ((i = 0; i < runs; i++)); do
    for p in "${probes[@]}"; do
      start=$(now)
      # shellcheck disable=SC2086
      result=$("$p" fly "$file" $args 2>/dev/null | tail -n 1)
      ns=$(($(now) - start))
      simulated=$(sed -n 's/.* time=\([0-9.]*\).*/\1/p' <<<"$result")
      if [ -z "${best[$p]:-}" ] || [ "$ns" -lt "${best[$p]}" ]; then best[$p]=$ns; fi
    done
  done
  for p in "${probes[@]}"; do
    awk -v name="$(basename "$file")" -v probe="$p" -v sim="$simulated" -v ns="${best[$p]}" \
      'BEGIN { printf "%-22s %-40s %8.1f s simulated %8.2f ms wall %8.0f x real time\n",
               name, probe, sim, ns / 1e6, sim / (ns / 1e9) }'
  done
  unset best
done
