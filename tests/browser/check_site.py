#!/usr/bin/env python3
"""The station's web site as a visitor's browser sees it, in headless Chromium.

Builds a demo station, back-fills 30 days and runs the daily run with --site, serves
the output directory on localhost and lets a small page of its own, in the browser,
walk every page from index.html: each page must have a language, a title and an h1,
every image and embedded figure must load, every link must lead somewhere, no console
error may appear, and index.html and a day page must not scroll sideways at phone
width. The site made on 2025-03-05 must show the stale warning today; one made now must
not. Every page must pass `tidy -q -e`. Screenshots at device pixel ratio 1 and 2 and
at phone width (390 px, ratio 3) go to the artefacts directory.

The live page: index.html is opened with its refresh shortened to a second and scrolled
down; the station's samples then grow by an hour and the daily run runs again, five
minutes later. Without a reload, the open page must show today's new figure, its new
counts and the new last sounding, at the same scroll position.

    check_site.py FOF1PLOT DEMO_STATION FAKETIME ARTEFACTS
"""
import datetime
import functools
import glob
import http.server
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

FOF1PLOT, DEMO, FAKETIME, ARTEFACTS = (os.path.abspath(a) for a in sys.argv[1:5])
CHROMIUM = shutil.which("chromium") or shutil.which("chromium-browser")
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--hide-scrollbars", "--enable-logging=stderr", "--v=0"]
failures = []


def fail(text):
    failures.append(text)
    print("FAIL:", text)


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, capture_output=True, text=True, timeout=600, **kw)


def make_site(root, day, clock):
    """A demo station whose last day is `day`, its 30 days before back-filled, and the
    daily run at `clock` (None: now), all with --site."""
    os.makedirs(root)
    run([DEMO, root, day, "31"])
    env = dict(os.environ, TZ="UTC")
    last = datetime.date.fromisoformat(day)
    first = (last - datetime.timedelta(days=30)).isoformat()
    before = (last - datetime.timedelta(days=1)).isoformat()
    prefix = [FAKETIME, clock] if clock else []
    subprocess.run(prefix + [FOF1PLOT, "--site", "--archive", first, before], cwd=root, env=env,
                   timeout=600)
    daily = subprocess.run(prefix + [FOF1PLOT, "--site"], cwd=root, env=env, timeout=600)
    if daily.returncode != 0:
        fail(f"the daily run with --site in {root} exited {daily.returncode}")
    return os.path.join(root, "out")


# The harnesses' way to open a page: in a frame of the given size, once it has loaded.
FRAME_JS = r"""
async function frame(url, width, height = 900) {
  const f = document.createElement('iframe');
  f.style.width = width + 'px';
  f.style.height = height + 'px';
  document.body.appendChild(f);
  await new Promise(r => { f.onload = r; f.src = url; });
  return f;
}
"""

