#!/usr/bin/env bash
# The install tree holds the program, a manual page that renders cleanly, systemd units
# that systemd accepts and rates safe, and the Debian package holds what it should.
# Each check whose tool is missing says so and is passed over.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "$*"; exit 1; }
skip() { echo "$1 not installed: $2 not checked"; }

doc="$prefix/share/doc/fof1plot"
units="$prefix/lib/systemd/system"
for f in bin/fof1plot libexec/fof1plot/fof1plot-hapi share/man/man1/fof1plot.1.gz lib/sysusers.d/fof1plot.conf \
         lib/tmpfiles.d/fof1plot.conf; do
  [ -f "$prefix/$f" ] || fail "missing from the install tree: $f"
done
for f in README.md docs/operating.md gralvo.ini copyright changelog.gz NEWS.Debian.gz; do
  [ -f "$doc/$f" ] || fail "missing from the documentation: $f"
done
# Every relative link of the installed README finds its file.
for link in $(grep -o '](docs/[^)]*)' "$doc/README.md" | sed 's/^](//; s/)$//' | sort -u); do
  [ -f "$doc/$link" ] || fail "the installed README links to $link, which is not there"
done
all_units="fof1plot.service fof1plot.timer fof1plot@.service fof1plot@.timer fof1plot-live.timer
  fof1plot-live@.timer fof1plot-live.path fof1plot-live@.path fof1plot-network.service
  fof1plot-network.timer fof1plot-check.service fof1plot-check@.service fof1plot-full.service
  fof1plot-full@.service fof1plot-hapi.service fof1plot-hapi.socket"
for u in $all_units; do
  [ -f "$units/$u" ] || fail "missing unit: $u"
done
[ -x "$prefix/bin/fof1plot" ] || fail "bin/fof1plot is not executable"
# libgd is the system's, so that its security updates reach the program.
readelf -d "$prefix/bin/fof1plot" | grep -q 'NEEDED.*\[libgd\.so\.3\]' || fail "libgd is not linked dynamically"
for u in fof1plot.service fof1plot@.service; do
  grep -q "^ExecStart=$prefix/bin/fof1plot \$FOF1PLOT_OPTIONS\$" "$units/$u" ||
    fail "$u names another binary"
done
grep -q "^ExecStart=$prefix/bin/fof1plot --network /var/www/html/fof1-network \$FOF1PLOT_OPTIONS\$" \
  "$units/fof1plot-network.service" || fail "fof1plot-network.service names another binary"
cron="$prefix/etc/cron.d/fof1plot"
grep -q "^TZ=UTC" "$cron" || fail "the cron.d file does not set TZ=UTC"
guard='\[ -d /run/systemd/system \] \|\| \(cd /var/lib/fof1plot && flock '
grep -Eq "^45 23 \* \* \* +fof1plot +$guard-w 600 .* $prefix/bin/fof1plot --full\)\$" "$cron" ||
  fail "the daily cron.d line lacks its user field, its systemd guard, flock or --full"
grep -q '^OnCalendar=\*-\*-\* 23:45:00 UTC$' "$units/fof1plot.timer" || fail "timer not at 23:45 UTC"
grep -Eq "^#\*/5 \* \* \* \* +fof1plot +$guard-n .* $prefix/bin/fof1plot\)\$" "$cron" ||
  fail "the cron.d file lacks its commented five-minute line"
# The live units start the services every five minutes or on a new sample; a hung run
# must time out before the next one is due.
for t in fof1plot-live.timer fof1plot-live@.timer; do
  grep -q '^OnCalendar=\*:00/5$' "$units/$t" || fail "$t is not every five minutes"
done
grep -q '^Unit=fof1plot@%i.service$' "$units/fof1plot-live@.path" || fail "the template path unit"
for u in fof1plot.service fof1plot@.service fof1plot-network.service; do
  minutes=$(sed -n 's/^TimeoutStartSec=\([0-9]*\)min$/\1/p' "$units/$u")
  [ -n "$minutes" ] && [ "$minutes" -lt 5 ] || fail "$u may run past the live interval"
done
grep -q '^WorkingDirectory=/var/lib/fof1plot/%i$' "$units/fof1plot@.service" || fail "template"
# Each unit reads each of its environment files: one file a line.
for u in fof1plot@.service fof1plot-check@.service; do
  for f in /etc/default/fof1plot /etc/default/fof1plot-%i; do
    grep -qx "EnvironmentFile=-$f" "$units/$u" || fail "$u does not read $f on a line of its own"
  done
done
# The check and full units are their services with --check or --full: the same sandbox
# and options. The daily timers start the full ones.
for u in fof1plot fof1plot@; do
  for o in check full; do
    diff <(grep -v '^Description=' "$units/$u.service" | sed "s|=$prefix/bin/fof1plot |=$prefix/bin/fof1plot --$o |") \
      <(grep -v '^Description=' "$units/${u/fof1plot/fof1plot-$o}.service") >/dev/null ||
      fail "${u/fof1plot/fof1plot-$o}.service is not $u.service running --$o"
  done
