#!/usr/bin/env python3
"""Audits the built page with Lighthouse 12.2.3 in the system Chromium, on the mobile and the
desktop preset, several runs each, and prints each category's score (median, lowest to
highest) with Total Blocking Time and the longest main-thread tasks.

Usage: tools/lighthouse.py [SITE_DIR] [--before DIR --before-label TEXT [--before-uncompressed]]
                           [--step LABEL=DIR ...] [--runs N] [--preset mobile|desktop ...]
                           [--keep DIR] [--report PAGE]
  SITE_DIR        the web build's site folder (default build-web/site), served here on a free
                  port
  --before        the site folder of an earlier build, audited in the same runs, alternating
                  with SITE_DIR's, so that both see the same load on the machine
  --before-label  what that build is, for the report (e.g. "commit `e529b06`")
  --before-uncompressed
                  serve the earlier build's files as they are, as web/serve.py did before it
                  gzipped them (the other builds go out gzipped, as it serves them now)
  --step          a build between the earlier one and this, under a label of its own (one
                  change at a time), audited in the same runs too
  --runs          runs of each preset (default 5)
  --keep          a folder for each run's JSON report
  --report        a page (docs/benchmarks.md) whose "## Lighthouse" section this run rewrites

Lighthouse is installed with npm into build-lighthouse/ (git ignores build*/) when missing.
It is pinned: 13.x wants Node 22.
"""

import argparse
import datetime
import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import browser  # noqa: E402  (the web cases' server of the site folder, and Chromium)
import driver  # noqa: E402
import report_section  # noqa: E402
import serve  # noqa: E402  (imported by browser from web/)

VERSION = "12.2.3"
INSTALL_DIR = os.path.join(ROOT, "build-lighthouse")
LIGHTHOUSE = os.path.join(INSTALL_DIR, "node_modules", ".bin", "lighthouse")
CHROMIUM_FLAGS = "--headless=new --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader"
CATEGORIES = ("performance", "accessibility", "best-practices", "seo")
TITLES = ("Performance", "Accessibility", "Best practices", "SEO")
# Timings reported beside the scores, from each run's audits.
TIMINGS = (("first-contentful-paint", "First Contentful Paint"),
           ("largest-contentful-paint", "Largest Contentful Paint"),
           ("total-blocking-time", "Total Blocking Time"))
HEADING = "## Lighthouse"
# Lighthouse simulates each preset from an unthrottled load, and cannot read the page's own
# first frame. That is timed in a fresh Chromium under the same conditions applied by DevTools,
# with the values Lighthouse itself uses for DevTools throttling: its screen, the processor
# slowed, and the network's latency (per request) and throughput (None: not limited).
CONDITIONS = {
    "mobile": {"screen": {"width": 412, "height": 823, "deviceScaleFactor": 1.75,
                          "mobile": True},
               "cpu": 4, "latency": 562.5, "download_kbps": 1474.56, "upload_kbps": 675},
    "desktop": {"screen": {"width": 1350, "height": 940, "deviceScaleFactor": 1,
                           "mobile": False},
                "cpu": 1, "latency": 0, "download_kbps": None, "upload_kbps": None},
}
FIRST_FRAME = "First frame (DevTools' throttling)"

