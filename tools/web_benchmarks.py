#!/usr/bin/env python3
"""Measures the web version and writes its section at the end of docs/benchmarks.md (replacing
the section an earlier run wrote there, leaving the rest of the page alone).

Usage: tools/web_benchmarks.py SITE_DIR NATIVE_BENCH REPORT [BEFORE_SITE_DIR BEFORE_LABEL]
  SITE_DIR         the web build's site folder (build-web/site)
  NATIVE_BENCH     the benchmark program of a Release build (build-bench/bench/orvessa_bench),
                   run here for the native frame and key press, so that both sides come from
                   the same run
  REPORT           the page to write the section into
  BEFORE_SITE_DIR  optional: the site of an earlier build, whose first visit (transfer and
                   first frame) is measured in the same run, alternating with SITE_DIR's
  BEFORE_LABEL     what that build is, for the page (e.g. "commit `5fd7064`")

tools/run_benchmarks.sh calls it after the native benchmarks. The page is driven as the web
cases drive it (tests/e2e/browser.py): served on a local port, in headless Chromium with
SwiftShader, 1024 x 768.
"""

import functools
import gzip
import io
import json
import os
import platform
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import browser  # noqa: E402
import report_section  # noqa: E402
import serve  # noqa: E402  (imported by browser from web/)

HEADING = "## The web version"
LOAD_RUNS = 7
RUNNING_BROWSER_PAIRS = 15
FRAMES = 40
KEY_PRESSES = 15
NATIVE_REPETITIONS = 9

# Run before the page's own scripts: times the page keeps for this tool. A key press is timed
# from a keydown listener that runs before GLUT's (registered earlier, same phase) to one that
# runs after it (bubbling back to the window); a frame from the main loop's hooks around the
# display callback. Each ends with a one-pixel gl.readPixels, which cannot return before the GPU
# process has carried out every command before it, as the native cases end with glFinish().
# (gl.finish() does not wait for SwiftShader to draw: it returns at once.)
TIMING = """(() => {
    const timing = window.orvessaTiming = {keys: [], frames: []};
    const pixel = new Uint8Array(4);
    const drawn = window.orvessaDrawn =
        gl => gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
    let keyStart = null;
    addEventListener('keydown', () => { keyStart = performance.now(); }, true);
    addEventListener('keydown', () => {
        if (keyStart === null || !window.Module || !Module.ctx) return;
        const handled = performance.now();
        drawn(Module.ctx);
        timing.keys.push([handled - keyStart, performance.now() - keyStart]);
        keyStart = null;
    });
})()""" + ";\n" + browser.on_module("""value => {
    const timing = window.orvessaTiming;
    const drawn = window.orvessaDrawn;
    const ready = value.onRuntimeInitialized;
    value.onRuntimeInitialized = () => {
        timing.runtimeReady = performance.now();
        // glutCreateWindow's context, through the runtime's own helper.
        const create = Browser.createContext;
        Browser.createContext = function() {
            const context = create.apply(this, arguments);
            timing.contextDone = performance.now();
            return context;
        };
        if (ready) ready();
    };
    value.postRun = [() => { timing.mainDone = performance.now(); }];
    let start = 0;
    value.preMainLoop = () => { start = performance.now(); };
    const post = value.postMainLoop;
    value.postMainLoop = () => {
        const called = performance.now();
        drawn(value.ctx);
        const now = performance.now();
        timing.frames.push([called - start, now - start]);
        if (timing.firstFrame === undefined) timing.firstFrame = now;
        if (post) post();
    };
}""")

