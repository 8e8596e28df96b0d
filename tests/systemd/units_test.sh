#!/usr/bin/env bash
# The installed units in a real systemd user manager, as the guide sets them up: both
# environment files reach the program, the timers and the path unit start runs, a burst
# of samples leaves no unit failed, the check unit sees the sandbox a shell does not,
# the HAPI socket unit serves nginx, and node_exporter serves the metrics of two
# stations apart.
#
# The manager runs in a mount namespace of its own, where /etc/default, /var/lib,
# /var/www, /opt and /srv are empty tmpfs and /run/systemd/system exists, so that the
# units' own paths are used without touching the machine's. It runs as root and starts
# the units with their User=fof1plot (the package's sysusers line creates the user).
# What a user manager cannot give is switched off by a drop-in and named below; so are
# the two other drop-ins: the timers fire every few seconds, and the template's work
# directory is named in ReadWritePaths= (a user manager puts StateDirectory= under
# $XDG_STATE_HOME).
set -euo pipefail
build="$(cd "$1" && pwd)"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
fail() { echo "units: $*"; exit 1; }
for tool in /lib/systemd/systemd systemctl systemd-run nsenter unshare prometheus-node-exporter \
            curl promtool systemd-sysusers setfacl; do
  command -v "$tool" >/dev/null || fail "$tool is missing: the units cannot be tested"
done
[ "$(id -u)" -eq 0 ] || fail "the test needs root, for its mount namespace"

scratch="$(mktemp -d)"
export XDG_RUNTIME_DIR="$scratch/run" XDG_CONFIG_HOME="$scratch/config"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
units="$XDG_CONFIG_HOME/systemd/user"
mkdir -p "$units" /run/systemd
manager=""
cleanup() {
  if [ -n "$manager" ]; then kill "$manager" 2>/dev/null || true; wait "$manager" 2>/dev/null || true; fi
  [ -f "$scratch/nginx.pid" ] && kill "$(cat "$scratch/nginx.pid")" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

systemd-sysusers "$source_dir/dist/fof1plot.sysusers"
unshare --mount --propagation private -- sh -c '
  set -e
  mount -t tmpfs tmpfs /run/systemd && mkdir /run/systemd/system
  mkdir -p /var/www
  for d in /etc/default /var/lib /var/www /opt /srv; do mount -t tmpfs -o mode=0755 tmpfs "$d"; done
  exec /lib/systemd/systemd --user' >"$scratch/manager.log" 2>&1 &
manager=$!
inside() { nsenter -t "$manager" -m -- "$@"; }
user() { systemctl --user "$@"; }
for _ in $(seq 50); do user is-system-running >/dev/null 2>&1 && break
  case "$(user is-system-running 2>/dev/null)" in running | degraded) break ;; esac; sleep 0.2; done
user show-environment >/dev/null 2>&1 || fail "the user manager did not start: $(cat "$scratch/manager.log")"
# Wait for the namespace's mounts before using them.
for _ in $(seq 50); do inside test -d /run/systemd/system && break; sleep 0.1; done

inside cmake --install "$build" --prefix /opt/fof1plot >/dev/null
cp /dev/null "$scratch/unused"
inside sh -c "cp /opt/fof1plot/lib/systemd/system/* '$units/'"

# Sandbox options the manager cannot apply on this machine, found by trying each.
unable=()
for option in $(grep -ho '^[A-Za-z]*=yes$\|^ProtectSystem=strict$\|^ProtectProc=invisible$' \
                "$source_dir/dist/sandbox.conf"); do
  systemd-run --user --wait --quiet -p "$option" true >/dev/null 2>&1 || unable+=("$option")