NOTES = """What the long tasks are, from DevTools traces of the page's start in the same Chromium
(trace events of the page's thread, and the page's own times around each part), and what was
the page's own work in them:

- **`main`**, one task once the textures are in the program's folder (Lighthouse puts it under
  `start.js`, whose callback starts it): the page writes the six files there (its own part, a
  few milliseconds), then `glutCreateWindow` makes the WebGL context, the page's thread waiting
  for Chromium's GPU process to set up ANGLE on SwiftShader, and the scene's set-up reads the
  files and uploads them. The context is Chromium's, the set-up the program's. The page keeps
  its own part small: no WebGL extension is enabled (the runtime would ask the GPU process for
  each), and the context is made at the window's size (a canvas resized after it makes its
  drawing buffer again).
- **The first frame** (`orvessa.js`): its draws are the first to need the GL emulation's
  shaders, and the page's thread waits while SwiftShader compiles and links them. Not the
  page's.
- **Making the textures**: a worker's (`texture_worker.js`), off the page's thread. On it, the
  larger ones were tasks of 50 to 90 ms on the mobile preset.
- **A shared link's replay** (not audited here; "A shared link's replay" below): slices of
  about 4 ms, each a task of its own, and no frame until the last.
- **Tasks with no script** ("Unattributable"): Chromium committing the navigation and starting
  the preloads, and tearing down a compositor after the first frame. None of the page's.
- **The page's scripts** are deferred and small: the document is parsed, and can be painted,
  without waiting for any of them. Now and then Lighthouse names one of them beside a task of
  50 to 80 ms before `main`, another one from run to run, in the earlier build's runs too;
  what runs in those was not taken apart here.
- **The largest paint** is the guide's text, with the first frame: Lighthouse's simulation
  counts every download that ended before it, so its time follows the bytes the page sends
  (see the rows served with and without gzip)."""


def install():
    if os.access(LIGHTHOUSE, os.X_OK):
        return
    os.makedirs(INSTALL_DIR, exist_ok=True)
    if not os.path.exists(os.path.join(INSTALL_DIR, "package.json")):
        with open(os.path.join(INSTALL_DIR, "package.json"), "w") as f:
            f.write('{"private": true}\n')
    subprocess.run(["npm", "install", "--no-audit", "--no-fund", "-E", "lighthouse@" + VERSION],
                   cwd=INSTALL_DIR, check=True)


def audit(url, preset, path):
    """One Lighthouse run; returns its report."""
    command = [LIGHTHOUSE, url, "--quiet", "--output=json", "--output-path=" + path,
               "--only-categories=" + ",".join(CATEGORIES), "--chrome-flags=" + CHROMIUM_FLAGS]
    if preset == "desktop":
        command.append("--preset=desktop")
    env = dict(os.environ, CHROME_PATH=browser.CHROMIUM)
    subprocess.run(command, env=env, check=True, stdout=subprocess.DEVNULL)
    with open(path) as f:
        return json.load(f)


def long_tasks(report):
    """The main thread's tasks of 50 ms or more, as (start ms, duration ms, attributed to)."""
    details = report["audits"].get("long-tasks", {}).get("details") or {}
    return [(item.get("startTime", 0), item["duration"], os.path.basename(item.get("url", "")))
            for item in details.get("items", [])]


def bytes_per_second(kbps):
    return -1 if kbps is None else kbps * 1024 / 8


def first_frame(url, preset):
    """The page's first frame, in ms after navigation, in a fresh Chromium and profile under a
    preset's conditions."""
    conditions = CONDITIONS[preset]
    chromium = browser.Chromium()
    try:
        tab = chromium.tab
        tab.call("Network.enable")
        tab.call("Network.emulateNetworkConditions", offline=False,
                 latency=conditions["latency"],
                 downloadThroughput=bytes_per_second(conditions["download_kbps"]),
                 uploadThroughput=bytes_per_second(conditions["upload_kbps"]))
        tab.call("Emulation.setDeviceMetricsOverride", **conditions["screen"])
        tab.call("Emulation.setTouchEmulationEnabled", enabled=conditions["screen"]["mobile"],
                 maxTouchPoints=5)
        tab.call("Emulation.setCPUThrottlingRate", rate=conditions["cpu"])
        tab.call("Page.navigate", url=url)
        return driver.wait_for(lambda: tab.evaluate(
            "typeof orvessaPage == 'object' && orvessaPage.firstFrameMs"), 120,
            "the first frame", interval=0.05)
    finally:
        chromium.stop()


def failing(report):
    """The audits of the scored categories other than performance that did not pass."""
    found = []
    for name in CATEGORIES[1:]:
        for ref in report["categories"][name]["auditRefs"]:
            result = report["audits"][ref["id"]]
            if ref["weight"] > 0 and result["score"] is not None and result["score"] < 1:
                found.append("%s: %s" % (name, result["title"]))
    return found


