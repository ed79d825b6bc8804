#!/bin/bash
# Search speed of the working tree against a commit, side by side on this machine: builds the
# commit in a temporary folder and the working tree in build/, runs both `kvtool bench`
# alternately three times, and prints each run, each median and the ratio (working tree over
# commit, in search steps per second of processor time; above 1 is faster).
# usage: bench/compare.sh [commit]   (default 866f1a1, main before the search was sped up)
set -euo pipefail
commit=${1:-866f1a1}
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-2}
base=$(mktemp -d)
trap 'rm -rf "$base"' EXIT

echo "building $commit in $base"
git -C "$root" archive "$commit" | tar -x -C "$base"
cmake -S "$base" -B "$base/build" -DCMAKE_BUILD_TYPE=Release -DKORVANE_TESTS=OFF >/dev/null
cmake --build "$base/build" -j "$jobs" --target kvtool >/dev/null
echo "building the working tree in $root/build"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j "$jobs" --target kvtool >/dev/null

# One bench run: prints its total line and wall time, and appends steps/s to the named list.
declare -a rates_base rates_work
run() {
  local label=$1 kvtool=$2 start end total
  start=$(date +%s.%N)
  total=$("$kvtool" bench | grep '^total')
  end=$(date +%s.%N)
  printf '%-12s %s (%s s wall)\n' "$label" "$total" "$(awk "BEGIN { printf \"%.1f\", $end - $start }")"
  local rate=${total##*: }
  rate=${rate% steps/s}
  if [ "$label" = "$commit" ]; then rates_base+=("$rate"); else rates_work+=("$rate"); fi
}

for round in 1 2 3; do
  run "$commit" "$base/build/kvtool"
  run "working" "$root/build/kvtool"
done

median() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
m_base=$(median "${rates_base[@]}")
m_work=$(median "${rates_work[@]}")
echo "median $commit: $m_base steps/s"
echo "median working tree: $m_work steps/s"
echo "ratio: $(awk "BEGIN { printf \"%.3f\", $m_work / $m_base }")"
