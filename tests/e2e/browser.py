"""Drives the web build the way a user does: build-web/site served on a local port, the system
Chromium (headless, software WebGL) showing the page in a 1024 x 768 window, real key events
and drops through the DevTools protocol, and screenshots of the whole page.

The server is a thread of this process; Chromium is the one process started here, ended by its
pid on success and failure alike, after the DevTools socket has asked it to close. The waits
poll with generous deadlines, as in driver.py.
"""

import base64
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
import zlib

import driver

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web"))
import serve  # noqa: E402  (the page's own server, as ./run.sh --web runs it)

CHROMIUM = "/usr/bin/chromium"
WINDOW = driver.SCREEN
# A phone held upright, with touch: CSS pixels, three device pixels to each.
PHONE = {"width": 390, "height": 844, "deviceScaleFactor": 3, "mobile": True}
TEXTURE_FILES = ("minar.bmp", "grass.bmp", "door.bmp", "pool.bmp", "roof.bmp", "sw.bmp")

# Headless with WebGL on SwiftShader, a profile of its own, and nothing that reaches for the
# network (this machine has none).
CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--enable-unsafe-swiftshader", "--use-angle=swiftshader",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--no-first-run", "--disable-quic", "--no-default-browser-check",
    "--window-size=%d,%d" % WINDOW, "--remote-debugging-port=0",
]


def _import_websocket():
    try:
        import websocket
    except ImportError:
        raise driver.DriverError("python3-websocket is missing (tools/deps.sh installs it)")
    return websocket


def require_tools(site):
    if not os.access(CHROMIUM, os.X_OK):
        raise driver.DriverError("no %s (tools/deps.sh installs chromium)" % CHROMIUM)
    _import_websocket()
    if not os.path.isfile(os.path.join(site, "orvessa.js")):
        raise driver.DriverError("no web build in %s (./test.sh builds it)" % site)


# ---- PNG, as Page.captureScreenshot returns it: 8-bit RGB or RGBA, not interlaced.

def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(kind, line, previous, bpp):
    if kind == 0:
        return line
    out = bytearray(line)
    n = len(out)
    if kind == 1:
        for i in range(bpp, n):
            out[i] = (out[i] + out[i - bpp]) & 0xFF
    elif kind == 2:
        for i in range(n):
            out[i] = (out[i] + previous[i]) & 0xFF
    elif kind == 3:
        for i in range(n):
            left = out[i - bpp] if i >= bpp else 0
            out[i] = (out[i] + ((left + previous[i]) >> 1)) & 0xFF
    elif kind == 4:
        for i in range(n):
            left = out[i - bpp] if i >= bpp else 0
            corner = previous[i - bpp] if i >= bpp else 0
            out[i] = (out[i] + _paeth(left, previous[i], corner)) & 0xFF
    else:
        raise driver.DriverError("PNG row filter %d unknown" % kind)
    return bytes(out)


