#!/usr/bin/env bash
# The install tree holds the program, a manual page that renders cleanly and systemd
# units that systemd accepts.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

doc="$prefix/share/doc/fof1plot"
for f in bin/fof1plot share/man/man1/fof1plot.1 share/doc/fof1plot/gralvo.ini \
         share/doc/fof1plot/fof1plot.service share/doc/fof1plot/fof1plot.timer \
         share/doc/fof1plot/crontab; do
  [ -f "$prefix/$f" ] || { echo "missing from the install tree: $f"; exit 1; }
done
[ -x "$prefix/bin/fof1plot" ] || { echo "bin/fof1plot is not executable"; exit 1; }
grep -q "ExecStart=$prefix/bin/fof1plot\$" "$doc/fof1plot.service" || { echo "service names another binary"; exit 1; }
grep -q "flock -n .* $prefix/bin/fof1plot\$" "$doc/crontab" || { echo "crontab line is not wrapped in flock"; exit 1; }

if command -v groff >/dev/null; then
  warnings="$(groff -man -Tutf8 -ww -z "$prefix/share/man/man1/fof1plot.1" 2>&1)"
  [ -z "$warnings" ] || { echo "manual page warnings: $warnings"; exit 1; }
else
  echo "groff not installed: manual page rendering not checked"
fi

if command -v systemd-analyze >/dev/null; then
  (cd "$doc" && MANPATH="$prefix/share/man" systemd-analyze verify ./fof1plot.service ./fof1plot.timer)
else
  echo "systemd-analyze not installed: units not checked"
fi
