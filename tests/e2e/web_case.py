"""Shared set-up for the web cases: the native cases' folder, textures and frame assertions, with
the program in Chromium (browser.py) instead of on an X server.

The page cannot read the case's folder: the files a case writes there reach it the way a user's
do, dropped on the page. They are dropped before the next key press, which is when the native
program would read them. At the start the page shows the textures it ships; when the case has
written textures by then, the session drops them and presses an ordinary key ("a"), which reads
them and leaves the camera where it started.
"""

import json
import os

import browser
import driver
import e2e_case

SITE = os.environ.get("ORVESSA_WEB_DIR",
                      os.path.join(e2e_case.HERE, "..", "..", "build-web", "site"))


class FolderPage:
    """The page, fed from a folder: driver.Program's interface (frame, press, keys, quit,
    running), with the folder's new and changed texture files dropped before each press."""

    def __init__(self, page, folder):
        self.page, self.folder = page, folder
        self.dropped = {}

    def __getattr__(self, name):
        return getattr(self.page, name)

    def drop_changes(self):
        """Drops the texture files written or changed since the last drop; True if any."""
        changed = []
        for name in browser.TEXTURE_FILES:
            path = os.path.join(self.folder, name)
            try:
                with open(path, "rb") as f:
                    data = f.read()
            except FileNotFoundError:
                continue  # as on the desktop, the picture last read stays
            if self.dropped.get(name) != data:
                self.dropped[name] = data
                changed.append(path)
        if changed:
            self.page.drop(changed)
        return bool(changed)

    def press(self, *names, timeout=60):
        self.drop_changes()
        return self.page.press(*names, timeout=timeout)


GUIDE_SHOWN = "!document.getElementById('guide').hidden"


def digests(page, names):
    """The SHA-256 (hex) of files in the program's working folder."""
    return page.value("""Promise.all(%s.map(name =>
        crypto.subtle.digest('SHA-256', Module.FS.readFile(name)).then(d =>
            Array.from(new Uint8Array(d), b => b.toString(16).padStart(2, '0')).join(''))))"""
                      % json.dumps(list(names)))


def put_guide_away(page):
    """The guide to the keys covers the view from the first frame until the first key. F1
    puts it away and never reaches the program, which then shows what it shows on the
    desktop."""
    if not page.value(GUIDE_SHOWN):
        raise driver.DriverError("the page should show its guide with the first frame")
    page.keys("F1")
    page.wait_for_page("!(%s)" % GUIDE_SHOWN, 10, "the guide to go")


def same_outside(a, b, rects):
    """Whether two frames of the same size agree on every pixel outside some rectangles."""
    for row in range(a.height):
        if a.rgb[row * a.width * 3:(row + 1) * a.width * 3] == \
                b.rgb[row * b.width * 3:(row + 1) * b.width * 3]:
            continue
        for col in range(a.width):
            if a.pixel(col, row) != b.pixel(col, row) and \
                    not e2e_case.covered_by(rects, col, row):
                return False
    return True


class WebSession:
    def __init__(self, folder, log, with_textures, phone=False, browser_session=browser.Session,
                 before_page=()):
        before_page = tuple(before_page) + (() if with_textures else (browser.WITHOUT_TEXTURES,))
        self.session = browser_session(SITE, log=log, before_page=before_page, phone=phone)
        self.folder = folder

    def __enter__(self):
        page = FolderPage(self.session.__enter__(), self.folder)
        try:
            put_guide_away(page)
            if page.drop_changes():
                page.page.press("a")
        except BaseException:
            self.session.__exit__()
            raise
        return page

    def __exit__(self, *exc):
        return self.session.__exit__(*exc)


class WebCase(e2e_case.E2ECase):
    # False starts the page without the textures it ships (browser.Page).
    shipped_textures = True
    # True shows the page on a phone with touch (browser.PHONE) instead of a desktop window.
    phone = False
    # Chromium's; firefox.Session runs the page in Firefox.
    browser_session = browser.Session

    def require(self):
        browser.require_tools(SITE)

    def session(self, prefix=(), before_page=()):
        """before_page: scripts run before the page's own (browser.Page)."""
        # Chromium's own log goes beside the textures, where a native case keeps the program's.
        return WebSession(self.workdir, self.path("browser.log"), self.shipped_textures,
                          self.phone, self.browser_session, before_page)
