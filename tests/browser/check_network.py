#!/usr/bin/env python3
"""The network's overview as a visitor's browser sees it, in headless Chromium.

Builds five demo stations, each publishing into a network directory as its own run
leaves it: Rome (ok), Gibilmanna (kind 1, silent from noon), Tucuman (kind 2, last run
two days ago: not updated), one whose forecast is missing (failing) and one whose
status.json is not JSON (unreadable); then `fof1plot --network` over them. A page of the
test's own, in the browser, opens the overview and a station's own page, its archive's
index and a month page with its statistics at 1280 and at 390 px: no console error, no sideways scroll, every state in words, every link answers,
and axe-core (from npm, installed here when missing) finds no violation. Then the open
overview, its refresh shortened to a second, must take a station's new sounding from the
next runs, with no reload.

    check_network.py FOF1PLOT DEMO_STATION FAKETIME ARTEFACTS
"""
import os
import re
import subprocess
import sys
import tempfile

import check_site as site

DAY = "2025-03-05"
NPM = os.path.join(os.path.dirname(site.ARTEFACTS), "npm")
AXE = os.path.join(NPM, "node_modules", "axe-core", "axe.min.js")

HARNESS = r"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>network harness</title></head><body>
<script>""" + site.FRAME_JS + r"""
async function axe(f) {
  const d = f.contentDocument;
  const s = d.createElement('script');
  await new Promise((r, e) => { s.onload = r; s.onerror = e; s.src = '/__axe.js'; d.head.appendChild(s); });
  const result = await f.contentWindow.axe.run(d, {runOnly: ['wcag2a', 'wcag2aa', 'best-practice']});
  return result.violations.map(v => v.id + ': ' + v.help + ' (' + v.nodes.length + ')');
}
async function check() {
  const pages = [], links = {};
  for (const [url, width] of [['index.html', 1280], ['index.html', 390],
                              ['rome/index.html', 1280], ['rome/index.html', 390],
                              ['rome/archive/index.html', 1280], ['rome/archive/index.html', 390],
                              ['rome/archive/2025/03/index.html', 1280],
                              ['rome/archive/2025/03/index.html', 390]]) {
    const f = await frame(url, width);
    const d = f.contentDocument;
    pages.push({url: url, width: width,
                sideways: d.documentElement.scrollWidth > d.documentElement.clientWidth,
                states: [...d.querySelectorAll('.card .state')].map(e => e.textContent),
                violations: await axe(f)});
    for (const a of d.querySelectorAll('a[href]')) links[a.href] = 0;
    f.remove();
  }
  for (const link of Object.keys(links)) links[link] = (await fetch(link, {method: 'HEAD'})).status;
  return {pages: pages, links: links};
}
const report = text => fetch('/__result', {method: 'POST', body: text});
check().then(r => report(JSON.stringify(r)), e => report('ERROR ' + e));
</script></body></html>
"""


LIVE_HARNESS = r"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>live network harness</title></head><body>
<script>""" + site.FRAME_JS + r"""
const sleep = ms => new Promise(r => setTimeout(r, ms));
async function live() {
  const f = await frame('index.html?refresh=1', 1000, 600);
  const d = f.contentDocument, w = f.contentWindow;
  w.__same_page = true;
  const card = () => d.querySelector('article[data-station="rome"] .sounding').textContent;
  const made = () => d.getElementById('generated').textContent;
  const before = {sounding: card(), made: made()};
  await fetch('/__loaded', {method: 'POST', body: ''});
  for (let i = 0; i < 60 && made() === before.made; ++i) await sleep(500);
  const chart = d.getElementById('chart');
  for (let i = 0; i < 20 && !(chart.contentDocument && chart.contentDocument.querySelector('svg')); ++i)
    await sleep(250);
  return {before: before, after: {sounding: card(), made: made()},
          chart: {data: chart.getAttribute('data'),
                  loaded: !!(chart.contentDocument && chart.contentDocument.querySelector('svg'))},
          same_page: f.contentWindow.__same_page === true,
          moved: await moved(w, d, card)};
}
// The browser's clock three hours on: every card, the summary and the page's own age
// judged again, with no new stations.json.
async function moved(w, d, card) {
  const real = w.Date.now.bind(w.Date);
  w.Date.now = () => real() + 3 * 3600 * 1000;
  await sleep(2500);
  const stale = d.getElementById('stale');
  return {rome: d.querySelector('article[data-station="rome"] .state').textContent,
          sounding: card(), summary: d.getElementById('summary').textContent,
          stale: stale.hidden ? '' : stale.textContent};
}
const report = text => fetch('/__result', {method: 'POST', body: text});
live().then(r => report(JSON.stringify(r)), e => report('ERROR ' + e));
</script></body></html>
"""


def station(root, net, name, kind, until):
    tree = os.path.join(root, "stations", name)
    os.makedirs(os.path.dirname(tree), exist_ok=True)
    site.run([site.DEMO, tree, DAY, "6", until, kind])
    os.makedirs(os.path.join(net, name))
    with open(os.path.join(tree, "gralvo.ini"), "w") as f:
        f.write(f"w\r\n{tree}/work/\r\nd\r\n{tree}/data/\r\no\r\n{net}/{name}/\r\n")
    return tree


