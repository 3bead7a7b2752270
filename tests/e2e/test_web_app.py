"""The page as an app: its manifest loads and Chromium finds nothing against installing it; the
textures it makes are the native build's, byte for byte; after one visit it starts and answers
keys with the server gone, and starts with the pictures it kept; and a rebuild that changes one
file replaces the offline copy."""

import hashlib
import json
import os
import re
import shutil
import subprocess
import unittest

import browser
import driver
import e2e_case
import web_case
import scene_model as model

BUILD_DIR = os.environ.get("ORVESSA_BUILD_DIR", os.path.dirname(e2e_case.BINARY))
WEB_SOURCE = os.path.join(e2e_case.HERE, "..", "..", "web")


class ClosingSite(browser.Site):
    """The site, able to go away as a lost network does: http.server's handler threads would go
    on answering the connections the browser opened ahead of need, so those close too."""

    def __init__(self, folder):
        super().__init__(folder)
        self.connections = []
        get_request = self.server.get_request

        def recorded():
            connection = get_request()
            self.connections.append(connection[0])
            return connection

        self.server.get_request = recorded

    def stop(self):
        self.server.shutdown()
        for connection in self.connections:
            try:
                connection.shutdown(2)
            except OSError:
                pass
            connection.close()
        self.server.server_close()
        self.thread.join()


class AppSession(browser.Session):
    """The site (a copy, when the case changes it), Chromium and the page; the site can stop
    while the browser stays."""

    site_class = ClosingSite

    def __init__(self, case, folder):
        super().__init__(folder, log=case.path("chromium.log"))
        self.case = case

    def __enter__(self):
        super().__enter__()
        return self

    def value(self, expression):
        return self.page.value(expression)

    def wait(self, expression, what, timeout=60):
        def holds():
            try:
                return self.value(expression)
            except driver.DriverError:
                return False  # between two documents

        return driver.wait_for(holds, timeout, what, interval=0.1)

    def cache_once_kept(self):
        """The offline cache's name, once the service worker has filled it and taken over."""
        self.wait("navigator.serviceWorker.controller !== null && "
                  "navigator.serviceWorker.controller.state === 'activated'",
                  "the service worker to take over")
        names = self.value("caches.keys()")
        self.case.assertEqual(len(names), 1, names)
        return names[0]

    def reload(self, what):
        self.page.reload(what)
        web_case.put_guide_away(self.page)

    def go_offline(self):
        self.site.stop()
        # Nothing may come from the browser's HTTP cache either: only the worker's copy.
        self.page.tab.call("Network.clearBrowserCache")


class WebApp(web_case.WebCase):
    def site_copy(self):
        folder = os.path.join(self.workdir, "site")
        shutil.copytree(web_case.SITE, folder)
        return folder

    def assert_shipped_start(self, frame, label):
        """The start view with the textures the page makes: green lawn, blue water, white sky."""
        self.keep(frame, label)
        for (col, row), surface in model.expected_grid(model.start_pose()).items():
            r, g, b = frame.pixel(col, row)
            ok = {model.SKY: (r, g, b) == (255, 255, 255), model.LAWN: g > r and g > b,
                  model.WATER: b > r and b > g}.get(surface, True)
            if not ok:
                self.fail_with_frames("%s: (%d, %d) should show %s, shows %s"
                                      % (label, col, row, surface, (r, g, b)))

    def test_manifest_loads_and_chromium_finds_no_installability_errors(self):
        with AppSession(self, web_case.SITE) as app:
            tab = app.page.tab
            manifest = tab.call("Page.getAppManifest")
            self.assertEqual(manifest.get("errors"), [])
            data = json.loads(manifest["data"])
            self.assertEqual((data["name"], data["short_name"], data["display"]),
                             ("Orvessa", "Orvessa", "fullscreen"))
            icons = {(icon["src"], icon["sizes"], icon.get("purpose", "any"))
                     for icon in data["icons"]}
            self.assertLessEqual({("icon-192.png", "192x192", "any"),
                                  ("icon-512.png", "512x512", "any"),
                                  ("icon-512.png", "512x512", "maskable")}, icons)
            self.assertEqual(tab.call("Page.getInstallabilityErrors")["installabilityErrors"],
                             [])

    def test_textures_the_page_makes_are_the_native_builds_byte_for_byte(self):
        with AppSession(self, web_case.SITE) as app:
            names = list(browser.TEXTURE_FILES)
            made = web_case.digests(app.page, names)
        for name, digest in zip(names, made):
            with open(os.path.join(BUILD_DIR, name), "rb") as native:
                self.assertEqual(digest, hashlib.sha256(native.read()).hexdigest(), name)

    def test_after_one_visit_the_page_starts_and_answers_keys_without_the_server(self):
        start = model.start_pose()
        with AppSession(self, web_case.SITE) as app:
            app.cache_once_kept()
            app.go_offline()
            app.reload("the page started offline")
            self.assert_shipped_start(app.page.frame(), "offline start")
            # Keys, checked on plain textures dropped on the page, as the other cases do.
            self.write_textures()
            page = web_case.FolderPage(app.page, self.workdir)
            self.assert_shows(page.press("a"), start, "offline, plain textures")
            self.assert_shows(page.press("Up"), model.after(start, "Up"), "offline, Up")
            # The dropped pictures were kept: offline too, the next start's first frame has them.
            app.reload("the page started offline again")
            self.assertEqual(sorted(app.value("orvessaPage.keptAtStart")),
                             sorted(model.TEXTURE_FILES))
            self.assert_shows(app.page.frame(), start, "offline, kept pictures")

    def test_a_rebuild_that_changes_one_file_replaces_the_offline_copy(self):
        site = self.site_copy()
        with open(os.path.join(site, "sw.js")) as worker:
            kept = list(json.loads(re.search(r"var FILES = (\{.*?\});", worker.read(),
                                             re.S).group(1)))
        with AppSession(self, site) as app:
            before = app.cache_once_kept()
            # The rebuild: one changed file, then the build's own step that writes the worker.
            with open(os.path.join(site, "app.js"), "a") as changed:
                changed.write("\nwindow.orvessaRebuilt = true;\n")
            subprocess.run(["cmake", "-DSITE=" + site, "-DFILES=" + ";".join(kept),
                            "-DTEMPLATE=" + os.path.join(WEB_SOURCE, "sw.js.in"), "-P",
                            os.path.join(WEB_SOURCE, "service_worker.cmake")], check=True)
            app.reload("the page after the rebuild")
            self.assertTrue(app.value("window.orvessaRebuilt === true"), "the changed file")
            app.wait("caches.keys().then(names => names.length == 1 && names[0] != %s)"
                     % json.dumps(before), "the new build's cache in place of the old")
            app.go_offline()
            app.reload("the page offline after the rebuild")
            self.assertTrue(app.value("window.orvessaRebuilt === true"),
                            "the changed file, offline")
            self.assert_shipped_start(app.page.frame(), "offline after the rebuild")


if __name__ == "__main__":
    unittest.main()
