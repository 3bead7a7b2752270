"""The web cases' driver for Firefox: the system firefox-esr, headless, with WebGL on Mesa's
llvmpipe, driven over WebDriver BiDi. Its Page has browser.Page's interface (frame, press,
keys, drop, quit...), so the web cases run on it unchanged; only what speaks the protocol
differs: opening the page, key events, screenshots and page scripts.
"""

import base64
import json
import os
import re
import shutil
import subprocess
import tempfile

import browser
import driver
import webdriver_input

FIREFOX = "/usr/bin/firefox-esr"

# WebGL in headless Firefox needs both; it then draws with Mesa's llvmpipe. The rest keeps a
# fresh profile quiet on a machine without network.
PREFERENCES = {
    "webgl.force-enabled": True,
    "browser.shell.checkDefaultBrowser": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False,
    "app.update.disabledForTesting": True,
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
}

def require_tools():
    if not os.access(FIREFOX, os.X_OK):
        raise driver.DriverError("no %s (tools/deps.sh installs firefox-esr)" % FIREFOX)


class BiDi(browser.Connection):
    """One WebDriver BiDi session, on the browser's first tab."""

    def __init__(self, url, timeout=60):
        super().__init__(url, timeout)
        self.call("session.new", capabilities={"alwaysMatch": {"acceptInsecureCerts": True}})
        self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]

    def call(self, method, timeout=60, **params):
        message = self.send(method, params, timeout)
        if message.get("type") == "error":
            raise driver.DriverError("%s failed: %s: %s" % (method, message.get("error"),
                                                            message.get("message")))
        return message.get("result", {})

    def evaluate(self, expression, timeout=60):
        """The value of a page expression (awaited if a promise), through JSON."""
        result = self.call("script.evaluate", timeout=timeout, awaitPromise=True,
                           target={"context": self.context},
                           expression="(async () => JSON.stringify(await (%s)))()" % expression)
        if result.get("type") != "success":
            details = result.get("exceptionDetails", {})
            raise driver.DriverError("page script failed: %s\n%s" % (details.get("text"),
                                                                     expression))
        text = result["result"].get("value")
        return None if text is None else json.loads(text)

    def close(self):
        try:
            self.call("session.end", timeout=5)
        except Exception:
            pass
        super().close()


class Firefox:
    """firefox-esr, headless, with a fresh profile; its BiDi session on the first tab. With an
    X `display` it shows its window there instead (as browser.Chromium does)."""

    def __init__(self, log=None, startup_timeout=60, display=None):
        self.profile = tempfile.mkdtemp(prefix="orvessa-firefox-")
        # Where the page's downloads go, without asking (Page.downloaded).
        self.downloads = os.path.join(self.profile, "downloads")
        os.mkdir(self.downloads)
        preferences = dict(PREFERENCES, **{"browser.download.dir": self.downloads,
                                           "browser.download.folderList": 2,
                                           "browser.download.useDownloadDir": True})
        with open(os.path.join(self.profile, "user.js"), "w") as prefs:
            for name, value in preferences.items():
                prefs.write("user_pref(%s, %s);\n" % (json.dumps(name), json.dumps(value)))
        self.log_path = os.path.join(self.profile, "firefox.log")
        self.log = open(self.log_path, "wb")
        self.copy_log_to = log
        env = dict(os.environ, MOZ_WEBGL_FORCE_EGL="1")
        if display:
            env["DISPLAY"] = display
        self.process = subprocess.Popen(
            [FIREFOX] + ([] if display else ["--headless"]) +
            ["--remote-debugging-port=0", "--no-remote", "--profile", self.profile,
             "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log, env=env)
        self.bidi = None
        try:
            url = driver.wait_for(self._bidi_url, startup_timeout, "Firefox's BiDi address")
            self.bidi = BiDi(url)
        except BaseException:
            self.stop()
            raise

    def _bidi_url(self):
        if self.process.poll() is not None:
            raise driver.DriverError("Firefox ended at start (status %s)"
                                     % self.process.returncode)
        with open(self.log_path, "rb") as f:
            found = re.search(rb"WebDriver BiDi listening on (ws://\S+)", f.read())
        return found and found.group(1).decode() + "/session"

    def stop(self):
        try:
            if self.bidi is not None:
                self.bidi.close()
        finally:
            driver._stop(self.process)
            self.log.close()
            if self.copy_log_to:
                shutil.copyfile(self.log_path, self.copy_log_to)
            shutil.rmtree(self.profile, ignore_errors=True)


class Page(browser.Page):
    """browser.Page on Firefox: the same waits and checks over WebDriver BiDi."""

    def __init__(self, bidi, url, before_page=(), startup_timeout=90, phone=False,
                 downloads=None):
        if before_page or phone:
            raise driver.DriverError("the Firefox page runs without scripts before the page's "
                                     "own and at the desktop size only")
        self.tab = bidi
        self.phone = False
        self.downloads, self.downloads_taken = downloads, set()
        self.resize(*browser.WINDOW)
        bidi.call("session.subscribe", events=["log.entryAdded"])
        bidi.call("browsingContext.navigate", context=bidi.context, url=url, wait="complete")
        self.wait_for_page("orvessaPage.frames >= 1", startup_timeout, "the page's first frame")

    def resize(self, width, height):
        self.tab.call("browsingContext.setViewport", context=self.tab.context,
                      viewport={"width": width, "height": height})

    def console_errors(self):
        """The errors the page has logged so far: console.error calls and uncaught exceptions
        and rejections."""
        self.value("0")  # takes in the events sent so far
        return [event["params"].get("text") for event in self.tab.events
                if event["method"] == "log.entryAdded" and event["params"]["level"] == "error"]

    def navigate(self, url):
        self.tab.call("browsingContext.navigate", context=self.tab.context, url=url, wait="none")

    def click(self, selector):
        """A click of the mouse's left button on the middle of an element."""
        self.tab.call("input.performActions", context=self.tab.context,
                      actions=webdriver_input.click(self.rects(selector)[0]))

    def keys(self, *names):
        """Presses and releases each key in turn, as a keyboard's driver would."""
        self.tab.call("input.performActions", context=self.tab.context,
                      actions=webdriver_input.key_presses(names))

    def screenshot(self):
        shot = self.tab.call("browsingContext.captureScreenshot", context=self.tab.context)
        return browser.parse_png(base64.b64decode(shot["data"]))


class Session(browser.Session):
    """The site, Firefox and the page on it; closes all of them on exit."""

    def start_browser(self):
        return Firefox(log=self.log)

    def open_page(self):
        return Page(self.browser.bidi, self.site.url, self.before_page, phone=self.phone,
                    downloads=self.browser.downloads)
