"""The page's first frame and the start view: the canvas covers the window with the GL viewport
on all of it, also after a resize; the shipped textures are on the lawn and the water; the visit
logs no error; and with one plain colour per texture, the native start-view case's landmarks
and whole frame hold, in Chromium and in WebKit."""

import gzip
import os
import unittest
import urllib.error
import urllib.request

import browser
import driver
import test_start_view
import web_case
import webkit
import scene_model as model

WINDOW_AND_VIEW = ("[innerWidth, innerHeight, Module.canvas.width, Module.canvas.height]"
                   ".concat(Array.from(Module.ctx.getParameter(Module.ctx.VIEWPORT)))")


# What the site folder may hold: the page's own files, nothing of the build around it.
SITE_FILES = ["app.js", "controls.js", "drag.js", "fullscreen.js", "gamepad.js", "icon-192.png",
              "icon-512.png", "index.html", "kept.js", "link.js", "manifest.webmanifest",
              "orvessa.js", "orvessa.wasm", "page.js", "page_pad.js", "pictures.js", "save.js",
              "share.js", "start.js", "sw.js", "texture_worker.js", "textures.wasm"]


class WebStartView(web_case.WebCase, test_start_view.StartView):
    def test_the_server_hands_out_only_the_page(self):
        self.assertEqual(sorted(os.listdir(web_case.SITE)), SITE_FILES)
        site = browser.Site(web_case.SITE)
        try:
            with urllib.request.urlopen(site.url, timeout=10) as answer:
                self.assertIn(b"<canvas", answer.read())
            # Gzipped where the browser accepts it, the file itself where it does not.
            for name in ("", "orvessa.js", "orvessa.wasm"):
                with open(os.path.join(web_case.SITE, name or "index.html"), "rb") as f:
                    expected = f.read()
                for accepted in ("gzip, deflate, br", None):
                    request = urllib.request.Request(site.url + name, headers={
                        "Accept-Encoding": accepted} if accepted else {})
                    with urllib.request.urlopen(request, timeout=10) as answer:
                        body = answer.read()
                        if accepted:
                            self.assertEqual(answer.headers["Content-Encoding"], "gzip", name)
                            body = gzip.decompress(body)
                            self.assertEqual(answer.headers["Vary"], "Accept-Encoding")
                    self.assertEqual(body, expected, "%s, %s" % (name, accepted))
            for path in ("../CMakeCache.txt", "%2e%2e/CMakeCache.txt", "CMakeCache.txt",
                         "../../README.md"):
                with self.assertRaises(urllib.error.HTTPError, msg=path) as refused:
                    urllib.request.urlopen(site.url + path, timeout=10).close()
                self.assertEqual(refused.exception.code, 404, path)
        finally:
            site.stop()

    def test_a_folder_asked_for_without_its_slash_is_redirected_with_an_empty_body(self):
        """A redirect's body is empty, gzip accepted or not: no file's length goes with it."""
        os.makedirs(self.path("site/folder"))
        with open(self.path("site/folder/index.html"), "wb") as f:
            f.write(b"<p>in a folder</p>")
        site = browser.Site(self.path("site"))
        try:
            request = urllib.request.Request(site.url + "folder",
                                             headers={"Accept-Encoding": "gzip"})
            with urllib.request.urlopen(request, timeout=10) as answer:
                self.assertEqual(gzip.decompress(answer.read()), b"<p>in a folder</p>")
        finally:
            site.stop()

    def test_first_frame_fills_the_window_with_the_shipped_textures(self):
        with self.session() as page:
            self.assertRegex(page.value("document.title"), driver.TITLE_PATTERN)
            self.assertEqual(page.value(WINDOW_AND_VIEW), [1024, 768, 1024, 768, 0, 0, 1024, 768])
            first = self.keep(page.frame(), "first frame")
            # The generated grass is green and the water blue; the sky is the white clear colour.
            grid = model.expected_grid(model.start_pose())
            for (col, row), surface in sorted(grid.items()):
                r, g, b = first.pixel(col, row)
                ok = {model.SKY: (r, g, b) == (255, 255, 255),
                      model.LAWN: g > r and g > b,
                      model.WATER: b > r and b > g}.get(surface, True)
                if not ok:
                    self.fail_with_frames("first frame: (%d, %d) should show %s, shows %s"
                                          % (col, row, surface, (r, g, b)))
            for surface in (model.SKY, model.LAWN, model.WATER):
                self.assertIn(surface, grid.values())

            # The canvas and the viewport follow the window, and back.
            page.resize(800, 600)
            self.keep(page.frame(), "800 x 600")
            self.assertEqual(page.value(WINDOW_AND_VIEW), [800, 600, 800, 600, 0, 0, 800, 600])
            page.resize(1024, 768)
            if page.frame() != first:
                self.fail_with_frames("back at 1024 x 768, the frame differs from the first")
            # No error in the console: not the program's refused request for full screen at
            # its start, nor the GL emulation's warnings.
            self.assertEqual(page.console_errors(), [])
            self.assertEqual(page.quit(), 0)


class WebKitStartView(web_case.WebCase, test_start_view.StartView):
    """The native start-view case in WebKit (MiniBrowser): the same frame as the pose gives."""
    browser_session = webkit.Session

    def require(self):
        super().require()
        webkit.require_tools()


if __name__ == "__main__":
    unittest.main()
