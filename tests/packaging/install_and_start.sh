#!/usr/bin/env bash
# Builds the Debian package, installs it with apt (which brings in whatever
# the package's dependencies name), and starts the installed program on Qt's
# offscreen platform: it must still be running after a few seconds, when the
# test closes it. It changes the machine it runs on, so it runs only where
# that is asked for: in CI (CI=true) or with TARNWICK_TEST_INSTALL=1, and as
# root; skipped (status 77) otherwise.
set -euo pipefail
build=$1
if [ "${CI:-}" != true ] && [ "${TARNWICK_TEST_INSTALL:-}" != 1 ]; then
  echo "installs Tarnwick system-wide: skipped unless CI=true or TARNWICK_TEST_INSTALL=1"
  exit 77
fi
[ "$(id -u)" -eq 0 ] || { echo "not root: skipped"; exit 77; }
cd "$build"
rm -f tarnwick_*.deb
cpack -G DEB >/dev/null
deb=$(ls tarnwick_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends"
grep -q 'libqt6svg6' <<<"$depends"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
test -x /usr/bin/tarnwick
status=0
QT_QPA_PLATFORM=offscreen timeout --preserve-status -s TERM 4 /usr/bin/tarnwick || status=$?
# 143: still running when TERM closed it, which is what a healthy start looks like.
[ "$status" -eq 143 ] || { echo "tarnwick exited by itself with status $status"; exit 1; }