def spread(values, unit=""):
    values = sorted(values)
    if len(values) == 1:
        return "%g%s" % (values[0], unit)
    return "%g%s (%g to %g)" % (statistics.median(values), unit, values[0], values[-1])


def machine():
    with open("/proc/cpuinfo") as f:
        cpu = next((line.split(":", 1)[1].strip() for line in f if line.startswith("model name")),
                   "unknown")
    commit = subprocess.run(["git", "rev-parse", "--short", "HEAD"], cwd=ROOT,
                            capture_output=True, text=True).stdout.strip() or "unknown"
    chromium = subprocess.run([browser.CHROMIUM, "--version"], capture_output=True,
                              text=True).stdout.strip()
    return {"cpu": cpu, "cores": os.cpu_count(), "commit": commit, "chromium": chromium,
            "system": "%s %s" % (platform.system(), platform.release())}


class UncompressedHandler(serve.QuietSiteHandler):
    compress = False


def run_audits(sites, presets, runs, keep, uncompressed=()):
    """{(preset, label): {"scores": {category: [...]}, "timings": {audit: [...]},
    "problems": set()}}, the sites' runs alternating; those labelled in `uncompressed` are
    served without gzip."""
    served = {label: browser.Site(folder, UncompressedHandler if label in uncompressed
                                  else serve.QuietSiteHandler) for label, folder in sites}
    results = {}
    try:
        for preset in presets:
            print("\n%s (%d runs, load %s at the start)" % (preset, runs,
                                                             report_section.load_average()))
            for run in range(runs):
                for label, _ in sites:
                    result = results.setdefault((preset, label), {
                        "scores": {name: [] for name in CATEGORIES},
                        "timings": {name: [] for name, _ in TIMINGS}, "problems": set()})
                    report = audit(served[label].url, preset,
                                   os.path.join(keep, "%s-%s-%d.json" % (
                                       label.replace(" ", "-"), preset, run)))
                    for name in CATEGORIES:
                        result["scores"][name].append(
                            round(report["categories"][name]["score"] * 100))
                    for name, _ in TIMINGS:
                        result["timings"][name].append(
                            round(report["audits"][name]["numericValue"]))
                    result["problems"].update(failing(report))
                    tasks = ", ".join("%s %.0f ms at %.0f" % (url or "?", duration, start)
                                      for start, duration, url in long_tasks(report))
                    print("  run %d, %s: %s; TBT %d ms; long tasks: %s" % (
                        run + 1, label, " / ".join(str(result["scores"][name][-1])
                                                   for name in CATEGORIES),
                        result["timings"]["total-blocking-time"][-1], tasks or "none"))
            for run in range(runs):
                for label, _ in sites:
                    frames = results[preset, label].setdefault("first frames", [])
                    frames.append(round(first_frame(served[label].url, preset)))
                    print("  first frame %d, %s: %d ms" % (run + 1, label, frames[-1]))
    finally:
        for site in served.values():
            site.stop()
    return results


def table(results, sites, presets):
    lines = ["| Preset | Build | %s | %s | %s |" % (" | ".join(TITLES),
                                                     " | ".join(title for _, title in TIMINGS),
                                                     FIRST_FRAME),
             "|---|---|%s" % ("---|" * (len(TITLES) + len(TIMINGS) + 1))]
    for preset in presets:
        for label, _ in sites:
            result = results[preset, label]
            lines.append("| %s | %s | %s | %s | %s |" % (
                preset, label, " | ".join(spread(result["scores"][name]) for name in CATEGORIES),
                " | ".join(spread(result["timings"][name], " ms") for name, _ in TIMINGS),
                spread(result["first frames"], " ms")))
    for preset in presets:
        for label, _ in sites:
            for problem in sorted(results[preset, label]["problems"]):
                lines.append("")
                lines.append("Not passed (%s, %s): %s." % (preset, label, problem))
    return "\n".join(lines)


