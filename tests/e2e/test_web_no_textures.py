"""The page started without its textures, as the desktop program in an empty folder: every
surface is white (untextured, where WebGL would sample black), keys still move the view, and
textures dropped later show at the next ordinary key. Where the browser refuses the worker that
makes the textures, the program starts the same way, and the console says why. Where it offers
no WebGL 2 at all, the page says so instead of staying blank."""

import unittest

import browser
import test_no_textures
import web_case


class WebNoTextures(web_case.WebCase, test_no_textures.NoTextures):
    shipped_textures = False


# Run before the page's scripts: a browser that refuses workers, as some do for a page opened
# from a file.
REFUSED_WORKER = ("window.Worker = function() { "
                  "throw new DOMException('workers refused', 'SecurityError'); };")


class WebTexturesNotMade(web_case.WebCase):
    def test_a_refused_worker_starts_the_program_white(self):
        with self.session(before_page=[REFUSED_WORKER]) as page:
            self.assert_all_white(page.frame(), "start")
            self.assert_all_white(page.press("Up", "Left"), "walk and turn")
            self.assertEqual(page.console_errors(), [
                "The textures could not be made: SecurityError: workers refused"])
            self.assertEqual(page.quit(), 0)


# Run before the page's scripts: a browser that offers no WebGL, or has it turned off.
NO_WEBGL = ("HTMLCanvasElement.prototype.getContext = (get => function(kind, ...rest) { "
            "return /webgl/.test(kind) ? null : get.call(this, kind, ...rest); })"
            "(HTMLCanvasElement.prototype.getContext);")


class WebWithoutWebGL(web_case.WebCase):
    def test_the_page_says_what_it_needs_and_throws_nothing(self):
        # Chromium's session itself: the cases' own (self.session) puts the guide away, which a
        # page that has ended does not show.
        with browser.Session(web_case.SITE, log=self.path("browser.log"),
                             before_page=[NO_WEBGL]) as page:
            self.assertEqual(page.value("orvessaPage.exitStatus"), 1)
            self.assertEqual(page.value("orvessaPage.frames"), 0)
            self.assertIn("needs WebGL 2", page.value("document.getElementById('ended').innerText"))
            self.assertEqual(page.console_errors(), [])


if __name__ == "__main__":
    unittest.main()
