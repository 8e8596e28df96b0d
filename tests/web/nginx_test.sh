#!/usr/bin/env bash
# The guide's nginx lines, served by nginx: after a new sample, a browser's conditional
# request for today's archived SVG gets the new bytes; an unchanged file costs a 304;
# the front page is never stored and a figure asked for by its version is kept.
set -euo pipefail
build="$(cd "$1" && pwd)"
guide="$(cd "$(dirname "$0")/../.." && pwd)/docs/operating.md"
fail() { echo "nginx: $*"; exit 1; }
for tool in nginx curl; do command -v "$tool" >/dev/null || fail "$tool is missing"; done
scratch="$(mktemp -d)"
chmod 0755 "$scratch"
trap 'kill "$(cat "$scratch/nginx.pid" 2>/dev/null)" 2>/dev/null || true; rm -rf "$scratch"' EXIT

# The guide's two blocks of its web server section: the map, then the location.
awk -v out="$scratch/block" '/^## The web server/ {s = 1} /^## Monitoring/ {s = 0}
     s && /^```nginx$/ {b++; w = 1; next} s && /^```$/ {w = 0}
     s && w {print > (out b)}' "$guide"
[ -s "$scratch/block1" ] && [ -s "$scratch/block2" ] || fail "the guide has no two nginx blocks"
today="$(date -u +%F)"
"$build/fof1plot_demo_station" "$scratch/station" "$today" 6 10:00 >/dev/null
"$build/fof1plot_demo_station" "$scratch/later" "$today" 6 10:15 >/dev/null
sed -i "s|/var/www/html/fof1/|$scratch/station/out/|" "$scratch/block2"
port=$((20000 + RANDOM % 20000))
cat >"$scratch/nginx.conf" <<CONF
daemon on;
pid $scratch/nginx.pid;
error_log $scratch/error.log;
events {}
http {
  include /etc/nginx/mime.types;
  access_log off;
  client_body_temp_path $scratch/nginx-body;
  proxy_temp_path $scratch/nginx-proxy;
  fastcgi_temp_path $scratch/nginx-fastcgi;
  uwsgi_temp_path $scratch/nginx-uwsgi;
  scgi_temp_path $scratch/nginx-scgi;
$(cat "$scratch/block1")
  server {
    listen 127.0.0.1:$port;
$(cat "$scratch/block2")
  }
}
CONF
run() { (cd "$scratch/station" && TZ=UTC "$build/fof1plot" --site) || fail "the run failed"; chmod -R a+rX "$scratch"; }
run
nginx -t -q -c "$scratch/nginx.conf" || fail "nginx refuses the guide's lines: $(cat "$scratch/error.log")"
nginx -c "$scratch/nginx.conf"
base="http://127.0.0.1:$port/fof1"
for _ in $(seq 50); do curl -fs -o /dev/null "$base/index.html" && break; sleep 0.1; done
header() { grep -i "^$1:" "$scratch/headers" | tr -d '\r' | cut -d' ' -f2-; }
get() { curl -s -D "$scratch/headers" -o "$scratch/body" -w '%{http_code}' "$@"; }

svg="archive/${today:0:4}/${today:5:2}/${today:8:2}.svg"
[ "$(get "$base/$svg")" = 200 ] || fail "$svg is not served"
[ "$(header Cache-Control)" = no-cache ] || fail "$svg may be served from a cache: $(header Cache-Control)"
[ "$(header Content-Type)" = image/svg+xml ] || fail "$svg is served as $(header Content-Type)"
etag="$(header ETag)"
[ "$(get -H "If-None-Match: $etag" "$base/$svg")" = 304 ] || fail "an unchanged file is sent again"

mv "$scratch/later/data/$(ls "$scratch/later/data" | grep "$(date -u +%Y%j)1015")" "$scratch/station/data/"
run
[ "$(get -H "If-None-Match: $etag" "$base/$svg")" = 200 ] || fail "a new sample left the old figure valid"
cmp -s "$scratch/body" "$scratch/station/out/$svg" || fail "the revalidated figure is not the new one"

for page in "" index.html status.json; do
  get "$base/$page" >/dev/null
  [ "$(header Cache-Control)" = no-store ] || fail "/fof1/$page may be stored: $(header Cache-Control)"
done
version="$(grep -o 'plotfoF16\.svg?v=[0-9a-f]*' "$scratch/station/out/index.html" | head -1)"
[ -n "$version" ] || fail "index.html asks for no figure by its version"
get "$base/$version" >/dev/null
[[ "$(header Cache-Control)" == *immutable* ]] || fail "a versioned figure is not kept: $(header Cache-Control)"
for file in archive/index.html site.css plotfoF16.gif; do
  get "$base/$file" >/dev/null
  [ "$(header Cache-Control)" = no-cache ] || fail "$file may be served from a cache"
done
[ "$(get "$base/.fof1plot.tmp")" = 403 ] || fail "a hidden temporary name would be served"
echo "nginx: clean"
