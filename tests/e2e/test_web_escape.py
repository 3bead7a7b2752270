"""Escape ends the program in the page as on the desktop, with status 0, in Chromium and in
WebKit: the page says it has ended and how to start again, and keys change nothing afterwards.
In full screen, which the guide's control enters, the first Escape only leaves full screen: with
the page's own keys (Chromium and WebKit), and in Chromium and Firefox showing their windows on
a private Xvfb, with real clicks and keys from the X server, where the browser itself leaves
full screen and keeps the key from the page."""

import unittest

import browser
import driver
import firefox
import web_case
import webkit
import scene_model as model

# Run before the page's own scripts: every key the page is handed, before any of its listeners.
RECORD_KEYS = ("window.keysSeen = []; "
               "addEventListener('keydown', event => keysSeen.push(event.key), true);")
# Where the middle of the guide's Full screen control is on the X screen.
FULL_SCREEN_CONTROL = """(rect => [
    rect.x + rect.width / 2 + (window.mozInnerScreenX ?? screenX + outerWidth - innerWidth),
    rect.y + rect.height / 2 + (window.mozInnerScreenY ?? screenY + outerHeight - innerHeight)])
    (document.querySelector('#guide [data-fullscreen]').getBoundingClientRect())"""


def open_on_display(name, url, display, log):
    """Chromium or Firefox showing the page on an X display; returns (browser, its tab)."""
    if name == "chromium":
        shown = browser.Chromium(log=log, display=display)
        shown.tab.call("Page.enable")
        shown.tab.call("Page.addScriptToEvaluateOnNewDocument", source=RECORD_KEYS)
        shown.tab.call("Page.navigate", url=url)
        return shown, shown.tab
    shown = firefox.Firefox(log=log, display=display)
    shown.bidi.call("script.addPreloadScript", functionDeclaration="() => { %s }" % RECORD_KEYS)
    shown.bidi.call("browsingContext.navigate", context=shown.bidi.context, url=url,
                    wait="complete")
    return shown, shown.bidi


class WebEscape(web_case.WebCase):
    def test_escape_ends_with_status_0_and_later_keys_change_nothing(self):
        self.write_textures()
        with self.session() as page:
            self.assert_shows(page.press("Up"), model.after(model.start_pose(), "Up"), "Up")
            self.assertEqual(page.quit(), 0)
            ended = self.keep(page.frame(), "ended")
            message = page.value("document.getElementById('ended').innerText")
            self.assertIn("ended", message)
            self.assertIn("Reload", message)
            drawn = page.value("orvessaPage.frames")

            page.keys("Up", "Left", "a", "i", "Escape")
            if page.frame() != ended:
                self.fail_with_frames("keys after Escape changed the page")
            self.assertEqual(page.value("orvessaPage.frames"), drawn, "frames drawn after Escape")
            self.assertEqual(page.value("orvessaPage.exitStatus"), 0)

    def test_in_full_screen_escape_leaves_it_and_the_next_one_ends(self):
        self.write_textures()
        with self.session() as page:
            page.keys("F1")  # the guide, with its Full screen control
            page.click("#guide [data-fullscreen]")
            page.wait_for_page("document.fullscreenElement === document.documentElement", 30,
                               "full screen")
            page.wait_for_page("!document.querySelector('#guide [data-fullscreen]').offsetWidth",
                               30, "the control to go in full screen")
            page.keys("Escape")
            page.wait_for_page("document.fullscreenElement === null", 30, "full screen left")
            self.assertTrue(page.running(), "Escape in full screen ended the program")
            self.assert_shows(page.press("Up"), model.after(model.start_pose(), "Up"), "Up")
            self.assertEqual(page.quit(), 0)


class WebKitEscape(WebEscape):
    """The same in WebKit (MiniBrowser): Escape ends the page, in full screen the second one."""
    browser_session = webkit.Session

    def require(self):
        super().require()
        webkit.require_tools()


class RealEscapeInFullScreen(web_case.WebCase):
    def require(self):
        super().require()
        driver.require_tools()
        firefox.require_tools()

    def test_the_browser_leaves_full_screen_at_escape_and_the_next_one_ends(self):
        for name in ("chromium", "firefox"):
            with self.subTest(name):
                self.check_real_escape(name)

    def check_real_escape(self, name):
        x = driver.XServer(log=self.path(name + "-xvfb.log"))
        site = browser.Site(web_case.SITE)
        shown = None
        try:
            shown, tab = open_on_display(name, site.url, x.display, self.path(name + ".log"))

            def wait(expression, what, timeout=90):
                driver.wait_for(lambda: tab.evaluate(expression), timeout, what, interval=0.1)

            wait("typeof orvessaPage == 'object' && orvessaPage.frames >= 1", "the first frame")
            wait("document.querySelector('#guide [data-fullscreen]').offsetWidth > 0",
                 "the guide's Full screen control")
            # A window just mapped may not take the first click yet: a person clicks again.
            for attempt in range(5):
                col, row = tab.evaluate(FULL_SCREEN_CONTROL)
                x.run("xdotool", "mousemove", str(round(col)), str(round(row)), "click", "1")
                try:
                    wait("document.fullscreenElement !== null", "full screen", timeout=10)
                    break
                except driver.DriverError:
                    if attempt == 4:
                        raise
            x.run("xdotool", "key", "Escape")
            wait("document.fullscreenElement === null", "full screen left")
            wait("new Promise(done => requestAnimationFrame(() => requestAnimationFrame(() => "
                 "done(true))))", "two frames")
            self.assertEqual(tab.evaluate("keysSeen"), [], "the page was handed the Escape")
            self.assertEqual(tab.evaluate("orvessaPage.exitStatus"), None)
            x.run("xdotool", "key", "Escape")
            wait("orvessaPage.exitStatus === 0", "the program to end")
            self.assertEqual(tab.evaluate("keysSeen"), ["Escape"])
        finally:
            try:
                if shown is not None:
                    shown.stop()
            finally:
                site.stop()
                x.stop()


if __name__ == "__main__":
    unittest.main()
