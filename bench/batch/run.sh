#!/usr/bin/env bash
# Speed and memory of tarnwick-batch on generated tables of 100,000 and
# 1,000,000 rows and on one of 200,000 rows half of which are matched (each
# then reports both designs, so two noncentral t intervals), made by
# bench/batch/generate.awk, and on one of 200,000 rows whose means differ by
# many SDs (generate_large_effects.awk: the noncentral t far out); one core,
# report included. Then the noncentral t intervals' distribution evaluations
# on the half-matched and the large-effects tables.
# Prints the Markdown section for docs/quality.md.
# Usage: bench/batch/run.sh [build folder, default build-bench-batch]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-bench-batch}
if [ ! -x "$build/command_line/tarnwick-batch/tarnwick-batch" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$build" --target tarnwick-batch >/dev/null
fi
cmake --build "$build" --target interval_effort >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "## Batch speed (tarnwick-batch)"
echo
build_type=$(grep -m1 '^CMAKE_BUILD_TYPE' "$build/CMakeCache.txt" | cut -d= -f2)
echo "\`bash bench/batch/run.sh\` ($build_type build) on $(nproc) CPUs ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'))," \
     "$(date -u +%Y-%m-%d), load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg)." \
     "Generated rows (mixed): 55% independent with Student's df, 20% with Welch's, 25% matched, of which" \
     "5% of all rows are refused for unequal sizes; half-matched: 50% matched (none refused), 13% independent with Welch's df, 37% with Student's;" \
     "large-effects: means uniform in (-50, 50), SDs in (0.5, 20), sizes 5 to 400, 25% matched, 20% Welch's df; CSV out, numbers as shown, the whole report included, progress off."
echo
echo "| Table | Rows | Input MB | Wall s | CPU s | Rows/s (CPU) | Peak memory MB | Exit |"
echo "|---|---|---|---|---|---|---|---|"
for table in mixed:100000 mixed:1000000 half-matched:200000 large-effects:200000; do
  kind=${table%%:*} rows=${table#*:} share=0.25 unequal=0.2
  if [ "$kind" = half-matched ]; then share=0.5 unequal=0; fi
  if [ "$kind" = large-effects ]; then
    awk -v rows="$rows" -v seed=7 -f bench/batch/generate_large_effects.awk >"$scratch/in.csv"
  else
    awk -v rows="$rows" -v seed=7 -v matched="$share" -v unequal="$unequal" \
      -f bench/batch/generate.awk >"$scratch/in.csv"
  fi
  [ "$kind" = half-matched ] && cp "$scratch/in.csv" "$scratch/half-matched.csv"
  status=0
  /usr/bin/time -v -o "$scratch/time.txt" "$build/command_line/tarnwick-batch/tarnwick-batch" -q -o "$scratch/out.csv" \
    "$scratch/in.csv" || status=$?
  field() { grep "$1" "$scratch/time.txt" | sed 's/.*: //'; }
  wall=$(field 'Elapsed (wall clock)' | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
  cpu=$(awk -v u="$(field 'User time')" -v s="$(field 'System time')" 'BEGIN { print u + s }')
  awk -v t="$kind" -v r="$rows" -v mb="$(stat -c %s "$scratch/in.csv")" -v w="$wall" -v c="$cpu" \
      -v kb="$(field 'Maximum resident set size')" -v x="$status" \
      'BEGIN { printf "| %s | %d | %.0f | %.1f | %.1f | %.0f | %.1f | %d |\n", t, r, mb / 1e6, w, c, r / c, kb / 1024, x }'
done
echo
echo "Noncentral t intervals on the half-matched table: $("$build/command_line/tarnwick-batch/interval_effort" "$scratch/half-matched.csv")."
echo
# The last table is the large-effects one.
echo "Noncentral t intervals on the large-effects table: $("$build/command_line/tarnwick-batch/interval_effort" "$scratch/in.csv")."
