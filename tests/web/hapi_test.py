#!/usr/bin/env python3
"""The guide's HAPI lines served by nginx and fcgiwrap, checked as a HAPI client would.

A demo station back-filled for 40 days with the site, and a network of two stations'
copies, are served by the guide's two nginx blocks (their paths pointed at the test's
directories) through fcgiwrap, started here as the socket unit starts it. Every
endpoint is fetched over HTTP and parsed strictly: each sounding T of the archive is
exactly the record of [T, T + 15 min); adjacent ranges add up to the whole, whatever
form their times take; the whole range holds every archived row and JSON the same
records as CSV; each refusal has its HTTP status and HAPI code.

    hapi_test.py BUILD_DIR FAKETIME
"""
import csv
import datetime
import http.client
import io
import json
import os
import random
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

# The build directory and faketime, from the command line (or a benchmark's own).
BUILD = FAKETIME = None
GUIDE = os.path.join(os.path.dirname(__file__), "..", "..", "docs", "operating.md")
DAY, FIRST = "2026-12-11", "2026-11-02"
random.seed(11)


def fail(message):
    print("hapi: " + message)
    sys.exit(1)


def station(path, kind):
    subprocess.run([os.path.join(BUILD, "fof1plot_demo_station"), path, DAY, "40", "12:00", kind],
                   check=True, stdout=subprocess.DEVNULL)
    env = dict(os.environ, TZ="UTC")
    for args in (["--site", "--archive", FIRST, DAY], ["--site"]):
        subprocess.run([FAKETIME, DAY + " 12:05:00", os.path.join(BUILD, "fof1plot")] + args,
                       cwd=path, env=env, check=True)


def guide_blocks():
    text = open(GUIDE).read()
    section = text[text.index("## The archive through HAPI"):]
    return re.findall(r"```nginx\n(.*?)```", section, re.S)


class Client:
    def __init__(self, port, prefix):
        self.port, self.prefix = port, prefix

    def get(self, path, method="GET"):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)
        conn.request(method, self.prefix + path)
        r = conn.getresponse()
        body = r.read().decode("utf-8")
        conn.close()
        return r.status, r.reason, r.getheader("Content-Type"), r.getheader("Access-Control-Allow-Origin"), body

    def json(self, path, code=1200, http_status=200):
        status, reason, ctype, cors, body = self.get(path)
        if status != http_status or ctype != "application/json" or cors != "*":
            fail(f"{path}: HTTP {status} {reason}, {ctype}, CORS {cors}")
        j = json.loads(body)
        if j["HAPI"] != "3.3" or j["status"]["code"] != code:
            fail(f"{path}: status {j['status']}, wanted {code}")
        if not reason.endswith(f"HAPI {code} {j['status']['message'].split(':')[0]}"):
            fail(f"{path}: the HTTP reason {reason!r} is not the HAPI status")
        return j

    def rows(self, query):
        status, reason, ctype, _, body = self.get("/data?" + query)
        if status != 200 or not ctype.startswith("text/csv"):
            fail(f"data?{query}: HTTP {status} {reason} {ctype}: {body[:200]}")
        if (body == "") != reason.endswith("HAPI 1201 OK - no data for time range"):
            fail(f"data?{query}: {reason} for {len(body)} bytes")
        return list(csv.reader(io.StringIO(body)))


def archived_rows(out):
    """Every row of the station's day CSVs, today's published one for today."""
    rows = []
    for root, _, files in os.walk(os.path.join(out, "archive")):
        for name in files:
            if re.fullmatch(r"\d\d\.csv", name):
                path = os.path.join(root, name)
                if path.endswith(DAY[:4] + "/" + DAY[5:7] + "/" + DAY[8:] + ".csv"):
                    path = os.path.join(out, "plotfoF16.csv")
                with open(path, newline="") as f:
                    rows += list(csv.reader(f))[1:]
    return sorted(rows)


