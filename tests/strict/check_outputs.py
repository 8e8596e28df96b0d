#!/usr/bin/env python3
"""Every file a run writes is valid in its format, whatever bytes the station's files and
the copied directories' names hold.

A demo station whose station file names it with a control character, a byte that is not
UTF-8 and markup, with two samples whose value fields end in a lone 0xC2 or hold a
formula and control characters, runs with --site --metrics; a network of copies of its
output under hostile names (not UTF-8, a control character, a line end, formulas) runs
--network --metrics. Then each output is parsed strictly: SVG as XML, HTML as UTF-8
without forbidden characters, JSON, CSV (RFC 4180, no text field a spreadsheet takes
for a formula), metrics through promtool, and stderr line by line.
"""
import csv
import html.parser
import io
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

fof1plot, demo_station, faketime = (os.path.abspath(a) for a in sys.argv[1:4])
NOW = "2025-03-05 12:00:00"
failures = []


def fail(message):
    failures.append(message)


def run(args, cwd):
    return subprocess.run([faketime, NOW] + args, cwd=cwd, env=dict(os.environ, TZ="UTC"),
                          capture_output=True)


def sample_line_7(path, field):
    lines = path.read_bytes().split(b"\n")
    lines[6] = b"foF1   (MHz):  " + field
    path.write_bytes(b"\n".join(lines))


def forbidden(text):
    return any((ord(c) < 0x20 and c not in "\t\n\r") or ord(c) == 0x7F for c in text)


def number(field):
    try:
        float(field)
        return True
    except ValueError:
        return False


def check_file(path):
    if path.suffix not in (".svg", ".html", ".json", ".csv"):
        return
    data = path.read_bytes()
    name = os.fsdecode(path)
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        fail(f"{name}: not UTF-8: {e}")
        return
    suffix = path.suffix
    if suffix == ".svg":
        try:
            ElementTree.fromstring(data)
        except ElementTree.ParseError as e:
            fail(f"{name}: not well-formed XML: {e}")
    elif suffix == ".html":
        if forbidden(text):
            fail(f"{name}: a control character")
        html.parser.HTMLParser().feed(text)
    elif suffix == ".json":
        try:
            json.loads(text)
        except ValueError as e:
            fail(f"{name}: not JSON: {e}")
    elif suffix == ".csv":
        try:
            rows = list(csv.reader(io.StringIO(text, newline=""), strict=True))
        except csv.Error as e:
            fail(f"{name}: not CSV: {e}")
            return
        for row in rows[1:]:
            for field in row:
                if field[:1] in ("=", "+", "-", "@") and not number(field):
                    fail(f"{name}: a field a spreadsheet takes for a formula: {field!r}")
                if forbidden(field.replace("\n", "")):
                    fail(f"{name}: a control character in {field!r}")


with tempfile.TemporaryDirectory() as scratch:
    root = pathlib.Path(scratch)
    station = root / "station"
    subprocess.run([demo_station, str(station), "2025-03-05", "6", "12:00"], check=True,
                   capture_output=True)
    data = station / "data"
    (data / "000_station.txt").write_bytes(b"Rome\x01 \xc2 <i>=x</i> & \"co\"\r\n")
    today = sorted(data.glob("RM041_2025064*"))
    sample_line_7(today[10], b" 4.\xc2")
    sample_line_7(today[11], b"=c\x07\x01")
    sample_line_7(today[12], b"+1\x1b ")
    daily = run([fof1plot, "--site", "--metrics", str(root / "m.prom")], station)
    if daily.returncode != 0:
        fail(f"the daily run: {daily.returncode}: {daily.stderr!r}")

    network = root / "net"
    network.mkdir()
    for name in (b"bad\xff", b"ctl\x01", b"new\nline", b"=cmd|' -C calc'!A0", b"@SUM(A1)",
                 b"+x", b"-y"):
        shutil.copytree(os.fsencode(station / "out"), os.fsencode(network) + b"/" + name)
    overview = run([fof1plot, "--network", str(network), "--metrics", str(root / "net.prom")],
                   root)
    if overview.returncode != 0:
        fail(f"the overview: {overview.returncode}: {overview.stderr!r}")
    for line in (daily.stderr + overview.stderr).split(b"\n")[:-1]:
        if not line.startswith(b"fof1plot: "):
            fail(f"a line on stderr that is not the program's: {line!r}")

    for top in (station / "out", station / "work" / "previous_foF1_data", network):
        for directory, _, files in os.walk(os.fsencode(top)):
            for f in files:
                check_file(pathlib.Path(os.fsdecode(os.path.join(directory, f))))
    for metrics in ("m.prom", "net.prom"):
        if shutil.which("promtool") is None:
            print(f"promtool not installed: {metrics} not checked")
            continue
        checked = subprocess.run(["promtool", "check", "metrics"], stdin=open(root / metrics, "rb"),
                                 capture_output=True)
        if checked.returncode != 0:
            fail(f"promtool refuses {metrics}: {checked.stdout!r} {checked.stderr!r}")

    stations = json.loads((network / "stations.json").read_text())["stations"]
    if len(stations) != 7 or any(s["state"] != "ok" for s in stations):
        fail(f"the hostile names are not seven good stations: "
             f"{[(s['directory'], s['state'], s['reason']) for s in stations]}")

for f in failures:
    print("strict:", f)
print("strict: clean" if not failures else f"strict: {len(failures)} failures")
sys.exit(1 if failures else 0)
