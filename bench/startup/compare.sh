#!/usr/bin/env bash
# Compares Tarnwick's start-up with two yardsticks built in the same tree with
# the same flags: a bare Qt window of the same size, and the floor, the main
# window's form in the calculator's look with no behaviour (form_window).
# All three run on the same virtual X display (black root, no window manager,
# never reset between clients), in turn, RUNS times each after one discarded
# warm-up run each, and are watched from outside by startup_probe:
# time to map the window, time until the first input box's pixel is painted
# (for the bare window: the same pixel of its background), and peak RSS.
# Prints the medians and the ratios Tarnwick / floor and Tarnwick / bare window.
# Usage: bench/startup/compare.sh [runs, default 30] [build folder, default build-bench]
# TARNWICK_BINARY names another build of the calculator to compare instead.
# The machine's other load shows in single runs; the medians of alternating
# runs are what to compare.
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-30}
build=${2:-build-bench}
display=${STARTUP_DISPLAY:-:57}
tarnwick=${TARNWICK_BINARY:-$build/desktop/tarnwick/tarnwick}
settle_ms=500
# The middle of TxtMean1, the first white box (1860, 360, 1575, 375 twips).
probe_x=176
probe_y=36

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_BENCH=ON >/dev/null
cmake --build "$build" --target tarnwick bare_window form_window startup_probe >/dev/null

Xvfb "$display" -screen 0 1280x800x24 -dpi 96 -br -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
scratch=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
unset QT_QPA_PLATFORM

probe() {  # program, output file
  "$build/bench/startup_probe" "$probe_x" "$probe_y" "$settle_ms" "$1" >>"$2"
}
probe "$tarnwick" /dev/null
probe "$build/bench/form_window" /dev/null
probe "$build/bench/bare_window" /dev/null
for _ in $(seq "$runs"); do
  probe "$tarnwick" "$scratch/tarnwick"
  probe "$build/bench/form_window" "$scratch/floor"
  probe "$build/bench/bare_window" "$scratch/bare"
done

python3 - "$scratch/tarnwick" "$scratch/floor" "$scratch/bare" "$runs" <<'PY'
import statistics, sys
def medians(path):
    rows = [list(map(float, line.split())) for line in open(path)]
    return [statistics.median(column) for column in zip(*rows)]
def spread(path):  # the interquartile range of each column
    rows = [list(map(float, line.split())) for line in open(path)]
    return [statistics.quantiles(column, n=4)[2] - statistics.quantiles(column, n=4)[0]
            for column in zip(*rows)]
ours, floor, bare = medians(sys.argv[1]), medians(sys.argv[2]), medians(sys.argv[3])
floor_spread = spread(sys.argv[2])
print(f"Medians of {sys.argv[4]} runs each, the three programs in turn")
print("| | Tarnwick | floor (form, no behaviour) | floor's IQR | bare window "
      "| Tarnwick / floor | Tarnwick / bare |")
print("|---|---|---|---|---|---|---|")
for name, unit, o, f, s, b in zip(("window mapped", "first box painted", "peak RSS"),
                                  ("ms", "ms", "MiB"), ours, floor, floor_spread, bare):
    scale = 1024 if unit == "MiB" else 1
    print(f"| {name} | {o / scale:.1f} {unit} | {f / scale:.1f} {unit} | {s / scale:.1f} {unit} "
          f"| {b / scale:.1f} {unit} | {o / f:.2f} | {o / b:.2f} |")
PY