done
grep -qx 'Unit=fof1plot-full.service' "$units/fof1plot.timer" || fail "the daily timer is no full pass"
grep -qx 'Unit=fof1plot-full@%i.service' "$units/fof1plot@.timer" || fail "the template's daily timer"

# The alert rules the README and the guide show are rules Prometheus accepts.
if command -v promtool >/dev/null; then
  for d in "$doc/README.md" "$doc/docs/operating.md"; do
    { printf 'groups:\n  - name: fof1plot\n    rules:\n'
      awk '/^```yaml$/ {y = 1; next} /^```$/ {y = 0} y {print "      " $0}' "$d"; } >"$prefix/rules.yml"
    grep -q "alert: IonosondeSilent" "$prefix/rules.yml" || fail "$d shows no silence alert"
    promtool check rules "$prefix/rules.yml" >/dev/null || fail "promtool: the alerts of $d"
  done
  # The guide's network alerts tell a stale copy from a silent instrument.
  sed "s|RULES|$prefix/rules.yml|" "$(dirname "$0")/../monitoring/network_alerts_test.yml" \
    >"$prefix/alerts_test.yml"
  promtool test rules "$prefix/alerts_test.yml" >"$prefix/alerts_test.out" 2>&1 ||
    fail "promtool test rules: $(cat "$prefix/alerts_test.out")"
else skip promtool "the documented alerts"; fi

man="$prefix/man1.tmp"
mkdir -p "$man" && gzip -dc "$prefix/share/man/man1/fof1plot.1.gz" >"$man/fof1plot.1"
grep -q "fof1plot $("$prefix/bin/fof1plot" --version | cut -d' ' -f2)" "$man/fof1plot.1" ||
  fail "the manual page carries another version"
if command -v groff >/dev/null; then
  warnings="$(groff -man -t -Tutf8 -ww -z "$man/fof1plot.1" 2>&1)"
  [ -z "$warnings" ] || fail "groff: $warnings"
else skip groff "manual page rendering"; fi
if command -v mandoc >/dev/null; then
  mandoc -Tlint "$man/fof1plot.1" || fail "mandoc -Tlint reports the manual page"
else skip mandoc "manual page lint"; fi

if command -v systemd-analyze >/dev/null; then
  checked="$prefix/units" && mkdir -p "$checked" && cp "$units"/* "$checked/"
  for u in fof1plot@.service fof1plot@.timer fof1plot-live@.timer fof1plot-live@.path \
           fof1plot-check@.service fof1plot-full@.service; do
    cp "$units/$u" "$checked/${u/@/@rome}"
  done
  complaints=$(cd "$checked" && MANPATH="$prefix/share/man" systemd-analyze verify \
    ./fof1plot.service ./fof1plot.timer ./fof1plot@rome.service ./fof1plot@rome.timer \
    ./fof1plot-live.timer ./fof1plot-live.path ./fof1plot-live@rome.timer \
    ./fof1plot-live@rome.path ./fof1plot-network.service ./fof1plot-network.timer \
    ./fof1plot-check.service ./fof1plot-check@rome.service ./fof1plot-full.service \
    ./fof1plot-full@rome.service ./fof1plot-hapi.socket ./fof1plot-hapi.service 2>&1) ||
    fail "systemd-analyze verify: $complaints"
  [ -z "$complaints" ] || fail "systemd-analyze verify: $complaints"
  for u in fof1plot.service fof1plot@rome.service fof1plot-network.service \
           fof1plot-check.service fof1plot-hapi.service; do
    exposure=$(cd "$checked" && systemd-analyze security --offline=yes "./$u" 2>/dev/null |
      awk '/Overall exposure level/ {print $(NF-2)}')
    awk -v e="$exposure" 'BEGIN {exit !(e != "" && e <= 0.5)}' || fail "$u exposure $exposure > 0.5"
    echo "$u exposure $exposure"
  done
else skip systemd-analyze "units"; fi

# Every system call a run makes (daily, back-fill, check, network, HAPI) is one the services'
# filter allows.
expand() {
  systemd-analyze syscall-filter "$1" | sed -n '2,$p' | sed 's/^ *//' | grep -v '^#' |
    while read -r name; do
      case "$name" in "") ;; @*) expand "$name" ;; *) echo "$name" ;; esac
    done
}
if grep -q fsanitize "$build/CMakeCache.txt"; then
  echo "a sanitizer build: its runtime's own system calls are not the program's; filter not checked"
