#!/usr/bin/env bash
# The Debian package as an administrator meets it, in a throwaway root (an overlay of
# this machine's, so that its libraries are there): a 1.2.0 install set up by an
# operator, the upgrade to this version, removal and purge, each checked for what it
# must change and what it must leave alone.
set -euo pipefail
build="$(cd "$1" && pwd)"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
fail() { echo "package: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "the test needs root, for its throwaway root"
for tool in cpack dpkg-deb unshare chroot git; do
  command -v "$tool" >/dev/null || fail "$tool is missing: the package cannot be tested"
done
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# 1.2.0, built from its commit once and kept in the build directory.
old="$build/package-1.2.0/fof1plot_1.2.0_amd64.deb"
if [ ! -f "$old" ]; then
  tree="$build/package-1.2.0/source"
  rm -rf "$build/package-1.2.0" && mkdir -p "$build/package-1.2.0"
  git -C "$source_dir" archive --prefix=source/ 1fc65ce | tar -x -C "$build/package-1.2.0"
  cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release -DFOF1PLOT_TESTS=OFF >/dev/null
  cmake --build "$tree/build" -j"$(nproc)" --target fof1plot compressed_pages >/dev/null
  (cd "$tree/build" && cpack -G DEB -B "$build/package-1.2.0" >/dev/null)
  [ -f "$old" ] || fail "1.2.0 built no package"
fi
(cd "$build" && cpack -G DEB -B "$scratch/new" >/dev/null)
new="$(ls "$scratch"/new/fof1plot_*_amd64.deb)"
version="$(dpkg-deb -f "$new" Version)"

mkdir -p "$scratch"/{upper,work,root}
cp "$old" "$scratch/upper/old.deb" && cp "$new" "$scratch/upper/new.deb"
cat >"$scratch/upper/steps.sh" <<STEPS
#!/bin/sh
set -eu
fail() { echo "package: \$*"; exit 1; }
export DEBIAN_FRONTEND=noninteractive
links() { find /etc/systemd/system -name 'fof1plot*' -type l | sort | tr '\n' ' '; }

dpkg -i /old.deb >/old.out
# The operator's set-up: options, an archive, a site, a group-writable work directory for
# the forecasts, and the timers enabled, a station's instance among them.
echo 'FOF1PLOT_OPTIONS=--site' >/etc/default/fof1plot
echo 'a figure' >/var/lib/fof1plot/previous_foF1_plots/2025001.gif
chgrp staff /var/lib/fof1plot && chmod 2775 /var/lib/fof1plot
install -d /var/www/html/fof1 && echo page >/var/www/html/fof1/index.html
systemctl enable fof1plot.timer fof1plot@rome.timer 2>/dev/null
[ -n "\$(links)" ] || fail "the timers could not be enabled"

dpkg --force-confold -i /new.deb >/upgrade.out 2>&1 || { cat /upgrade.out; fail "the upgrade failed"; }
grep -q "upgraded from 1.2.0" /upgrade.out || fail "the upgrade does not say what changed: \$(cat /upgrade.out)"
! grep -q "put gralvo.ini" /upgrade.out || fail "the upgrade prints the install text"
[ "\$(/usr/bin/fof1plot --version)" = "fof1plot $version" ] || fail "the new program is not installed"
[ "\$(stat -c '%a %U %G' /var/lib/fof1plot)" = "2775 fof1plot staff" ] ||
  fail "the upgrade reset the work directory: \$(stat -c '%a %U %G' /var/lib/fof1plot)"
[ "\$(cat /etc/default/fof1plot)" = "FOF1PLOT_OPTIONS=--site" ] || fail "the operator's options were replaced"
dpkg-query -W -f='\${Conffiles}\n' fof1plot | grep -q ' /etc/default/fof1plot ' || fail "no conffile /etc/default/fof1plot"
dpkg-query -W -f='\${Conffiles}\n' fof1plot | grep -q ' /etc/cron.d/fof1plot ' || fail "no conffile /etc/cron.d/fof1plot"
[ -n "\$(links)" ] || fail "the upgrade disabled the timers"
if [ -d /var/lib/prometheus/node-exporter ]; then
  runuser -u fof1plot -- touch /var/lib/prometheus/node-exporter/fof1plot.prom ||
    fail "the user fof1plot cannot write node_exporter's textfile directory"
  rm /var/lib/prometheus/node-exporter/fof1plot.prom
fi

dpkg -r fof1plot >/dev/null
[ -z "\$(links)" ] || fail "removal left the units enabled: \$(links)"
[ ! -e /usr/bin/fof1plot ] || fail "removal left the program"
[ -f /etc/default/fof1plot ] || fail "removal took the operator's options"
[ -f /var/lib/fof1plot/previous_foF1_plots/2025001.gif ] || fail "removal took the archive"

dpkg -P fof1plot >/dev/null
for f in /etc/default/fof1plot /etc/cron.d/fof1plot; do [ ! -e "\$f" ] || fail "purge left \$f"; done
[ "\$(cat /var/lib/fof1plot/previous_foF1_plots/2025001.gif)" = "a figure" ] || fail "purge took the archive"
[ "\$(cat /var/www/html/fof1/index.html)" = page ] || fail "purge took the site"
if command -v getfacl >/dev/null && [ -d /var/lib/prometheus/node-exporter ]; then
  ! getfacl -p /var/lib/prometheus/node-exporter 2>/dev/null | grep -q '^user:fof1plot:' ||
    fail "purge left the ACL entry on node_exporter's directory"
fi

# A new install on a machine that never had it: the install text, and the directories.
rm -rf /var/lib/fof1plot
dpkg -i /new.deb >/install.out
grep -q "put gralvo.ini" /install.out || fail "a new install does not say what to do"
[ "\$(stat -c '%a %U' /var/lib/fof1plot/previous_foF1_plots)" = "755 fof1plot" ] || fail "a new install's archive folder"
dpkg -P fof1plot >/dev/null
[ ! -e /var/lib/fof1plot ] || fail "purge left the empty work directory it made"
echo "package: 1.2.0 set up, upgraded to $version, removed, purged and installed anew: clean"
STEPS
chmod +x "$scratch/upper/steps.sh"
unshare --mount --propagation private -- sh -c "
  mount -t overlay overlay -o lowerdir=/,upperdir='$scratch/upper',workdir='$scratch/work' '$scratch/root' &&
  mount -t proc proc '$scratch/root/proc' && mount --rbind /dev '$scratch/root/dev' &&
  mount -t tmpfs tmpfs '$scratch/root/run' &&
  exec chroot '$scratch/root' sh ${PACKAGE_TEST_TRACE:+-x} /steps.sh"