def parse_png(data):
    """A driver.Frame from PNG bytes (alpha dropped: the page is opaque)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise driver.DriverError("not a PNG")
    pos, idat, header = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos : pos + 8])
        body = data[pos + 8 : pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise driver.DriverError("PNG format not handled: %r" % (header,))
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    stride = width * bpp
    rows, previous = [], bytes(stride)
    for row in range(height):
        start = row * (stride + 1)
        line = _unfilter(raw[start], raw[start + 1 : start + 1 + stride], previous, bpp)
        rows.append(line)
        previous = line
    pixels = b"".join(rows)
    if bpp == 4:
        rgb = bytearray(width * height * 3)
        for channel in range(3):
            rgb[channel::3] = pixels[channel::4]
        pixels = bytes(rgb)
    return driver.Frame(width, height, pixels)


# ---- The site.

class Site:
    """A folder served at http://127.0.0.1:PORT/ by a thread of this process, on a free port
    the system picks; `handler` answers each request (serve.SiteHandler or a subclass)."""

    def __init__(self, folder, handler=serve.QuietSiteHandler):
        self.server = serve.make_server(folder, "127.0.0.1", 0, handler)
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()
        self.thread.join()


# ---- The browser.

class Connection:
    """A browser's protocol over a WebSocket: numbered JSON commands, answered in order, and
    events kept until asked for (DevTools and WebDriver BiDi alike)."""

    def __init__(self, url, timeout=60):
        websocket = _import_websocket()
        self.socket = websocket.create_connection(url, timeout=timeout, suppress_origin=True)
        self.next_id = 0
        self.events = []

    def _receive(self, deadline, what):
        self.socket.settimeout(max(deadline - time.monotonic(), 0.01))
        try:
            message = json.loads(self.socket.recv())
        except Exception as error:
            raise driver.DriverError("no %s: %s" % (what, error))
        if "method" in message and "id" not in message:
            self.events.append(message)
        return message

    def send(self, method, params, timeout):
        """Sends one command and returns its answer, whole."""
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        deadline = time.monotonic() + timeout
        while True:
            message = self._receive(deadline, "answer to " + method)
            if message.get("id") == self.next_id:
                return message

    def wait_event(self, method, timeout=60):
        """The first event of a kind that came since the last time one was taken; waits for
        one if none has."""
        deadline = time.monotonic() + timeout
        while True:
            for event in self.events:
                if event["method"] == method:
                    self.events.remove(event)
                    return event["params"]
            self._receive(deadline, method + " event")

    def close(self):
        self.socket.close()


class DevTools(Connection):
    """One DevTools protocol connection, to a tab."""

    def call(self, method, timeout=60, **params):
        message = self.send(method, params, timeout)
        if "error" in message:
            raise driver.DriverError("%s failed: %s" % (method, message["error"]))
        return message.get("result", {})

    def evaluate(self, expression, timeout=60):
        """The value of a page expression; a promise is awaited."""
        result = self.call("Runtime.evaluate", timeout=timeout, expression=expression,
                           awaitPromise=True, returnByValue=True)
        if "exceptionDetails" in result:
            raise driver.DriverError("page script failed: %s\n%s"
                                     % (result["exceptionDetails"].get("text"), expression))
        return result["result"].get("value")


class Chromium:
    """The system Chromium, headless, with a fresh profile; its first tab on DevTools. With an
    X `display` it shows its window there instead, where the X server's own key and mouse
    events go through the browser as a person's do."""

    def __init__(self, log=None, startup_timeout=60, display=None):
        self.profile = tempfile.mkdtemp(prefix="orvessa-chromium-")
        self.log = open(log or os.devnull, "wb")
        flags = [flag for flag in CHROMIUM_FLAGS if not (display and flag == "--headless")]
        self.process = subprocess.Popen(
            [CHROMIUM] + flags + ["--user-data-dir=" + self.profile, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
            env=dict(os.environ, DISPLAY=display) if display else None)
        self.pid = self.process.pid
        # Where the page's downloads go (Page.downloaded).
        self.downloads = os.path.join(self.profile, "downloads")
        os.mkdir(self.downloads)
        self.tab = None
        try:
            port = driver.wait_for(self._port, startup_timeout, "Chromium's DevTools port")
            self.endpoint = "http://127.0.0.1:%s" % port
            target = driver.wait_for(self._page_target, startup_timeout, "Chromium's first tab")
            self.tab = DevTools(target["webSocketDebuggerUrl"])
        except BaseException:
            self.stop()
            raise

    def _port(self):
        if self.process.poll() is not None:
            raise driver.DriverError("Chromium ended at start (status %s)"
                                     % self.process.returncode)
        try:
            with open(os.path.join(self.profile, "DevToolsActivePort")) as f:
                return f.readline().strip() or None
        except OSError:
            return None

    def _page_target(self):
        with urllib.request.urlopen(self.endpoint + "/json/list", timeout=10) as answer:
            targets = json.load(answer)
        pages = [t for t in targets if t.get("type") == "page"]
        return pages[0] if pages else None

    def stop(self):
        try:
            if self.tab is not None:
                try:
                    self.tab.call("Browser.close", timeout=5)
                except Exception:
                    pass
                self.tab.close()
        finally:
            try:
                # Without DevTools nothing has asked it to close: no point waiting.
                self.process.wait(timeout=10 if self.tab is not None else 0)
            except subprocess.TimeoutExpired:
                driver._stop(self.process)
            self.log.close()
            shutil.rmtree(self.profile, ignore_errors=True)


# ---- Keys: xdotool's names, as the native cases use them, to DOM key events.

_NAMED_KEYS = {
    "Up": ("ArrowUp", 38), "Down": ("ArrowDown", 40),
    "Left": ("ArrowLeft", 37), "Right": ("ArrowRight", 39),
    "Prior": ("PageUp", 33), "Page_Up": ("PageUp", 33),
    "Next": ("PageDown", 34), "Page_Down": ("PageDown", 34),
    "End": ("End", 35), "Home": ("Home", 36), "Escape": ("Escape", 27), "F1": ("F1", 112),
    "Tab": ("Tab", 9), "Return": ("Enter", 13),
}
_SHIFT = 8


def key_event(name):
    """Input.dispatchKeyEvent fields for a key (without its type)."""
    if name in _NAMED_KEYS:
        key, code = _NAMED_KEYS[name]
        # Enter types a character: that is what presses a focused button.
        typed = {"text": "\r", "unmodifiedText": "\r"} if key == "Enter" else {}
        return dict(key=key, code=key, windowsVirtualKeyCode=code, **typed)
    char = {"plus": "+", "minus": "-", "space": " "}.get(name, name)
    if len(char) != 1:
        raise driver.DriverError("no key event for %r" % name)
    if char.isalpha():
        code, shifted = ord(char.upper()), char.isupper()
        dom_code = "Key" + char.upper()
    elif char.isdigit():
        code, shifted, dom_code = ord(char), False, "Digit" + char
    else:
        code, shifted, dom_code = {"+": (187, True, "Equal"), "-": (189, False, "Minus"),
                                   " ": (32, False, "Space")}[char]
    return {"key": char, "code": dom_code, "windowsVirtualKeyCode": code, "text": char,
            "unmodifiedText": char, "modifiers": _SHIFT if shifted else 0}


def on_module(adapt):
    """A script, run before the page's own, that hands the runtime's Module object to the
    JavaScript function `adapt` when the page first sets it, before the runtime reads it."""
    return """(() => {
    const adapt = %s;
    let module;
    Object.defineProperty(window, 'Module', {configurable: true, get: () => module,
        set: value => {
            if (value && !value.orvessaAdapted) {
                value.orvessaAdapted = true;
                adapt(value);
            }
            module = value;
        }});
})()""" % adapt


# The page always makes its textures. To start it as the desktop program starts in a folder
# without them, this script removes them from the program's folder once they are loaded and
# before main runs.
WITHOUT_TEXTURES = on_module("""module => {
    const next = module.onRuntimeInitialized;
    module.onRuntimeInitialized = () => {
        for (const name of %s) module.FS.unlink(name);
        if (next) next();
    };
}""" % json.dumps(TEXTURE_FILES))


class Page:
    """The program in the browser tab, with the interface of driver.Program: frame(), press(),
    keys(), quit(), running(); plus drop() for files, drag() across the view, reload(), open()
    of another address, downloaded() files, console_errors() and, on a phone, touch() and
    tap()."""

    def __init__(self, tab, url, before_page=(), startup_timeout=90, phone=False,
                 downloads=None):
        """before_page: scripts run before the page's own, such as WITHOUT_TEXTURES. phone:
        the page on a phone (PHONE, touch on) instead of a 1024 x 768 desktop window.
        downloads: the folder the page's downloads go to."""
        self.tab = tab
        self.phone = phone
        self.downloads, self.downloads_taken = downloads, set()
        if downloads:
            tab.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=downloads)
        tab.call("Page.enable")
        tab.call("Runtime.enable")
        tab.call("Log.enable")  # the browser's own messages, such as a refused request
        if phone:
            tab.call("Emulation.setDeviceMetricsOverride", **PHONE)
            tab.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        else:
            # Headless Chromium's window keeps room for browser controls it does not draw:
            # the page gets the whole window as the native program gets the whole screen.
            self.resize(*WINDOW)
        for script in before_page:
            tab.call("Page.addScriptToEvaluateOnNewDocument", source=script)
        tab.call("Page.navigate", url=url)
        # A page that ended at start (no WebGL) draws no frame.
        self.wait_for_page("orvessaPage.frames >= 1 || orvessaPage.exitStatus !== null",
                           startup_timeout, "the page's first frame")

    def resize(self, width, height):
        self.tab.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                      deviceScaleFactor=1, mobile=False)

    def console_errors(self):
        """The errors the page has logged so far: console.error calls, uncaught exceptions and
        rejections, and the browser's own error messages."""
        self.value("0")  # takes in the events sent so far
        found = []
        for event in self.tab.events:
            method, params = event["method"], event["params"]
            if method == "Runtime.consoleAPICalled" and params["type"] == "error":
                found.append(" ".join(str(arg.get("value", arg.get("description")))
                                      for arg in params["args"]))
            elif method == "Runtime.exceptionThrown":
                details = params["exceptionDetails"]
                found.append(details.get("exception", {}).get("description") or details["text"])
            elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
                found.append(params["entry"]["text"])
        return found

    def reload(self, what="the reloaded page's first frame", timeout=90):
        """Loads the page again, in the same browser, and waits for its first frame."""
        self._load_again(lambda: self.tab.call("Page.reload"), what, timeout)

    def open(self, url, what="the opened page's first frame", timeout=90):
        """Opens an address in the same tab (a link to the page, say) and waits for the page's
        first frame there; also where the address differs from the one shown only after '#'."""
        self._load_again(lambda: self.navigate(url), what, timeout)

    def navigate(self, url):
        self.tab.call("Page.navigate", url=url)

    def _load_again(self, go, what, timeout):
        self.value("window.orvessaReloading = true")
        go()

        def started():
            try:
                return self.value("typeof orvessaReloading == 'undefined' && "
                                  "typeof orvessaPage == 'object' && orvessaPage.frames >= 1")
            except driver.DriverError:
                return False  # between two documents

        driver.wait_for(started, timeout, what, interval=0.1)

    def downloaded(self, timeout=60):
        """The name and bytes of the next file the page has downloaded, once it is whole."""
        def finished():
            names = sorted(os.listdir(self.downloads))
            if any(name.endswith((".crdownload", ".part")) for name in names):
                return None
            new = [name for name in names if name not in self.downloads_taken]
            return new[0] if new else None

        name = driver.wait_for(finished, timeout, "a downloaded file", interval=0.1)
        self.downloads_taken.add(name)
        with open(os.path.join(self.downloads, name), "rb") as f:
            return name, f.read()

    def state(self):
        return self.tab.evaluate("JSON.stringify(orvessaPage)")

    def value(self, expression):
        return self.tab.evaluate(expression)

    def wait_for_page(self, expression, timeout, what):
        def holds():
            return self.tab.evaluate("typeof orvessaPage == 'object' && !!(%s)" % expression)

        return driver.wait_for(holds, timeout, what, interval=0.05)

    def running(self):
        return self.value("orvessaPage.exitStatus === null")

    def keys(self, *names):
        """Presses and releases each key in turn; returns once the page has handled them."""
        for name in names:
            event = key_event(name)
            self.tab.call("Input.dispatchKeyEvent", type="keyDown", **event)
            up = {k: v for k, v in event.items() if k not in ("text", "unmodifiedText")}
            self.tab.call("Input.dispatchKeyEvent", type="keyUp", **up)

    def settle(self):
        """Two animation frames: whatever the last event asked to draw has been drawn."""
        self.tab.evaluate("new Promise(done => requestAnimationFrame(() => "
                          "requestAnimationFrame(done)))")

    def screenshot(self):
        params = {}
        if self.phone:
            # One pixel per CSS pixel: the camera model needs no more, and the frame decodes
            # nine times faster.
            params["clip"] = {"x": 0, "y": 0, "width": PHONE["width"], "height": PHONE["height"],
                              "scale": 1 / PHONE["deviceScaleFactor"]}
        shot = self.tab.call("Page.captureScreenshot", format="png", optimizeForSpeed=True,
                             **params)
        return parse_png(base64.b64decode(shot["data"]))

    def rects(self, selector):
        """The rectangles (x, y, width, height, in CSS pixels) of the shown elements that
        match a selector, in document order."""
        return self.value("""Array.from(document.querySelectorAll(%s))
            .map(e => e.getBoundingClientRect()).filter(r => r.width > 0 && r.height > 0)
            .map(r => [r.x, r.y, r.width, r.height])""" % json.dumps(selector))

    def touch(self, selectors, seconds=0.0):
        """Puts a finger on the middle of each element (one each, all at once), holds them
        for `seconds`, and lifts them."""
        points = []
        for number, selector in enumerate(selectors):
            found = self.rects(selector)
            if not found:
                raise driver.DriverError("nothing to touch at %s" % selector)
            x, y, width, height = found[0]
            points.append({"x": x + width / 2, "y": y + height / 2, "id": number + 1})
        self.tab.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=points)
        if seconds:
            time.sleep(seconds)
        self.tab.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def drag(self, points):
        """Drags across the page through points (x, y in CSS pixels), the first where it
        starts: a finger on a phone, the mouse with its left button held on a desktop."""
        if self.phone:
            kinds = ["touchStart"] + ["touchMove"] * (len(points) - 1)
            for kind, (x, y) in zip(kinds, points):
                self.tab.call("Input.dispatchTouchEvent", type=kind,
                              touchPoints=[{"x": x, "y": y, "id": 1}])
            self.tab.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        else:
            kinds = ["mousePressed"] + ["mouseMoved"] * (len(points) - 1)
            for kind, (x, y) in zip(kinds, points):
                self.tab.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                              buttons=1, clickCount=1)
            x, y = points[-1]
            self.tab.call("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y,
                          button="left", buttons=0, clickCount=1)
        self.settle()

    def move_mouse(self, points):
        """Moves the mouse, no button held, through points (x, y in CSS pixels)."""
        for x, y in points:
            self.tab.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y, buttons=0)
        self.settle()

    def tap(self, selector, timeout=60):
        """Taps an element that presses a key, and returns the frame it leads to."""
        drawn = self.value("orvessaPage.frames")
        self.touch([selector])
        self.wait_for_page("orvessaPage.frames > %d" % drawn, timeout, "a frame after a tap on %s"
                           % selector)
        return self.frame(timeout)

    def frame(self, timeout=60):
        """The page once drawing has settled and two screenshots in a row agree."""
        self.settle()
        previous = self.screenshot()
        deadline = time.monotonic() + timeout
        while True:
            self.settle()
            current = self.screenshot()
            if current == previous:
                return current
            if time.monotonic() > deadline:
                raise driver.DriverError("the page did not settle")
            previous = current

    def press(self, *names, timeout=60):
        """Presses keys while the program runs and returns the frame they lead to."""
        if not self.running():
            raise driver.DriverError("the program has ended")
        drawn = self.value("orvessaPage.frames")
        self.keys(*names)
        self.wait_for_page("orvessaPage.frames > %d" % drawn, timeout, "a frame after %s"
                           % " ".join(names))
        return self.frame(timeout)

    def click(self, selector):
        """A tap on a phone, a mouse click on a desktop: whatever a person would do."""
        if self.phone:
            self.touch([selector])
            return
        x, y, width, height = self.rects(selector)[0]
        for kind in ("mousePressed", "mouseReleased"):
            self.tab.call("Input.dispatchMouseEvent", type=kind, x=x + width / 2,
                          y=y + height / 2, button="left", clickCount=1)

    def choose_picture(self, texture, path, timeout=60):
        """Puts a picture on a surface with the Pictures control: the control, the surface's
        button, then the file given to the picker that opens. Returns the frame that shows it."""
        self.tab.call("Page.setInterceptFileChooserDialog", enabled=True)
        shown = self.value("orvessaPage.pictures")
        self.click("[data-pictures]")
        surface = '[data-file="%s"]' % texture
        self.wait_for_page("document.querySelector(%s).offsetWidth > 0" % json.dumps(surface),
                           timeout, "the surfaces to choose from")
        self.click(surface)
        chooser = self.tab.wait_event("Page.fileChooserOpened", timeout)
        self.tab.call("DOM.setFileInputFiles", files=[os.path.abspath(path)],
                      backendNodeId=chooser["backendNodeId"])
        self.wait_for_page("orvessaPage.pictures > %d" % shown, timeout, "the picture to show")
        return self.frame(timeout)

    def file(self, name):
        """The bytes of a file in the program's working folder."""
        return bytes(self.value("Array.from(Module.FS.readFile(%s))" % json.dumps(name)))

    def drop(self, paths, timeout=60):
        """Drops files on the page, from script as the tests' drag would, and waits until the
        page has written them."""
        files = []
        for path in paths:
            with open(path, "rb") as f:
                files.append([os.path.basename(path), base64.b64encode(f.read()).decode()])
        drops = self.value("orvessaPage.drops")
        self.tab.evaluate("""(() => {
            const transfer = new DataTransfer();
            for (const [name, data] of %s) {
                const bytes = Uint8Array.from(atob(data), c => c.charCodeAt(0));
                transfer.items.add(new File([bytes], name));
            }
            document.body.dispatchEvent(new DragEvent('drop', {
                dataTransfer: transfer, bubbles: true, cancelable: true}));
        })()""" % json.dumps(files))
        self.wait_for_page("orvessaPage.drops > %d" % drops, timeout, "the dropped files")

    def quit(self, timeout=60):
        """Presses Escape and returns the program's exit status."""
        self.keys("Escape")
        self.wait_for_page("orvessaPage.exitStatus !== null", timeout, "the program to end")
        return self.value("orvessaPage.exitStatus")


class Session:
    """The site, Chromium and the page on it; closes all of them on exit."""

    # What serves the site folder: Site, or a subclass (a site that can go away).
    site_class = Site

    def __init__(self, site_folder, log=None, before_page=(), phone=False):
        self.site_folder, self.log, self.before_page = site_folder, log, before_page
        self.phone = phone
        self.site = self.browser = self.page = None

    def start_browser(self):
        return Chromium(log=self.log)

    def open_page(self):
        return Page(self.browser.tab, self.site.url, self.before_page, phone=self.phone,
                    downloads=self.browser.downloads)

    def __enter__(self):
        self.site = self.site_class(self.site_folder)
        try:
            self.browser = self.start_browser()
            self.page = self.open_page()
            return self.page
        except BaseException:
            self.__exit__()
            raise

    def __exit__(self, *exc):
        try:
            if self.browser is not None:
                self.browser.stop()
        finally:
            # A case may have stopped the site already (the network gone).
            if self.site.thread.is_alive():
                self.site.stop()
        return False