elif command -v strace >/dev/null && command -v systemd-analyze >/dev/null; then
  tree="$prefix/tree"
  "$build/fof1plot_demo_station" "$tree" >/dev/null
  (cd "$tree" && export TZ=UTC &&
    strace -f -qq -o "$prefix/trace" "$prefix/bin/fof1plot" --site --metrics m.prom &&
    strace -f -qq -o "$prefix/trace.archive" "$prefix/bin/fof1plot" --site \
      --archive "$(date -d '-3 days' +%F)" "$(date +%F)" &&
    strace -f -qq -o "$prefix/trace.check" "$prefix/bin/fof1plot" --check >/dev/null &&
    mkdir -p "$prefix/net" && cp -r out "$prefix/net/demo" &&
    strace -f -qq -o "$prefix/trace.network" "$prefix/bin/fof1plot" --network "$prefix/net" \
      --metrics "$prefix/net.prom" &&
    for q in "/catalog depth=all" "/data dataset=foF1&start=$(date -d '-3 days' +%F)&stop=$(date -d tomorrow +%F)"; do
      strace -f -qq -o "$prefix/trace.hapi.${q:1:4}" -- env GATEWAY_INTERFACE=CGI/1.1 \
        REQUEST_METHOD=GET PATH_INFO="${q%% *}" QUERY_STRING="${q#* }" \
        FOF1PLOT_HAPI_SITE="$tree/out" "$prefix/libexec/fof1plot/fof1plot-hapi" >"$prefix/hapi.out" &&
        grep -q '^Status: 200 ' "$prefix/hapi.out" || exit 1
    done) ||
    fail "the runs under strace failed"
  sed -E 's/^[0-9]+ +//; s/\(.*//' "$prefix"/trace* | grep -E '^[a-z_0-9]+$' | sort -u >"$prefix/used"
  grep -qx openat "$prefix/used" || fail "strace saw no system calls"
  expand @system-service | sort -u >"$prefix/allowed"
  { expand @privileged; expand @resources; } | sort -u >"$prefix/denied"
  # libnuma, which libgd's codecs load, tries set_mempolicy once at load; refused (EPERM),
  # it carries on with the default policy.
  outside=$({ comm -23 "$prefix/used" "$prefix/allowed"; comm -12 "$prefix/used" "$prefix/denied"; } |
    grep -vx set_mempolicy || true)
  [ -z "$outside" ] || fail "system calls the service's filter refuses: $outside"
else skip strace "the system call filter"; fi

# The Debian package.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null; then
  (cd "$build" && cpack -G DEB -B "$prefix/package" >/dev/null)
  deb="$prefix/package/fof1plot_$("$prefix/bin/fof1plot" --version | cut -d' ' -f2)_amd64.deb"
  [ -f "$deb" ] || fail "cpack made no $deb"
  contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
  for f in ./usr/bin/fof1plot ./usr/share/man/man1/fof1plot.1.gz \
           ./usr/share/doc/fof1plot/copyright ./usr/share/doc/fof1plot/README.md \
           ./usr/share/doc/fof1plot/docs/operating.md ./usr/share/doc/fof1plot/gralvo.ini \
           ./etc/cron.d/fof1plot ./etc/default/fof1plot \
           ./usr/share/doc/fof1plot/NEWS.Debian.gz \
           ./usr/lib/systemd/system/fof1plot.service ./usr/lib/systemd/system/fof1plot.timer \
           ./usr/lib/systemd/system/fof1plot@.service ./usr/lib/systemd/system/fof1plot@.timer \
           ./usr/lib/systemd/system/fof1plot-live.timer ./usr/lib/systemd/system/fof1plot-live.path \
           ./usr/lib/systemd/system/fof1plot-live@.timer \
           ./usr/lib/systemd/system/fof1plot-live@.path \
           ./usr/lib/systemd/system/fof1plot-network.service \
           ./usr/lib/systemd/system/fof1plot-network.timer \
           ./usr/lib/systemd/system/fof1plot-check.service \
           ./usr/lib/systemd/system/fof1plot-check@.service \
           ./usr/libexec/fof1plot/fof1plot-hapi ./usr/lib/systemd/system/fof1plot-hapi.service \
           ./usr/lib/systemd/system/fof1plot-hapi.socket \
           ./usr/lib/sysusers.d/fof1plot.conf ./usr/lib/tmpfiles.d/fof1plot.conf; do
    grep -qxF "$f" <<<"$contents" || fail "the package lacks $f"
  done
  dpkg-deb -f "$deb" Depends | grep -q 'libgd3 (>=' || fail "the package does not depend on libgd3"
  [ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles)" = "$(printf '/etc/default/fof1plot\n/etc/cron.d/fof1plot')" ] ||
    fail "the package's conffiles"
  if ! command -v lintian >/dev/null; then
    skip lintian "the package's policy"
  elif grep -q fsanitize "$build/CMakeCache.txt"; then
    # A sanitized debug build is built without _FORTIFY_SOURCE and is not what ships.
    echo "a sanitizer build: lintian checks its package for errors only"
    errors=$(lintian "$deb" 2>/dev/null | grep '^E:' || true)
    [ -z "$errors" ] || fail "lintian: $errors"
  else
    tags=$(lintian --pedantic -I -E "$deb" 2>/dev/null || true)
    [ -z "$tags" ] || fail "lintian --pedantic: $tags"
  fi
else skip "cpack or dpkg-deb" "the package"; fi
echo "install: clean"