HARNESS = r"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>harness</title></head><body>
<script>""" + FRAME_JS + r"""
async function visit(url, width) {
  const f = await frame(url, width);
  const d = f.contentDocument;
  await Promise.all([...d.querySelectorAll('object')].map(o => o.contentDocument ? null :
      new Promise(r => { o.addEventListener('load', r); setTimeout(r, 3000); })));
  const page = {url: url, lang: d.documentElement.lang, title: d.title,
                h1: d.querySelector('h1') ? d.querySelector('h1').textContent : '',
                broken: [], links: [], titled: 0,
                stale: d.getElementById('stale') ? !d.getElementById('stale').hidden : null,
                sideways: d.documentElement.scrollWidth > d.documentElement.clientWidth};
  for (const img of d.images) {
    if (!img.complete || img.naturalWidth === 0) page.broken.push(img.getAttribute('src'));
    if (!img.alt) page.broken.push('no alt text: ' + img.getAttribute('src'));
  }
  for (const o of d.querySelectorAll('object')) {
    const svg = o.contentDocument && o.contentDocument.querySelector('svg');
    if (!svg) page.broken.push(o.getAttribute('data'));
    else page.titled = svg.querySelectorAll('title').length;
    if (!o.getAttribute('aria-label')) page.broken.push('no label: ' + o.getAttribute('data'));
  }
  for (const a of d.querySelectorAll('a[href]')) page.links.push(a.href);
  f.remove();
  return page;
}
async function walk() {
  const start = new URL(location.search.slice(1), location.href).href;
  const queue = [start], seen = new Set(queue), pages = [], files = {};
  while (queue.length) {
    const page = await visit(queue.shift(), 1000);
    pages.push(page);
    for (const link of page.links) {
      if (seen.has(link)) continue;
      seen.add(link);
      if (link.endsWith('.html')) { queue.push(link); continue; }
      files[link] = (await fetch(link, {method: 'HEAD'})).status;
    }
  }
  const phone = [await visit(start, 390)];
  const day = pages.find(p => /\/\d\d\.html$/.test(p.url));
  if (day) phone.push(await visit(day.url, 390));
  return {pages: pages, files: files, phone: phone};
}
const report = text => fetch('/__result', {method: 'POST', body: text});
walk().then(r => report(JSON.stringify(r)), e => report('ERROR ' + e));
</script></body></html>
"""


LIVE_HARNESS = r"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>live harness</title></head><body>
<script>""" + FRAME_JS + r"""
const sleep = ms => new Promise(r => setTimeout(r, ms));
function state(d) {
  const f = d.querySelector('figure[data-slot="6"]');
  return {src: f.querySelector('img').getAttribute('src'),
          counts: f.querySelector('.counts').textContent,
          sounding: d.getElementById('sounding').textContent,
          made: d.getElementById('generated').textContent};
}
async function live() {
  const f = await frame('index.html?refresh=1', 1000, 500);
  const w = f.contentWindow, d = f.contentDocument;
  w.scrollTo(0, 300);
  w.__same_page = true;
  const before = state(d), scrolled = w.scrollY;
  await fetch('/__loaded', {method: 'POST', body: ''});
  let after = before;
  for (let i = 0; i < 60 && after.src === before.src; ++i) {
    await sleep(500);
    after = state(d);
  }
  await sleep(1500);  // the new figure loads
  const img = d.querySelector('figure[data-slot="6"] img');
  const result = {before: before, after: state(d), same_page: f.contentWindow.__same_page === true,
                  scrolled: scrolled, scroll_after: f.contentWindow.scrollY,
                  loaded: img.complete && img.naturalWidth > 0};
  // The browser's clock three hours on: the page judges itself again, unasked.
  const real = w.Date.now.bind(w.Date);
  w.Date.now = () => real() + 3 * 3600 * 1000;
  await sleep(2500);
  result.moved = {sounding: d.getElementById('sounding').textContent,
                  silent: d.getElementById('silent').hidden ? '' : d.getElementById('silent').textContent};
  return result;
}
const report = text => fetch('/__result', {method: 'POST', body: text});
live().then(r => report(JSON.stringify(r)), e => report('ERROR ' + e));
</script></body></html>
"""


def serve(directory, results, harness=HARNESS, loaded=None):
    """The directory on localhost, with the harness at /__harness.html; what the harness
    posts to /__result goes to `results`, a post to /__loaded sets the event `loaded`."""
    class Handler(http.server.SimpleHTTPRequestHandler):
        def do_POST(self):
            body = self.rfile.read(int(self.headers["Content-Length"])).decode()
            self.send_response(204)
            self.end_headers()
            if self.path == "/__loaded" and loaded:
                loaded.set()
            else:
                results.append(body)

        def do_GET(self):
            if self.path.startswith("/__harness.html"):
                body = harness.encode()
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
                return
            super().do_GET()

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Handler, directory=directory))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def stop(browser, clocked):
    """Ends the browser. Under faketime, its child: faketime then removes the shared
    memory it made, which a killed faketime would leave for a later one to trip on."""
    if clocked:
        children = subprocess.run(["pgrep", "-P", str(browser.pid)], capture_output=True,
                                  text=True).stdout.split()
        for pid in children:
            try:
                os.kill(int(pid), signal.SIGKILL)
            except ProcessLookupError:
                pass
        try:
            browser.wait(timeout=30)
            return
        except subprocess.TimeoutExpired:
            pass
    browser.kill()
    browser.wait()


def browse(out, name, profile, harness=HARNESS, on_loaded=None, clock=None):
    """Walks the site in the browser; the harness's result, with the console's errors
    reported. When the harness posts to /__loaded, on_loaded runs. With a clock
    ("2025-03-05 12:06:00"), the browser runs under faketime from that moment."""
    results = []
    loaded = threading.Event()
    server = serve(out, results, harness, loaded)
    url = f"http://127.0.0.1:{server.server_address[1]}/__harness.html?index.html"
    log = open(profile + ".log", "w+")
    clocked = [FAKETIME, "-f", "@" + clock] if clock else []
    browser = subprocess.Popen([*clocked, CHROMIUM, *FLAGS, f"--user-data-dir={profile}", url],
                               stdout=subprocess.DEVNULL, stderr=log)
    deadline = time.monotonic() + 300
    while not results and time.monotonic() < deadline and browser.poll() is None:
        if on_loaded and loaded.is_set():
            on_loaded()
            on_loaded = None
        time.sleep(0.2)
    stop(browser, clocked)
    server.shutdown()
    log.seek(0)
    for line in log.read().splitlines():
        if ":CONSOLE" in line and "/__harness.html" not in line:
            fail(f"{name}: console: {line}")
    if not results or not results[0].startswith("{"):
        fail(f"{name}: the harness gave no result: {results[:1]}")
        return None
    return json.loads(results[0])


