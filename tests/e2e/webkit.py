"""The web cases' driver for WebKit: Debian's WebKitGTK, its MiniBrowser shown on a private
Xvfb (it has no headless mode) with WebGL on Mesa's llvmpipe, driven by WebKitWebDriver over
classic WebDriver (JSON over HTTP, Python's standard library). Its Page has browser.Page's
interface (frame, press, keys, quit...), so the web cases run on it unchanged; only what speaks
the protocol differs. Classic WebDriver runs no script before the page's own and reads no
console, so neither is offered here.
"""

import base64
import glob
import json
import os
import socket
import subprocess
import urllib.error
import urllib.request

import browser
import driver
import webdriver_input

WEBDRIVER = "/usr/bin/WebKitWebDriver"
# webkit2gtk-driver's WebKitWebDriver starts the browser it is given; MiniBrowser comes with
# the WebKitGTK library, in the folder of this machine's architecture.
MINIBROWSER_PATTERN = "/usr/lib/*/webkit2gtk-4.1/MiniBrowser"

def minibrowser():
    found = sorted(glob.glob(MINIBROWSER_PATTERN))
    return found[0] if found else None


def require_tools():
    if not os.access(WEBDRIVER, os.X_OK) or not minibrowser():
        raise driver.DriverError("no %s or MiniBrowser (tools/deps.sh installs webkit2gtk-driver)"
                                 % WEBDRIVER)
    driver.require_tools()


def _free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class WebDriver:
    """One classic WebDriver session: commands as HTTP requests to the driver."""

    def __init__(self, address):
        self.address, self.session = address, ""

    def call(self, method, path, body=None, timeout=60):
        request = urllib.request.Request(
            self.address + self.session + path, method=method,
            data=None if body is None else json.dumps(body).encode(),
            headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=timeout) as answer:
                return json.load(answer)["value"]
        except urllib.error.HTTPError as error:
            body = error.read()
            try:
                value = json.loads(body)["value"]
                body = "%s: %s" % (value.get("error"), value.get("message"))
            except (ValueError, KeyError, AttributeError):
                pass
            raise driver.DriverError("%s %s failed (%d): %s" % (method, path, error.code, body))
        except OSError as error:
            raise driver.DriverError("%s %s failed: %s" % (method, path, error))

    def start(self, capabilities):
        value = self.call("POST", "/session", {"capabilities": {"alwaysMatch": capabilities}})
        self.session = "/session/" + value["sessionId"]

    def evaluate(self, expression, timeout=60):
        """The value of a page expression (awaited if a promise), through JSON."""
        result = self.call("POST", "/execute/async", timeout=timeout, body={"args": [], "script": (
            "const done = arguments[arguments.length - 1];"
            "Promise.resolve().then(() => (%s)).then("
            "value => done([JSON.stringify(value)]), error => done(String(error)));"
            % expression)})
        if not isinstance(result, list):
            raise driver.DriverError("page script failed: %s\n%s" % (result, expression))
        return None if result[0] is None else json.loads(result[0])

    def actions(self, actions):
        self.call("POST", "/actions", {"actions": actions})

    def close(self):
        if self.session:
            try:
                self.call("DELETE", "", timeout=10)
            except driver.DriverError:
                pass
            self.session = ""


class WebKit:
    """MiniBrowser on a private Xvfb, with a fresh profile, and its WebDriver session."""

    def __init__(self, log=None, startup_timeout=60):
        self.log = open(log or os.devnull, "wb")
        self.x = driver.XServer()
        self.process = self.webdriver = None
        try:
            port = _free_port()
            self.process = subprocess.Popen(
                [WEBDRIVER, "--port=%d" % port], stdin=subprocess.DEVNULL, stdout=self.log,
                stderr=self.log, env=self.x.env())
            self.webdriver = WebDriver("http://127.0.0.1:%d" % port)
            driver.wait_for(self._ready, startup_timeout, "WebKitWebDriver", interval=0.1)
            self.webdriver.start({"webkitgtk:browserOptions": {
                "binary": minibrowser(), "args": ["--automation"]}})
        except BaseException:
            self.stop()
            raise

    def _ready(self):
        if self.process.poll() is not None:
            raise driver.DriverError("WebKitWebDriver ended at start (status %s)"
                                     % self.process.returncode)
        try:
            return self.webdriver.call("GET", "/status", timeout=5).get("ready")
        except driver.DriverError:
            return False

    def stop(self):
        try:
            if self.webdriver is not None:
                self.webdriver.close()  # closes MiniBrowser
        finally:
            driver._stop(self.process)
            self.x.stop()
            self.log.close()


class Page(browser.Page):
    """browser.Page on WebKit: the same waits and checks over classic WebDriver."""

    def __init__(self, webdriver, url, before_page=(), startup_timeout=90, phone=False,
                 downloads=None):
        if before_page or phone or downloads:
            raise driver.DriverError("the WebKit page runs without scripts before the page's "
                                     "own, at the desktop size and without downloads")
        self.tab = webdriver
        self.phone = False
        self.resize(*browser.WINDOW)
        webdriver.call("POST", "/url", {"url": url}, timeout=startup_timeout)
        self.wait_for_page("orvessaPage.frames >= 1", startup_timeout, "the page's first frame")

    def resize(self, width, height):
        """The page (not the window, which has MiniBrowser's tool bar around it) at a size."""
        self.tab.call("POST", "/window/rect", {"width": width, "height": height})
        inner = self.value("[innerWidth, innerHeight]")
        self.tab.call("POST", "/window/rect", {"width": 2 * width - inner[0],
                                               "height": 2 * height - inner[1]})
        driver.wait_for(lambda: self.value("[innerWidth, innerHeight]") == [width, height], 30,
                        "the page at %d x %d" % (width, height), interval=0.1)

    def console_errors(self):
        raise driver.DriverError("classic WebDriver does not read the console")

    def navigate(self, url):
        self.tab.call("POST", "/url", {"url": url})

    def click(self, selector):
        """A click of the mouse's left button on the middle of an element."""
        self.tab.actions(webdriver_input.click(self.rects(selector)[0]))

    def keys(self, *names):
        """Presses and releases each key in turn, as a keyboard's driver would."""
        self.tab.actions(webdriver_input.key_presses(names))

    def screenshot(self):
        return browser.parse_png(base64.b64decode(self.tab.call("GET", "/screenshot")))


class Session(browser.Session):
    """The site, WebKit and the page on it; closes all of them on exit."""

    def start_browser(self):
        return WebKit(log=self.log)

    def open_page(self):
        return Page(self.browser.webdriver, self.site.url, self.before_page, phone=self.phone)