def run_at(tree, clock, *args):
    return subprocess.run([site.FAKETIME, "-f", clock, site.FOF1PLOT, *args], cwd=tree,
                          env=dict(os.environ, TZ="UTC"), capture_output=True, timeout=600)


def main():
    if site.CHROMIUM is None:
        print("chromium not installed")
        return 1
    if not os.path.exists(AXE):
        subprocess.run(["npm", "install", "--silent", "--no-audit", "--no-fund", "--prefix", NPM,
                        "axe-core@4"], check=True, timeout=600)
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as tmp:
        net = os.path.join(tmp, "net")
        now = f"{DAY} 15:00:00"
        for name, kind, until, clock in [("rome", "Rome", "15:00", now),
                                         ("gibilmanna", "Gibi", "12:00", now),
                                         ("tucuman", "Tucu", "15:00", "2025-03-03 15:00:00"),
                                         ("failing", "Rome", "15:00", now)]:
            tree = station(tmp, net, name, kind, until)
            if name == "failing":
                os.remove(os.path.join(tree, "work", "032025.txt"))
            run_at(tree, clock, "--site")
        os.makedirs(os.path.join(net, "broken"))
        with open(os.path.join(net, "broken", "status.json"), "w") as f:
            f.write("<html>")
        made = run_at(tmp, now, "--network", net)
        if made.returncode != 0:
            site.fail(f"--network exited {made.returncode}: {made.stderr.decode()}")

        # axe-core, served beside the pages so that the harness can inject it.
        os.symlink(AXE, os.path.join(net, "__axe.js"))
        result = site.browse(net, "network", os.path.join(tmp, "profile"), HARNESS, clock=now)
        os.remove(os.path.join(net, "__axe.js"))
        if result:
            for page in result["pages"]:
                where = f"{page['url']} at {page['width']} px"
                if page["sideways"]:
                    site.fail(f"{where} scrolls sideways")
                for v in page["violations"]:
                    site.fail(f"{where}: axe: {v}")
                if page["url"] == "index.html":
                    states = " | ".join(page["states"])
                    for word in ("ok", "silent", "not updated", "failing: ", "unreadable: "):
                        if word not in states:
                            site.fail(f"{where}: no station reads {word!r}: {states}")
            for link, status in result["links"].items():
                if status != 200:
                    site.fail(f"link {link} answers {status}")
        # The open overview takes a station's new sounding from the next run, with no
        # reload.
        def later():
            site.run([site.DEMO, os.path.join(tmp, "stations", "rome"), DAY, "6", "15:30", "Rome"])
            with open(os.path.join(tmp, "stations", "rome", "gralvo.ini"), "w") as f:
                f.write(f"w\r\n{tmp}/stations/rome/work/\r\nd\r\n{tmp}/stations/rome/data/\r\n"
                        f"o\r\n{net}/rome/\r\n")
            run_at(os.path.join(tmp, "stations", "rome"), f"{DAY} 15:35:00", "--site")
            run_at(tmp, f"{DAY} 15:35:00", "--network", net)

        live = site.browse(net, "live network", os.path.join(tmp, "profile-live"), LIVE_HARNESS,
                           later, now)
        if live:
            if not live["after"]["sounding"].startswith("Last sounding 2025-03-05 15:30 UTC"):
                site.fail(f"live overview: Rome's card reads {live['after']['sounding']!r}")
            if live["after"]["made"] == live["before"]["made"]:
                site.fail("live overview: the time it was made did not change")
            if not live["chart"]["data"].startswith("today.svg?t=") or not live["chart"]["loaded"]:
                site.fail(f"live overview: the chart was not reloaded: {live['chart']!r}")
            if not live["same_page"]:
                site.fail("live overview: the page was reloaded")
            moved = live["moved"]
            value = r"\d+\.\d MHz, forecast \d+\.\d, [+-]?\d+\.\d"
            if (moved["rome"] != "copy stale"
                    or not re.fullmatch(r"Last sounding 2025-03-05 15:30 UTC \(\d+ h ago\): " + value,
                                        moved["sounding"])
                    or "copy stale" not in moved["summary"]
                    or not moved["stale"].startswith("Not updated since 2025-03-05 15:35 UTC")):
                site.fail(f"live overview, its clock three hours on: {moved!r}")
        os.makedirs(site.ARTEFACTS, exist_ok=True)
        for name, size, ratio in [("network-1x", "1280,1400", "1"), ("network-phone", "390,844", "3")]:
            subprocess.run([site.CHROMIUM, *site.FLAGS, f"--user-data-dir={tmp}/shot-{name}",
                            f"--window-size={size}", f"--force-device-scale-factor={ratio}",
                            f"--screenshot={os.path.join(site.ARTEFACTS, name + '.png')}",
                            "file://" + os.path.join(net, "index.html")],
                           capture_output=True, timeout=300)
    print("network:", "clean" if not site.failures else f"{len(site.failures)} failures")
    return 1 if site.failures else 0


if __name__ == "__main__":
    sys.exit(main())