def check_station(client, out):
    caps = client.json("/capabilities")
    if "csv" not in caps["outputFormats"]:
        fail("capabilities without csv")
    about = client.json("/about")
    for key in ("id", "title", "contact"):
        if not isinstance(about.get(key), str) or not about[key]:
            fail(f"about has no {key}")
    ids = [d["id"] for d in client.json("/catalog")["catalog"]]
    if ids != ["foF1", "foF1_forecast"]:
        fail(f"catalog {ids}")
    info = client.json("/info?dataset=foF1")
    if (info["startDate"], info["stopDate"]) != (FIRST + "T00:00:00Z", "2026-12-12T00:00:00Z"):
        fail(f"info's dates {info['startDate']} {info['stopDate']}")
    names = [p["name"] for p in info["parameters"]]
    if names != ["Time", "foF1", "field", "foF1_forecast", "foF1_deviation"]:
        fail(f"parameters {names}")
    expected = archived_rows(out)
    whole = client.rows(f"dataset=foF1&start={FIRST}&stop=2026-12-12")
    fill = lambda r: [v if v != "" else "-1e31" for v in r[:2]] + [r[2]] + \
        [v if v != "" else "-1e31" for v in r[3:]]
    if whole != [fill(r) for r in expected] or len(whole) < 40 * 40:
        fail(f"the whole range gives {len(whole)} records, the archive holds {len(expected)}")
    # Every sounding alone in its quarter hour, and in no range that stops at it.
    for row in random.sample(whole, 60):
        t = row[0]
        stop = (datetime.datetime.strptime(t, "%Y-%m-%dT%H:%M:%SZ") +
                datetime.timedelta(minutes=15)).strftime("%Y-%m-%dT%H:%M:%SZ")
        if client.rows(f"dataset=foF1&start={t}&stop={stop}") != [row]:
            fail(f"[{t}, {stop}) is not the one record of {t}")
        if any(r[0] == t for r in client.rows(f"dataset=foF1&start={FIRST}T00Z&stop={t}")[-1:]):
            fail(f"a range stopping at {t} holds it")
    # [a, b) then [b, c) is [a, c), b in every form a client may write it.
    a, c = "2026-11-20", "2026-11-23T06:30Z"
    joined = client.rows(f"dataset=foF1&start={a}&stop={c}")
    for b in ("2026-11-21", "2026-325Z", "2026-11-21T10:15", "2026-11-21T10:15:00.000Z",
              "2026-326T11:07:30.5Z", "2026-11-22T24:00:00Z"):
        if client.rows(f"dataset=foF1&start={a}&stop={b}") + \
                client.rows(f"dataset=foF1&start={b}&stop={c}") != joined:
            fail(f"[{a}, {b}) + [{b}, {c}) is not [{a}, {c})")
    if client.rows("dataset=foF1&start=2026-11-21T10:16&stop=2026-11-21T10:29") != []:
        fail("a range between soundings is not empty")
    # JSON holds the records CSV does; a subset its columns.
    status, _, _, _, body = client.get(f"/data?dataset=foF1&start={a}&stop={c}&format=json")
    data = json.loads(body)["data"]
    if [[r[0], repr(r[1]) if r[1] != -1e31 else "-1e31"] for r in data][:3] != \
            [[r[0], r[1]] for r in joined][:3] or len(data) != len(joined):
        fail("JSON and CSV differ")
    if client.rows(f"dataset=foF1&start={a}&stop={c}&parameters=field") != [[r[0], r[2]] for r in joined]:
        fail("parameters=field is not the time and field columns")
    forecast = client.rows("dataset=foF1_forecast&start=2026-12-01&stop=2026-12-02")
    if len(forecast) != 24 or forecast[12][0] != "2026-12-01T12:00:00Z":
        fail(f"the forecast of a day is {len(forecast)} hours")
    status, _, _, _, body = client.get(f"/data?dataset=foF1&start={a}&stop={c}", "HEAD")
    if status != 200 or body:
        fail("HEAD sends a body")
    for query, http_status, code in (
            ("/data?dataset=foF2&start=2026-11-20&stop=2026-11-21", 404, 1406),
            ("/info?dataset=../../etc", 404, 1406),
            ("/data?dataset=foF1&start=2026-11-20T25&stop=2026-11-21", 400, 1402),
            ("/data?dataset=foF1&start=2026-11-20&stop=yesterday", 400, 1403),
            ("/data?dataset=foF1&start=2026-11-21&stop=2026-11-20", 400, 1404),
            ("/data?dataset=foF1&start=2020-01-01&stop=2020-02-01", 400, 1405),
            ("/data?dataset=foF1&start=2026-11-20&stop=2026-11-21&averagingInterval=5s", 400, 1401),
            ("/data?dataset=foF1&start=2026-11-20&stop=2026-11-21&parameters=foF2", 404, 1407),
            ("/data?dataset=foF1&start=2026-11-20&stop=2026-11-21&parameters=field,foF1", 400, 1411),
            ("/data?dataset=foF1&start=2026-11-20&stop=2026-11-21&format=binary", 400, 1409),
            ("/data?dataset=foF1&start=2026-11-20&stop=2026-11-21&include=all", 400, 1410),
            ("/nothing", 400, 1400)):
        client.json(query, code, http_status)
    status, _, _, _, _ = client.get("/data?dataset=foF1", "POST")
    if status not in (403, 405):
        fail(f"POST answered {status}")
    return len(whole)


