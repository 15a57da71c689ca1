#!/usr/bin/env bash
# Records the reference listings and flights of tests/data/aircraft with a
# given zarv-probe. Only for a deliberate change of the flight model's
# results: the reference test exists to show that refactors change nothing.
# Usage: tests/data/record_reference.sh build/zarv-probe
set -euo pipefail
probe="$(realpath "$1")"
cd "$(dirname "$0")"
mkdir -p reference
for f in aircraft/*.brd; do
  stem="$(basename "$f" .brd)"
  "$probe" setup "$f" > "reference/$stem.setup"
  "$probe" outline "$f" > "reference/$stem.outline"
  "$probe" fly "$f" > "reference/$stem.fly"
done
for k in reference/steered/*.keys; do
  stem="$(basename "$k" .keys)"
  # The options are words without blanks or quotes.
  # shellcheck disable=SC2046
  "$probe" fly "aircraft/$stem.brd" $(cat "$k") > "reference/steered/$stem.fly"
done