# Run before the page's own scripts on the phone-sized page: from the input event (its own time
# stamp, taken when the browser made it) to the end of the next frame, with the same
# one-pixel read after it. A touch on a control and a key press both turn the view.
LATENCY = """(() => {
    const latency = window.orvessaLatency = {touch: [], key: [], pending: null};
    addEventListener('pointerdown', e => { latency.pending = ['touch', e.timeStamp]; }, true);
    addEventListener('keydown', e => { latency.pending = ['key', e.timeStamp]; }, true);
})()""" + ";\n" + browser.on_module("""value => {
    const latency = window.orvessaLatency;
    const pixel = new Uint8Array(4);
    const post = value.postMainLoop;
    value.postMainLoop = () => {
        if (post) post();
        if (latency.pending === null) return;
        const gl = value.ctx;
        gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
        latency[latency.pending[0]].push(performance.now() - latency.pending[1]);
        latency.pending = null;
    };
}""")
TOUCH_AND_KEY_PAIRS = 15

RESOURCES = """Object.fromEntries(performance.getEntriesByType('resource')
    .map(e => [e.name.split('/').pop(), [e.startTime, e.responseEnd]]))"""


def median(values):
    return statistics.median(values)


def ms(value):
    return "%.0f ms" % value if value >= 100 else "%.1f ms" % value if value >= 10 else \
        "%.2f ms" % value


def size(value):
    return "%.1f kB" % (value / 1e3) if value < 1e6 else "%.2f MB" % (value / 1e6)


# The site's files by what they are; "page" takes every file no other group names, so a file
# added to the page is never left out of the table.
FILE_GROUPS = (("wasm", ["orvessa.wasm"]), ("js", ["orvessa.js"]),
               ("texture generator", ["textures.wasm"]),
               ("app", ["manifest.webmanifest", "sw.js"]),
               ("icons", ["icon-192.png", "icon-512.png"]))


def transfer_sizes(site):
    files = sorted(os.listdir(site))
    named = {name for _, names in FILE_GROUPS for name in names}
    groups = list(FILE_GROUPS) + [("page", [n for n in files if n not in named])]
    rows = []
    for label, names in groups:
        names = [n for n in names if n in files]
        raw = b"".join(open(os.path.join(site, n), "rb").read() for n in names)
        # Level 6: gzip's default, and what web servers commonly use.
        rows.append(("%s (%s)" % (label, ", ".join(names)), len(raw),
                     len(gzip.compress(raw, 6, mtime=0))))
    return rows


def first_frames(site):
    """Each run a fresh Chromium and profile: nothing cached, nothing compiled before."""
    runs = []
    for _ in range(LOAD_RUNS):
        with browser.Session(site, before_page=(TIMING,)) as page:
            page.settle()
            timing = page.value("orvessaTiming")
            resources = page.value(RESOURCES)
            runs.append({
                "textures": page.value("orvessaStart.texturesMs"),
                "wasm": resources["orvessa.wasm"][1],
                "ready": timing["runtimeReady"],
                "context": timing["contextDone"],
                "main": timing["mainDone"],
                "first": timing["firstFrame"],
            })
    return runs


# ---- The first visit, before and after: every request the server answers, the service
# worker's own included, and the first frame, for two sites in the same run.

class CountingHandler(serve.QuietSiteHandler):
    """The site's handler, keeping (path, status, body bytes, gzip bytes) of every answer."""

    answers = None  # a list per site, set by first_visit

    def send_response(self, code, message=None):
        # Each connection has a handler of its own: the row is this answer's, whatever the
        # other threads add meanwhile.
        self.answer = [self.path, code, 0, 0]
        self.answers.append(self.answer)
        super().send_response(code, message)

    def copyfile(self, source, outputfile):
        body = source.read()
        self.answer[2:] = [len(body), len(gzip.compress(body, 6, mtime=0))]
        super().copyfile(io.BytesIO(body), outputfile)


# The service worker has filled its cache and taken over, or there is none to wait for (the
# earlier page, or a worker that failed).
WORKER_DONE = """(() => {
    if (typeof orvessaOffline == 'undefined') return true;
    if (orvessaOffline.error) return true;
    const worker = navigator.serviceWorker.controller;
    return worker !== null && worker.state === 'activated';
})()"""


def spread(values):
    return "%s (%s to %s, %d)" % (ms(median(values)), ms(min(values)), ms(max(values)),
                                  len(values))