def screenshots(out, profile):
    os.makedirs(ARTEFACTS, exist_ok=True)
    for name, page, size, ratio in [
            ("index-1x", "index.html", "1280,900", "1"), ("index-2x", "index.html", "1280,900", "2"),
            ("index-phone", "index.html", "390,844", "3"),
            ("day-phone", "archive/2025/03/05.html", "390,844", "3"),
            ("month-1x", "archive/2025/02/index.html", "1000,900", "1")]:
        path = os.path.join(ARTEFACTS, name + ".png")
        subprocess.run([CHROMIUM, *FLAGS, f"--user-data-dir={profile}-{name}",
                        f"--window-size={size}", f"--force-device-scale-factor={ratio}",
                        f"--screenshot={path}", "file://" + os.path.join(out, page)],
                       capture_output=True, timeout=300)
        if not os.path.exists(path) or os.path.getsize(path) < 1000:
            fail(f"no screenshot {name}")


def live_page(root, profile):
    """The live update of an open index.html, as the module's docstring says."""
    env = dict(os.environ, TZ="UTC")
    run([DEMO, root, "2025-03-05", "6", "11:00"])
    first = subprocess.run([FAKETIME, "2025-03-05 11:05:00", FOF1PLOT, "--site"], cwd=root,
                           env=env, timeout=600)
    if first.returncode != 0:
        fail(f"the live site's first run exited {first.returncode}")

    def new_samples():
        run([DEMO, root, "2025-03-05", "6", "12:00"])
        subprocess.run([FAKETIME, "2025-03-05 12:05:00", FOF1PLOT, "--site"], cwd=root, env=env,
                       timeout=600)

    # The browser's clock between the two runs, so that no warning comes or goes.
    r = browse(os.path.join(root, "out"), "live page", profile, LIVE_HARNESS, new_samples,
               "2025-03-05 11:40:00")
    if not r:
        return
    before, after = r["before"], r["after"]
    for key in ("src", "counts", "sounding", "made"):
        if before[key] == after[key]:
            fail(f"live page: {key} did not change: {before[key]}")
    if not after["sounding"].startswith("Last sounding 12:00 UTC"):
        fail(f"live page: the last sounding reads {after['sounding']!r}")
    if not r["same_page"]:
        fail("live page: the page was reloaded")
    if r["scrolled"] == 0 or r["scroll_after"] != r["scrolled"]:
        fail(f"live page: scrolled to {r['scrolled']}, then at {r['scroll_after']}")
    if not r["loaded"]:
        fail("live page: the new figure did not load")
    moved = r["moved"]
    # The age moves on; the value beside its forecast stays as status.json gave it.
    words = json.load(open(os.path.join(root, "out", "status.json")))["last_value"]["words"]
    if (not re.fullmatch(r"Last sounding 12:00 UTC \(\d+ h ago\): " + re.escape(words),
                         moved["sounding"])
            or not moved["silent"].startswith("No sounding since")):
        fail(f"live page, its clock three hours on: {moved!r}")


def main():
    if CHROMIUM is None:
        print("chromium not installed")
        return 1
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as tmp:
        old = make_site(os.path.join(tmp, "old"), "2025-03-05", "2025-03-05 23:45:00")
        for page in glob.glob(os.path.join(old, "**", "*.html"), recursive=True):
            tidy = subprocess.run(["tidy", "-q", "-e", page], capture_output=True, text=True)
            if tidy.returncode != 0:
                fail(f"tidy on {os.path.relpath(page, old)}: {tidy.stderr.strip()}")
        result = browse(old, "old site", os.path.join(tmp, "profile-old"))
        if result:
            pages = result["pages"]
            days = [p for p in pages if p["url"].rsplit("/", 1)[1][:2].isdigit()]
            if len(days) < 30:
                fail(f"only {len(days)} day pages reached from index.html")
            for p in pages:
                if p["lang"] != "en" or not p["title"] or not p["h1"]:
                    fail(f"{p['url']}: lang, title or h1 missing")
                for b in p["broken"]:
                    fail(f"{p['url']}: broken or unlabelled: {b}")
            for link, status in result["files"].items():
                if status != 200:
                    fail(f"link {link} answers {status}")
            index = pages[0]
            if index["stale"] is not True:
                fail("the site of 2025-03-05 does not say it is stale")
            if not any(p["titled"] > 50 for p in days):
                fail("no day figure carries the titles of its marks")
            for p in result["phone"]:
                if p["sideways"]:
                    fail(f"{p['url']} scrolls sideways at 390 px")
        screenshots(old, os.path.join(tmp, "profile-shot"))
        fresh = make_site(os.path.join(tmp, "fresh"), datetime.date.today().isoformat(), None)
        result = browse(fresh, "fresh site", os.path.join(tmp, "profile-fresh"))
        if result and result["pages"][0]["stale"] is not False:
            fail("a site made just now says it is stale")
        live_page(os.path.join(tmp, "live"), os.path.join(tmp, "profile-live"))
    print("site:", "clean" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