done
echo "units: switched off, as this machine's user manager cannot apply them: ${unable[*]:-none}"
for u in fof1plot.service fof1plot@.service fof1plot-check.service fof1plot-check@.service \
         fof1plot-full.service fof1plot-full@.service; do
  mkdir -p "$units/$u.d"
  { echo "[Service]"; for o in "${unable[@]}"; do echo "${o%%=*}=no"; done
    if [[ $u == *@* ]]; then echo "StateDirectory="; echo "ReadWritePaths=/var/lib/fof1plot/%i"; fi
  } >"$units/$u.d/machine.conf"
done
for t in fof1plot@.timer fof1plot-live@.timer; do
  mkdir -p "$units/$t.d"
  printf '[Timer]\nOnCalendar=\nOnCalendar=*:*:0/4\nAccuracySec=1s\nPersistent=false\n' \
    >"$units/$t.d/soon.conf"
done
mkdir -p "$units/fof1plot-live@.path.d"
printf '[Path]\nPathChanged=\nPathChanged=/srv/samples/%%i/\n' >"$units/fof1plot-live@.path.d/samples.conf"
user daemon-reload

# Stations as the guide sets up a second one, with demo samples of today.
today="$(date -u +%F)"
inside install -d -m 0755 /var/lib/prometheus/node-exporter
# As the package's postinst does where prometheus-node-exporter is installed.
inside setfacl -m u:fof1plot:rwx /var/lib/prometheus/node-exporter
station() {  # name kind [hh:mm]
  inside install -d -o fof1plot -g fof1plot /var/lib/fof1plot/$1 \
    /var/lib/fof1plot/$1/previous_foF1_plots /var/www/html/fof1/$1
  inside mkdir -p /srv/demo
  inside "$build/fof1plot_demo_station" "/srv/demo/$1" "$today" 6 "${3:-23:59}" "$2" >/dev/null
  inside sh -c "mkdir -p /srv/samples && mv /srv/demo/$1/data /srv/samples/$1 &&
    cp /srv/demo/$1/work/*.txt /var/lib/fof1plot/$1/ &&
    printf 'work\n/var/lib/fof1plot/$1/\nsamples\n/srv/samples/$1/\noutput\n/var/www/html/fof1/$1/\n' \
      >/var/lib/fof1plot/$1/gralvo.ini"
}
station rome Rome
station gibi Gibi
station tucu Tucu
station bad Rome
inside sed -i 's|^/var/www/html/fof1/bad/$|/var/lib/elsewhere/|' /var/lib/fof1plot/bad/gralvo.ini
inside install -d -o fof1plot -g fof1plot /var/lib/elsewhere
inside sh -c 'echo "FOF1PLOT_OPTIONS=--site" >/etc/default/fof1plot
  echo "FOF1PLOT_OPTIONS=--site --full --metrics /var/lib/prometheus/node-exporter/fof1plot-rome.prom" \
    >/etc/default/fof1plot-rome
  echo "FOF1PLOT_OPTIONS=--metrics /var/lib/prometheus/node-exporter/fof1plot-gibi.prom" \
    >/etc/default/fof1plot-gibi'

# The check unit sees the sandbox; a check typed at a shell cannot.
inside sh -c 'cd /var/lib/fof1plot/bad && runuser -u fof1plot -- env TZ=UTC /opt/fof1plot/bin/fof1plot --check' \
  >"$scratch/shell.check" || fail "the check outside the sandbox failed: $(cat "$scratch/shell.check")"
for u in bad rome; do
  mkdir -p "$units/fof1plot-check@$u.service.d"
  printf '[Service]\nStandardOutput=file:/var/lib/check-%s.log\n' "$u" \
    >"$units/fof1plot-check@$u.service.d/log.conf"
done
user daemon-reload
user start fof1plot-check@rome.service || fail "the check unit fails for a good station: $(inside cat /var/lib/check-rome.log)"
if user start fof1plot-check@bad.service 2>/dev/null; then
  fail "the check unit accepts an output directory outside ReadWritePaths="
fi
inside grep -q "^error: fof1plot cannot write /var/lib/elsewhere/: Read-only file system" /var/lib/check-bad.log ||
  fail "the check unit does not say why: $(inside cat /var/lib/check-bad.log)"
inside grep -q "^ok: checked in a systemd service" /var/lib/check-bad.log || fail "the check unit's first line"

# Each instance reads both environment files, its own winning.
user start fof1plot@tucu.service || fail "fof1plot@tucu.service failed"
inside test -f /var/www/html/fof1/tucu/index.html || fail "tucu: /etc/default/fof1plot's --site did not reach the run"

# A burst of 20 samples in 10 s: runs from the path unit, and no unit failed. The samples
# are of earlier hours, which only a full pass reads (--full in rome's options).
inside sh -c 'mkdir -p /srv/burst && mv /srv/samples/rome/RM041_'"$(date -u +%Y%j)"'[01][6-9]* /srv/burst/'
user enable --now fof1plot-live@rome.path >/dev/null 2>&1 || fail "the path unit does not start"
burst=$(inside sh -c 'ls /srv/burst | sort | head -20')
[ "$(echo "$burst" | wc -l)" -eq 20 ] || fail "the demo station has no 20 samples to send"
for name in $burst; do inside mv "/srv/burst/$name" /srv/samples/rome/; sleep 0.5; done
sleep 2
for u in fof1plot-live@rome.path fof1plot@rome.service; do
  ! user is-failed --quiet "$u" || fail "$u failed after a burst: $(user status "$u" 2>&1 | tail -5)"
done
[ "$(user show -p ActiveState --value fof1plot-live@rome.path)" = active ] || fail "the path unit stopped"
inside test -f /var/www/html/fof1/rome/index.html || fail "rome: its own options (--site) did not reach the run"
rows=$(inside sh -c 'tail -n +2 /var/www/html/fof1/rome/plotfoF16.csv | wc -l')
drawn=$(echo "$burst" | while read -r n; do
  inside grep -c "^${today}T${n:13:2}:${n:15:2}:00Z," /var/www/html/fof1/rome/plotfoF16.csv || true
done | grep -c '^1$' || true)
[ "$drawn" -ge 10 ] || fail "the path unit's runs drew $drawn of the 20 samples (today's rows: $rows)"
echo "units: a burst of 20 samples in 10 s: $drawn drawn by the path unit's runs, no unit failed"

# The timers start their services: the daily one a full pass.
user start fof1plot@gibi.timer fof1plot-live@rome.timer
before=$(inside stat -c %Y /var/www/html/fof1/rome/status.json)
for _ in $(seq 60); do
  inside test -f /var/lib/prometheus/node-exporter/fof1plot-gibi.prom &&
    [ "$(inside stat -c %Y /var/www/html/fof1/rome/status.json)" != "$before" ] && break
  sleep 0.5
done
inside test -f /var/lib/prometheus/node-exporter/fof1plot-gibi.prom || fail "fof1plot@gibi.timer started no run"
[ -n "$(user show -p ExecMainStartTimestamp --value fof1plot-full@gibi.service)" ] ||
  fail "fof1plot@gibi.timer started no full pass"
[ "$(inside stat -c %Y /var/www/html/fof1/rome/status.json)" != "$before" ] || fail "fof1plot-live@rome.timer started no run"
! inside test -f /var/www/html/fof1/gibi/index.html || fail "gibi: /etc/default/fof1plot-gibi did not win"
user stop fof1plot@gibi.timer fof1plot-live@rome.timer fof1plot-live@rome.path

# The HAPI socket unit, enabled as the guide says, starts fcgiwrap, sandboxed and as
# fof1plot, for nginx with the guide's lines (pointed at rome's site and the installed
# program); the socket is in the manager's /run, which nginx, here outside its
# namespace, shares.
mkdir -p "$units/fof1plot-hapi.service.d"
{ echo "[Service]"; for o in "${unable[@]}"; do echo "${o%%=*}=no"; done; } \
  >"$units/fof1plot-hapi.service.d/machine.conf"
user daemon-reload
user enable --now fof1plot-hapi.socket >/dev/null 2>&1 || fail "fof1plot-hapi.socket does not start"
hapi_port=$((20000 + RANDOM % 20000))
awk '/^## The archive through HAPI/ {s = 1} s && /^```nginx$/ {b++; next} s && /^```$/ {if (b == 1) exit}
     s && b == 1 {print}' "$source_dir/docs/operating.md" |
  sed "s|/usr/libexec/|/opt/fof1plot/libexec/|; s|/var/www/html/fof1;|/var/www/html/fof1/rome;|" \
  >"$scratch/hapi.block"
grep -q 'unix:/run/fof1plot-hapi.sock' "$scratch/hapi.block" || fail "the guide's HAPI block names another socket"
cat >"$scratch/nginx.conf" <<CONF
daemon on; user www-data; pid $scratch/nginx.pid; error_log $scratch/nginx.log;
events {}
http {
  access_log off;
  fastcgi_temp_path $scratch/nginx-fastcgi; client_body_temp_path $scratch/nginx-body;
  server {
    listen 127.0.0.1:$hapi_port;
$(sed 's|include fastcgi_params;|include /etc/nginx/fastcgi_params;|' "$scratch/hapi.block")
  }
}
CONF
nginx -c "$scratch/nginx.conf" || fail "nginx refuses the guide's HAPI lines: $(cat "$scratch/nginx.log")"
hapi="http://127.0.0.1:$hapi_port/fof1/hapi"
for _ in $(seq 50); do curl -fs -o /dev/null "$hapi/capabilities" && break; sleep 0.2; done
curl -fsS "$hapi/data?dataset=foF1&start=$today&stop=$(date -u -d tomorrow +%F)" >"$scratch/hapi.csv" ||
  fail "HAPI through the socket unit: $(cat "$scratch/nginx.log"; user status fof1plot-hapi.service 2>&1 | tail -5)"
inside sh -c 'tail -n +2 /var/www/html/fof1/rome/plotfoF16.csv | cut -d, -f1' >"$scratch/rome.times"
cut -d, -f1 "$scratch/hapi.csv" | cmp -s - "$scratch/rome.times" ||
  fail "HAPI through the socket unit does not give today's soundings"
[ "$(user show -p User --value fof1plot-hapi.service)" = fof1plot ] || fail "fcgiwrap does not run as fof1plot"
kill "$(cat "$scratch/nginx.pid")"
user disable --now fof1plot-hapi.socket >/dev/null 2>&1
user stop fof1plot-hapi.service
rm -f /run/fof1plot-hapi.sock
echo "units: HAPI through nginx and the socket unit: $(wc -l <"$scratch/hapi.csv") soundings of today"

# node_exporter serves both stations' series apart, and promtool accepts them.
port=$((20000 + RANDOM % 20000))
systemd-run --user --unit=fof1plot-test-node-exporter --quiet prometheus-node-exporter \
  --web.listen-address="127.0.0.1:$port" --collector.disable-defaults --collector.textfile \
  --collector.textfile.directory=/var/lib/prometheus/node-exporter
for _ in $(seq 50); do curl -fsS "http://127.0.0.1:$port/metrics" >"$scratch/scrape" 2>/dev/null && break; sleep 0.2; done
for s in rome gibi; do
  grep -q "^fof1plot_run_success{station=\"$s\"} 1$" "$scratch/scrape" ||
    fail "node_exporter serves no successful run of $s: $(grep fof1plot_run_success "$scratch/scrape")"
done
grep -q '^node_textfile_scrape_error 0$' "$scratch/scrape" || fail "node_exporter could not read a metrics file"
grep -E '^(# (HELP|TYPE) )?fof1plot_' "$scratch/scrape" | promtool check metrics ||
  fail "promtool refuses the scraped series"
user stop fof1plot-test-node-exporter
echo "units: clean"