def first_visit(site):
    """One first visit in a fresh Chromium: the answers the server gave until the page had drawn
    its first frame, its service worker (if any) was done and nothing more came for a second,
    and the first frame's time after navigation."""
    answers = []
    handler = type("Handler", (CountingHandler,), {"answers": answers})
    session = browser.Session(site, before_page=(TIMING,))
    session.site_class = functools.partial(browser.Site, handler=handler)
    with session as page:
        page.settle()
        first = page.value("orvessaTiming.firstFrame")
        page.wait_for_page(WORKER_DONE, 60, "the service worker")
        settled = -1
        while settled != len(answers):
            settled = len(answers)
            time.sleep(1)
        return first, list(answers)


class RunningBrowserSession(browser.Session):
    """The page in a browser that has just shown it from another origin, localhost instead of
    127.0.0.1: Chromium's GPU process, its compositor and the emulation's shaders are up, as in
    a browser someone is already using, while nothing the first load cached, compiled or
    registered serves this origin. The first load's service worker is left to finish first:
    its downloads and digests would otherwise run through the measured load. `fragment` ends
    the measured page's address (a shared link's '#view=...')."""

    fragment = ""

    def open_page(self):
        shown = browser.Page(self.browser.tab, self.site.url.replace("127.0.0.1", "localhost"))
        shown.wait_for_page(WORKER_DONE, 60, "the first load's service worker")
        return browser.Page(self.browser.tab, self.site.url + self.fragment, self.before_page)


class FreshBrowserLinkSession(browser.Session):
    """A fresh Chromium and profile opening the page at an address ending in `fragment`."""

    fragment = ""

    def open_page(self):
        return browser.Page(self.browser.tab, self.site.url + self.fragment, self.before_page)


# ---- A shared link's first frame: the page opened with a link, whose presses it replays
# before its first frame, against the page opened without one.

def walk_of_presses(presses):
    """A walk's link of `presses` presses, in runs as a person's walk makes them: walking and
    turning, flying, a look up and down in look mode, a few steps sideways in slide mode,
    rolls, a turn round and a reload; about one press in twenty is an ordinary key."""
    runs = [("f", 30), ("r", 12), ("u", 8), ("l", 20), ("f", 25), ("d", 5), ("a", 3), ("c", 3),
            ("p", 1), ("f", 6), ("b", 6), ("p", 1), ("s", 1), ("l", 10), ("r", 10), ("s", 1),
            ("t", 1), ("x", 1)]
    text, left, at = "", presses, 0
    while left > 0:
        letter, count = runs[at % len(runs)]
        count = min(count, left)
        text += letter + (str(count) if count > 1 else "")
        left -= count
        at += 1
    return "#view=" + text + "z"


SHARED_LINKS = (
    ("no link: the start view", "", 0),
    ("a walk of 1,000 presses (%d characters after `#`)", walk_of_presses(1000), 1000),
    ("1,000 presses of `i`, the dearest key to replay (3 scene set-ups each)", "#view=i1000z",
     1000),
    ("10,000 presses of `i`, the most a link replays", "#view=i10000z", 10000),
)
SHARED_LINK_ROUNDS = 7


def shared_link_frames(site):
    """{label: first frames} of each of SHARED_LINKS in a running browser, SHARED_LINK_ROUNDS
    rounds, alternating; and of the first two in a fresh browser, alternating too."""
    running = {label: [] for label, _, _ in SHARED_LINKS}
    fresh = {label: [] for label, _, _ in SHARED_LINKS[:2]}
    for _ in range(SHARED_LINK_ROUNDS):
        for kind, links, found in ((RunningBrowserSession, SHARED_LINKS, running),
                                   (FreshBrowserLinkSession, SHARED_LINKS[:2], fresh)):
            for label, fragment, presses in links:
                session = kind(site, before_page=(TIMING,))
                session.fragment = fragment
                with session as page:
                    page.settle()
                    replayed = page.value("orvessaShare.replayed")
                    if replayed != presses:
                        raise RuntimeError("%s: %d presses replayed" % (label, replayed))
                    found[label].append(page.value("orvessaTiming.firstFrame"))
    return running, fresh