def described(conditions):
    """A preset's conditions in words, for the report."""
    screen = conditions["screen"]
    words = ["%d x %d CSS pixels at a device pixel ratio of %g" % (
        screen["width"], screen["height"], screen["deviceScaleFactor"])]
    if screen["mobile"]:
        words.append("touch")
    if conditions["cpu"] > 1:
        words.append("the processor %g times slower" % conditions["cpu"])
    if conditions["latency"]:
        words.append("%g ms of latency per request" % conditions["latency"])
    if conditions["download_kbps"]:
        words.append("%.1f Mbit/s down" % (conditions["download_kbps"] * 1024 / 1e6))
    if len(words) == 1:
        words.append("neither the processor nor the network slowed")
    return ", ".join(words)


def section(info, table_text, runs, load_before, load_after, before_label):
    before = ("\"before\" is %s, audited in the same runs, alternating with this build. "
              % before_label) if before_label else ""
    return "\n".join([
        HEADING, "",
        "Written by `tools/lighthouse.py`: Lighthouse %s on the page (`build-web/site/`, a "
        "Release build, served from this machine), in %s with `%s` (WebGL on SwiftShader, on "
        "the processor: this machine has no GPU), %d runs of each preset; %s"
        "Scores and times are median (lowest to highest). Lighthouse's mobile preset simulates "
        "a slow phone (its processor four times slower) and network; the desktop preset does "
        "not slow the processor. The first frame is timed apart, in %d more runs of each: "
        "Lighthouse simulates its throttling from an unthrottled load and cannot read the "
        "page, so a fresh Chromium loads it under the preset's conditions applied by DevTools "
        "(%s), and `orvessaPage.firstFrameMs` is when the first display callback returned, "
        "after navigation."
        % (VERSION, info["chromium"], CHROMIUM_FLAGS, runs, before, runs,
           "; ".join("the %s preset: %s" % (preset, described(CONDITIONS[preset]))
                     for preset in CONDITIONS)),
        "",
        "| | |", "|---|---|",
        "| Measured | %s, commit `%s` |" % (
            datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
            info["commit"]),
        "| CPU | %s (from /proc/cpuinfo) |" % info["cpu"],
        "| Cores | %d online |" % info["cores"],
        "| System | %s |" % info["system"],
        "| Load average (1, 5, 15 min) | %s before the runs; %s after them |" % (
            load_before, load_after),
        "", table_text, "", NOTES, ""])


def main():
    parser = argparse.ArgumentParser(description="Lighthouse on the built page.")
    parser.add_argument("site", nargs="?", default=os.path.join(ROOT, "build-web", "site"))
    parser.add_argument("--before", help="an earlier build's site folder, audited alternately")
    parser.add_argument("--before-label", default="an earlier build")
    parser.add_argument("--before-uncompressed", action="store_true",
                        help="serve the earlier build without gzip")
    parser.add_argument("--step", action="append", default=[], metavar="LABEL=DIR",
                        help="a build between the earlier one and this, audited alternately")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--preset", action="append", choices=("mobile", "desktop"))
    parser.add_argument("--keep", help="folder for the runs' JSON reports")
    parser.add_argument("--report", help="page whose Lighthouse section to rewrite")
    args = parser.parse_args()
    install()
    keep = args.keep or tempfile.mkdtemp(prefix="orvessa-lighthouse-")
    os.makedirs(keep, exist_ok=True)
    info = machine()
    print("Lighthouse %s, %s, %s" % (VERSION, info["chromium"], CHROMIUM_FLAGS))
    sites = [("before", args.before)] if args.before else []
    sites += [tuple(step.split("=", 1)) for step in args.step]
    sites.append(("this build", args.site))
    presets = args.preset or ["mobile", "desktop"]
    load_before = report_section.load_average()
    results = run_audits(sites, presets, args.runs, keep,
                         ("before",) if args.before_uncompressed else ())
    load_after = report_section.load_average()
    table_text = table(results, sites, presets)
    print("\nLoad at the end: %s\n\n%s\n\nReports in %s" % (load_after, table_text, keep))
    if args.report:
        report_section.replace_section(args.report, HEADING, section(
            info, table_text, args.runs, load_before, load_after,
            args.before_label if args.before else None))
        print("Wrote the section %r of %s" % (HEADING, args.report))


if __name__ == "__main__":
    main()
