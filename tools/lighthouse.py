#!/usr/bin/env python3
"""Audits the built page with Lighthouse 12.2.3 in the system Chromium, on the mobile and the
desktop preset, several runs each, and prints each category's score (median, lowest to
highest) with Total Blocking Time and the longest main-thread tasks.

Usage: tools/lighthouse.py [SITE_DIR] [--before DIR] [--runs N] [--preset mobile|desktop ...]
                           [--keep DIR]
  SITE_DIR  the web build's site folder (default build-web/site), served here on a free port
  --before  the site folder of an earlier build, audited in the same runs, alternating with
            SITE_DIR's, so that both see the same load on the machine
  --runs    runs of each preset (default 5)
  --keep    a folder for each run's JSON report

Lighthouse is installed with npm into build-lighthouse/ (git ignores build*/) when missing.
It is pinned: 13.x wants Node 22.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import browser  # noqa: E402  (the web cases' server of the site folder)
import report_section  # noqa: E402

VERSION = "12.2.3"
INSTALL_DIR = os.path.join(ROOT, "build-lighthouse")
LIGHTHOUSE = os.path.join(INSTALL_DIR, "node_modules", ".bin", "lighthouse")
CHROMIUM_FLAGS = "--headless=new --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader"
CATEGORIES = ("performance", "accessibility", "best-practices", "seo")


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


def main():
    parser = argparse.ArgumentParser(description="Lighthouse on the built page.")
    parser.add_argument("site", nargs="?", default=os.path.join(ROOT, "build-web", "site"))
    parser.add_argument("--before", help="an earlier build's site folder, audited alternately")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--preset", action="append", choices=("mobile", "desktop"))
    parser.add_argument("--keep", help="folder for the runs' JSON reports")
    args = parser.parse_args()
    install()
    keep = args.keep or tempfile.mkdtemp(prefix="orvessa-lighthouse-")
    os.makedirs(keep, exist_ok=True)
    print("Lighthouse %s, Chromium %s, %s" % (
        VERSION, subprocess.run([browser.CHROMIUM, "--version"], capture_output=True,
                                text=True).stdout.strip(), CHROMIUM_FLAGS))
    sites = [("before", args.before)] if args.before else []
    sites.append(("this build" if args.before else "site", args.site))
    served = {label: browser.Site(folder) for label, folder in sites}
    try:
        for preset in args.preset or ["mobile", "desktop"]:
            scores = {(label, name): [] for label, _ in sites for name in CATEGORIES}
            blocking = {label: [] for label, _ in sites}
            problems = {label: set() for label, _ in sites}
            print("\n%s (%d runs, load %s at the start)" % (preset, args.runs,
                                                             report_section.load_average()))
            for run in range(args.runs):
                for label, _ in sites:
                    report = audit(served[label].url, preset,
                                   os.path.join(keep, "%s-%s-%d.json" % (
                                       label.replace(" ", "-"), preset, run)))
                    for name in CATEGORIES:
                        scores[label, name].append(
                            round(report["categories"][name]["score"] * 100))
                    blocking[label].append(
                        round(report["audits"]["total-blocking-time"]["numericValue"]))
                    problems[label].update(failing(report))
                    tasks = ", ".join("%s %.0f ms at %.0f" % (url or "?", duration, start)
                                      for start, duration, url in long_tasks(report))
                    print("  run %d, %s: %s; TBT %d ms; long tasks: %s" % (
                        run + 1, label, " / ".join(str(scores[label, name][-1])
                                                   for name in CATEGORIES),
                        blocking[label][-1], tasks or "none"))
            print("load at the end: %s" % report_section.load_average())
            print("| Preset | Build | %s | Total Blocking Time |" % " | ".join(CATEGORIES))
            for label, _ in sites:
                print("| %s | %s | %s | %s |" % (
                    preset, label, " | ".join(spread(scores[label, name])
                                              for name in CATEGORIES),
                    spread(blocking[label], " ms")))
                for problem in sorted(problems[label]):
                    print("  %s, not passed: %s" % (label, problem))
    finally:
        for site in served.values():
            site.stop()
    print("\nReports in " + keep)


if __name__ == "__main__":
    main()