def shared_link_lines(running, fresh):
    def name(label, fragment):
        return label % (len(fragment) - 1) if "%d" in label else label

    lines = ["", "### A shared link's first frame", "",
             "The page opened at an address ending in a link's `#view=...`, whose presses it "
             "replays before its first frame (`web/README.md`), against the page opened "
             "without one; first frames after navigation, as in the tables above, each run in a "
             "browser of its own, the kinds alternating, %d runs of each; \"later\" is the median of "
             "the differences with the run without a link of the same round. The walk's link is "
             "`%s`. What a link adds is its replay, in one task after `main`: each press "
             "through GLUT's key handler into the program's callbacks, each ordinary key's scene "
             "set-ups with the file opens failing at once and the uploads skipped. In a running "
             "browser (the page shown once from another origin first, as above):"
             % (SHARED_LINK_ROUNDS, SHARED_LINKS[1][1]), "",
             "| Link | First frame after navigation | Later than without a link |",
             "|---|---|---|"]
    base = running[SHARED_LINKS[0][0]]
    for label, fragment, _ in SHARED_LINKS:
        values = running[label]
        # Round by round: each round's runs saw the same load on the machine.
        later = median([value - start for value, start in zip(values, base)])
        lines.append("| %s | %s | %s |" % (name(label, fragment), spread(values),
                                           ("-" if later < 0 else "") + ms(abs(later))
                                           if fragment else ""))
    lines += ["", "In a browser started for the page (fresh Chromium, empty profile), where "
              "Chromium's GPU process starting up comes first:", "",
              "| Link | First frame after navigation |", "|---|---|"]
    for label, fragment, _ in SHARED_LINKS[:2]:
        lines.append("| %s | %s |" % (name(label, fragment), spread(fresh[label])))
    return lines


def first_frames_compared(before_site, after_site):
    """RUNNING_BROWSER_PAIRS first frames of each site in a running browser, alternating."""
    firsts = {"before": [], "after": []}
    for _ in range(RUNNING_BROWSER_PAIRS):
        for label, site in (("before", before_site), ("after", after_site)):
            with RunningBrowserSession(site, before_page=(TIMING,)) as page:
                page.settle()
                firsts[label].append(page.value("orvessaTiming.firstFrame"))
    return firsts


def first_visit_comparison(before_site, after_site):
    """LOAD_RUNS first visits of each site, alternating, so both see the same machine."""
    runs = {"before": [], "after": []}
    for _ in range(LOAD_RUNS):
        for label, site in (("before", before_site), ("after", after_site)):
            runs[label].append(first_visit(site))
    return runs


def same_every_time(runs):
    def requests(answers):
        return sorted((path, status, raw) for path, status, raw, _ in answers)

    varied = [label for label in ("before", "after")
              if any(requests(a) != requests(runs[label][0][1]) for _, a in runs[label])]
    if not varied:
        return "Each page's requests and bytes were the same in every run."
    return ("The requests varied between runs of the %s page; the table shows the first "
            "run's." % " and ".join(varied))


