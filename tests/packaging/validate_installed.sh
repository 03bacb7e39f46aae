#!/usr/bin/env bash
# Installs the build into a scratch root and validates the desktop entry and
# the AppStream metadata where a desktop would find them, and the batch
# program, the planner, the scores program and the crossover program, each with a man page that
# man reads without a warning.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
share="$root/usr/share"
test -x "$root/usr/bin/tarnwick"
grep -q "SIL OPEN FONT LICENSE" "$share/doc/tarnwick/LiberationSans-OFL.txt"
test -x "$root/usr/bin/tarnwick-batch"
man --warnings -l "$share/man/man1/tarnwick-batch.1"* >/dev/null
test -x "$root/usr/bin/tarnwick-plan"
man --warnings -l "$share/man/man1/tarnwick-plan.1"* >/dev/null
test -x "$root/usr/bin/tarnwick-scores"
man --warnings -l "$share/man/man1/tarnwick-scores.1"* >/dev/null
test -x "$root/usr/bin/tarnwick-crossover"
man --warnings -l "$share/man/man1/tarnwick-crossover.1"* >/dev/null
test -f "$share/icons/hicolor/scalable/apps/example.quindle.Tarnwick.svg"
for size in 16 32 48 64 128 256; do
  file "$share/icons/hicolor/${size}x${size}/apps/example.quindle.Tarnwick.png" | grep -q "PNG image data, $size x $size"
done
desktop-file-validate "$share/applications/example.quindle.Tarnwick.desktop"
appstreamcli validate --no-net "$share/metainfo/example.quindle.Tarnwick.metainfo.xml"