def serve(scratch, site, net):
    """nginx and fcgiwrap serving the guide's two blocks, the station's pointed at `site`,
    the network's at `net`; the port, and the processes to stop."""
    sock = os.path.join(scratch, "fcgi.sock")
    blocks = guide_blocks()
    if len(blocks) != 2:
        fail(f"the guide's HAPI section has {len(blocks)} nginx blocks, not 2")
    conf = ""
    for block in blocks:
        if "unix:/run/fof1plot-hapi.sock" not in block:
            fail("a block passes to another socket than the unit's")
        conf += (block.replace("/usr/libexec/fof1plot/fof1plot-hapi", os.path.join(BUILD, "fof1plot-hapi"))
                 .replace("/var/www/html/fof1-network", net)
                 .replace("/var/www/html/fof1", site)
                 .replace("unix:/run/fof1plot-hapi.sock", "unix:" + sock)
                 .replace("include fastcgi_params;", "include /etc/nginx/fastcgi_params;"))
    # A session of its own: fcgiwrap's workers outlive a signal to it alone.
    procs = [subprocess.Popen(["fcgiwrap", "-c", "2", "-s", "unix:" + sock],
                              stdout=subprocess.DEVNULL, start_new_session=True,
                              stderr=open(os.path.join(scratch, "fcgiwrap.log"), "w"))]
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    with open(os.path.join(scratch, "nginx.conf"), "w") as f:
        f.write(f"""daemon off; pid {scratch}/nginx.pid; error_log {scratch}/error.log;
events {{}}
http {{
  access_log off;
  client_body_temp_path {scratch}/b; proxy_temp_path {scratch}/p; fastcgi_temp_path {scratch}/f;
  uwsgi_temp_path {scratch}/u; scgi_temp_path {scratch}/s;
  server {{ listen 127.0.0.1:{port};
{conf}
  }}
}}
""")
    nginx = subprocess.Popen(["nginx", "-c", os.path.join(scratch, "nginx.conf")])
    procs.append(nginx)
    for _ in range(100):
        if os.path.exists(sock):
            # nginx's workers run as nobody; the unit gives the socket to www-data.
            os.chmod(sock, 0o666)
            try:
                socket.create_connection(("127.0.0.1", port)).close()
                return port, procs
            except OSError:
                pass
        if nginx.poll() is not None:
            stop(procs)
            fail("nginx refuses the guide's lines: " + open(os.path.join(scratch, "error.log")).read())
        time.sleep(0.1)
    stop(procs)
    fail("nginx and fcgiwrap did not come up")


def stop(procs):
    """nginx, then fcgiwrap with its workers."""
    for p in reversed(procs):
        if p.args[0] == "fcgiwrap":
            os.killpg(p.pid, signal.SIGTERM)
        else:
            p.send_signal(signal.SIGTERM)
        p.wait()


def main():
    global BUILD, FAKETIME
    BUILD, FAKETIME = os.path.abspath(sys.argv[1]), sys.argv[2]
    for tool in ("nginx", "fcgiwrap"):
        if shutil.which(tool) is None:
            fail(f"{tool} is missing")
    scratch = tempfile.mkdtemp()
    os.chmod(scratch, 0o755)
    procs = []
    try:
        station(os.path.join(scratch, "station"), "Rome")
        station(os.path.join(scratch, "tucu"), "Tucu")
        os.makedirs(os.path.join(scratch, "net"))
        shutil.copytree(os.path.join(scratch, "station", "out"), os.path.join(scratch, "net", "rome"))
        shutil.copytree(os.path.join(scratch, "tucu", "out"), os.path.join(scratch, "net", "tucu"))
        port, procs = serve(scratch, os.path.join(scratch, "station", "out"), os.path.join(scratch, "net"))
        records = check_station(Client(port, "/fof1/hapi"), os.path.join(scratch, "station", "out"))
        network = Client(port, "/fof1-network/hapi")
        ids = [d["id"] for d in network.json("/catalog")["catalog"]]
        if ids != ["rome/foF1", "rome/foF1_forecast", "tucu/foF1", "tucu/foF1_forecast"]:
            fail(f"the network's catalog {ids}")
        rome = network.rows(f"dataset=rome/foF1&start={FIRST}&stop=2026-12-12")
        tucu = network.rows(f"dataset=tucu%2FfoF1&start={FIRST}&stop=2026-12-12")
        if len(rome) != records or rome == tucu:
            fail("the network's stations are not their own copies")
        status, reason, _, _, _ = network.get("/info/?dataset=rome/foF1")
        if status != 301:
            fail(f"a trailing slash gives {status} {reason}")
        print(f"hapi: clean ({records} records of 40 days)")
    finally:
        stop(procs)
        if os.environ.get("KEEP"): print(scratch)
        else: shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