def first_visit_lines(runs, before_label, running):
    lines = ["", "### The first visit, before and after", "",
             "Measured at the server: every answer it gave during a first visit (fresh "
             "Chromium, empty profile) until the first frame was drawn, the service worker "
             "(if any) had filled its cache and taken over, and no request had come for a "
             "second; the worker's own requests are counted with the page's. Bytes are the "
             "answers' bodies (headers left out); gzip is what the same bodies would be at "
             "level 6. \"Before\" is an earlier build of the page (%s, built with the same "
             "compiler), served from a folder of its own; both pages were loaded %d times "
             "each, alternating. %s" % (before_label, LOAD_RUNS, same_every_time(runs)), "",
             "| Page | Requests (status: count) | Raw | gzip | First frame after navigation |",
             "|---|---|---|---|---|"]
    for label in ("before", "after"):
        firsts = [first for first, _ in runs[label]]
        answers = runs[label][0][1]
        statuses = {}
        for _, status, _, _ in answers:
            statuses[status] = statuses.get(status, 0) + 1
        lines.append("| %s | %d (%s) | %s | %s | %s |" % (
            label, len(answers), ", ".join("%d: %d" % kv for kv in sorted(statuses.items())),
            size(sum(a[2] for a in answers)), size(sum(a[3] for a in answers)),
            spread(firsts)))
    before, after = running["before"], running["after"]
    later = [b - a for a, b in zip(before, after)]
    lines += ["", "The first frame above is in a browser started for the page, so it includes "
              "Chromium's GPU process starting SwiftShader, which spreads over a second from run "
              "to run. In a browser already running, the same first visits, %d of each page, "
              "alternating; each run shows the page once from `localhost` and then measures it "
              "from `127.0.0.1`, another origin, so no file, compiled code or service worker "
              "of the first load serves the second:" % len(later), "",
              "| Page | First frame after navigation |", "|---|---|",
              "| before | %s |" % spread(before), "| after | %s |" % spread(after), "",
              "Pair by pair, the later page's first frame came %s the earlier one's (the median "
              "of the %d differences); it was the later of the two in %d of the %d pairs."
              % ("%s before" % ms(-median(later)) if median(later) < 0 else
                 "%s after" % ms(median(later)), len(later), sum(d > 0 for d in later),
                 len(later))]
    lines += ["", "What the later page's first visit fetched (one run):", "",
              "| Request | Status | Raw | gzip |", "|---|---|---|---|"]
    for path, status, raw, packed in runs["after"][0][1]:
        lines.append("| `%s` | %d | %s | %s |" % (path, status, size(raw), size(packed)))
    return lines


def page_frames_and_keys(site):
    with browser.Session(site, before_page=(TIMING,)) as page:
        page.settle()
        renderer = page.value("""(() => {
            const gl = Module.ctx, info = gl.getExtension('WEBGL_debug_renderer_info');
            return info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) :
                          gl.getParameter(gl.RENDERER);
        })()""")
        version = page.tab.call("Browser.getVersion")["product"]
        page.value("orvessaTiming.frames = []")
        for _ in range(FRAMES):
            # A redisplay of the same view, as GLUT posts one for an expose.
            page.value("new Promise(done => { _glutPostRedisplay(); "
                       "requestAnimationFrame(() => requestAnimationFrame(done)); })")
        frames = page.value("orvessaTiming.frames")
        for _ in range(KEY_PRESSES):
            page.press("x")
        keys = page.value("orvessaTiming.keys")
        return renderer, version, frames, keys


def touch_and_key(site):
    """A tap on the turn-left control and a press of the Left key, alternately, on the page at
    a phone's size with touch."""
    with browser.Session(site, before_page=(LATENCY,), phone=True) as page:
        page.settle()
        page.tap('[data-key="ArrowRight"]')  # the first touch also puts the guide away
        page.value("orvessaLatency.touch = []")
        for _ in range(TOUCH_AND_KEY_PAIRS):
            page.tap('[data-key="ArrowLeft"]')
            page.press("Left")
        return page.value("[orvessaLatency.touch, orvessaLatency.key]")


def native_cases(bench):
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        env = dict(os.environ, LIBGL_ALWAYS_SOFTWARE="1")
        env.pop("DISPLAY", None)
        subprocess.run(
            [os.path.join(HERE, "with-xvfb.sh"), bench,
             "--benchmark_filter=^(keyPress/onKey|frame/onDisplay)/",
             "--benchmark_repetitions=%d" % NATIVE_REPETITIONS,
             "--benchmark_out=" + out.name, "--benchmark_out_format=json"],
            env=env, check=True, stdout=subprocess.DEVNULL)
        results = json.load(out)
    times = {}
    for case in results["benchmarks"]:
        if case.get("run_type") == "iteration":
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[case["time_unit"]]
            times.setdefault(case["run_name"].split("/real_time")[0], []).append(
                case["real_time"] * scale)
    return times


def machine():
    with open("/proc/cpuinfo") as f:
        cpu = next((line.split(":", 1)[1].strip() for line in f if line.startswith("model name")),
                   "unknown")
    emcc = subprocess.run(["emcc", "--version"], capture_output=True, text=True).stdout
    emcc = re.search(r"\) (\d+\.\d+\.\d+)", emcc)
    commit = subprocess.run(["git", "rev-parse", "--short", "HEAD"], cwd=ROOT,
                            capture_output=True, text=True).stdout.strip() or "unknown"
    dirty = subprocess.run(["git", "status", "--porcelain", "--", "CMakeLists.txt", "app",
                            "camera", "image", "scene", "web", "tools/make_textures.cpp",
                            "textures/texture_generator.cpp"],
                           cwd=ROOT, capture_output=True, text=True).stdout.strip()
    return {
        "cpu": cpu, "cores": os.cpu_count(), "system": "%s %s" % (platform.system(),
                                                                  platform.release()),
        "emcc": "Emscripten " + emcc.group(1) if emcc else "Emscripten (version unknown)",
        "commit": commit + (" with local changes" if dirty else ""),
    }


def section(info, sizes, loads, renderer, version, frames, keys, native, latency, load_before,
            load_after, first_visits=(), shared_links=()):
    lines = [HEADING, "",
             "Written by `tools/web_benchmarks.py`, which `tools/run_benchmarks.sh` runs after "
             "the cases above; every number below is from one run of it on the machine "
             "described here. The page (`build-web/site/`, a Release build) is served from this "
             "machine and shown in headless Chromium at 1024 × 768, as the web cases show it; "
             "the native program's two cases run in the same run, under Xvfb with Mesa's "
             "llvmpipe as above. Times are given as median (fastest to slowest, number of "
             "samples). kB and MB are 10³ and 10⁶ bytes.", "",
             "| | |", "|---|---|",
             "| Measured | %s UTC, commit `%s` |" % (time.strftime("%Y-%m-%d %H:%M",
                                                                  time.gmtime()),
                                                    info["commit"]),
             "| CPU | %s, %d cores online |" % (info["cpu"], info["cores"]),
             "| System | %s |" % info["system"],
             "| Compiler | %s (Debian), Release build (`-O3`), legacy GL emulation on WebGL 2 |" % info["emcc"],
             "| Browser | %s, headless, `--use-angle=swiftshader` |" % version,
             "| WebGL renderer | %s |" % renderer,
             "| Load average (1, 5, 15 min) | %s before the run; %s after it |"
             % (load_before, load_after), "",
             "### Transfer size", "",
             "The site's files, as built; gzip at level 6 is what a server that "
             "compresses would send. What a first visit fetches of them is measured below.", "",
             "| File | Raw | gzip |", "|---|---|---|"]
    for label, raw, packed in sizes:
        lines.append("| %s | %s | %s |" % (label, size(raw), size(packed)))
    total_raw = sum(r for _, r, _ in sizes)
    total_gz = sum(g for _, _, g in sizes)
    lines += ["| all | %s | %s |" % (size(total_raw), size(total_gz))]
    lines += list(first_visits)
    lines += ["", "### From navigation to the first frame", "",
              "Each run starts a fresh Chromium with an empty profile (no cached files, no "
              "compiled code kept) and loads the page from this machine; times count from the "
              "navigation's start. The first frame counts once the display callback has returned "
              "and a one-pixel `gl.readPixels` after it has waited for the drawing.", "",
              "| Point | Time after navigation |", "|---|---|",
              "| `orvessa.wasm` received | %s |" % spread([r["wasm"] for r in loads]),
              "| textures made (the six files' bytes ready on the page) | %s |"
              % spread([r["textures"] for r in loads]),
              "| runtime ready (wasm compiled, textures in its folder), `main` starts | %s |"
              % spread([r["ready"] for r in loads]),
              "| WebGL context made (`glutCreateWindow`) | %s |"
              % spread([r["context"] for r in loads]),
              "| `main` done: textures read and uploaded, GLUT's loop entered | %s |"
              % spread([r["main"] for r in loads]),
              "| first frame drawn | %s |" % spread([r["first"] for r in loads])]
    lines += list(shared_links)
    lines += ["", "### A frame and a key press, page against native", "",
              "A frame: the display callback (clear, the scene in immediate mode, swap, "
              "flush) at the start view with the shipped textures, then a one-pixel "
              "`gl.readPixels`, which waits until the GPU process has drawn the frame "
              "(`gl.finish()` does not wait for it here); natively `frame/onDisplay`, which ends "
              "with `glFinish()`. A key press: `onKey('x')` (two scene set-ups: 12 reads and 12 "
              "uploads of the six textures) from the keydown event to the end of GLUT's "
              "handler, then the same `gl.readPixels`; natively `keyPress/onKey` with "
              "`glFinish()`. \"Before the wait\" is the time on the page's own thread; the rest "
              "is the GPU process (SwiftShader) catching up. Chromium gives the page "
              "`performance.now()` in steps of 0.1 ms.", "",
              "| Case | Page | Page, before the wait | Native | Page / native |",
              "|---|---|---|---|---|"]
    page_frame = [f[1] for f in frames]
    page_key = [k[1] for k in keys]
    lines.append("| frame | %s | %s | %s | %.1f |" % (
        spread(page_frame), spread([f[0] for f in frames]), spread(native["frame/onDisplay"]),
        median(page_frame) / median(native["frame/onDisplay"])))
    lines.append("| key press | %s | %s | %s | %.1f |" % (
        spread(page_key), spread([k[0] for k in keys]), spread(native["keyPress/onKey"]),
        median(page_key) / median(native["keyPress/onKey"])))
    touches, presses = latency
    lines += ["", "### A touch against a key press, to the next frame", "",
              "The page at a phone's size (%d × %d CSS pixels, %d device pixels to each, so a "
              "%d × %d canvas) with touch emulated, the two alternating on the same page: a tap "
              "on the turn-left control and a press of the Left key, each turning the view by "
              "1°. Each counts from the input event's own time stamp to the end of the next "
              "frame, with the same one-pixel `gl.readPixels` after it."
              % (browser.PHONE["width"], browser.PHONE["height"],
                 browser.PHONE["deviceScaleFactor"],
                 browser.PHONE["width"] * browser.PHONE["deviceScaleFactor"],
                 browser.PHONE["height"] * browser.PHONE["deviceScaleFactor"]), "",
              "| Input | To the next frame | Touch / key |", "|---|---|---|",
              "| a touch on a control | %s | %.2f |" % (spread(touches),
                                                        median(touches) / median(presses)),
              "| a key press | %s | |" % spread(presses)]
    with open(os.path.join(ROOT, "bench", "web_notes.md")) as notes:
        lines += ["", notes.read().strip()]
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) not in (4, 6):
        sys.exit(__doc__)
    site, bench, report = argv[1:4]
    browser.require_tools(site)
    before = report_section.load_average()
    info = machine()
    sizes = transfer_sizes(site)
    native = native_cases(bench)
    loads = first_frames(site)
    links = shared_link_lines(*shared_link_frames(site))
    renderer, version, frames, keys = page_frames_and_keys(site)
    latency = touch_and_key(site)
    visits = (first_visit_lines(first_visit_comparison(argv[4], site), argv[5],
                                first_frames_compared(argv[4], site))
              if len(argv) == 6 else ())
    text = section(info, sizes, loads, renderer, version, frames, keys, native, latency, before,
                   report_section.load_average(), visits, links)
    report_section.replace_section(report, HEADING, text)
    print(text)


if __name__ == "__main__":
    main(sys.argv)
