"""The page's Share and Save. A link made after a walk (modes, rolls, reloads, a turn round, a
return to the start with two directions refused) opens at the very frame it was made from, its
first, with the guide's place taken by a line at the edge; the next presses there do what they
do in the walk it came from, refused directions included, and reloads read the pictures again.
The link was copied to the clipboard. A link of a thousand reloads replays in a moment. The
saved PNG is the canvas, pixel for pixel, at its size in device pixels. Links the page did not
make (junk, a megabyte, cut, reversed, a billion presses, unknown letters) open at once, at the
start or at what they hold that is usable, with a note, and keys work after them. On a phone,
taps on the controls and a swipe make the link, and the share sheet gets the link and the
picture. The same link and picture in Firefox."""

import time
import unittest

import bmp_files
import browser
import firefox
import web_case
import scene_model as model

LINK_FIELD = "document.querySelector('[data-share-link]').value"
HINT_SHOWN = "!document.getElementById('guide-hint').hidden"
NOTE = "getComputedStyle(note).display == 'block' ? note.textContent : null"
SAVED_NAME = r"orvessa-\d{4}-\d\d-\d\d-\d{6}\.png"

# Two directions refused (Page Down at the ground, Up in the hall's margin), then only the
# camera moved (roll, reload, turn round) before the start: those presses count for nothing
# and the link leaves them out, but the refused directions stay. Then look mode, slide mode
# and look mode off again.
WALK = ["Next", "Next"] + ["Up"] * 43 + ["plus", "a", "End", "i", "p", "s", "p"]
# The case's own textures are shown by a reload ("a", web_case) before the walk: x.
WALK_LINK = "view=xd2f43ipspz"
# After the link is made: presses that take the recovery step of a refused direction.
AFTER = ["Down", "Prior"]
NEW_LAWN = (250, 130, 20)


def walker_after(keys):
    walker = model.Walker(model.start_pose())
    for key in keys:
        walker.press(key)
    return walker


def press_on_page(case, page, selector):
    """Shows the guide (with Pictures, Share and Save on a desktop), clicks a control, and puts
    the guide away again; F1 never reaches the program."""
    if not case.phone:
        page.keys("F1")
    page.click(selector)
    if not case.phone:
        page.keys("F1")


def make_link(case, page):
    press_on_page(case, page, "[data-share]")
    page.wait_for_page("%s !== ''" % LINK_FIELD, 10, "the link")
    return page.value(LINK_FIELD)


def save(case, page):
    """The file the Save control downloads: its name and what it shows."""
    press_on_page(case, page, "[data-save]")
    name, data = page.downloaded()
    case.assertRegex(name, SAVED_NAME)
    return browser.parse_png(data)


def opened_at_shared_view(case, page, link):
    """Opens a link and returns its first frame, uncovered: the line where the guide would be
    goes with F1, the guide with F1 again, and neither reaches the program."""
    page.open(link)
    case.assertTrue(page.value(HINT_SHOWN), "a shared view says where the guide is")
    case.assertFalse(page.value(web_case.GUIDE_SHOWN), "the guide covers a shared view")
    page.keys("F1", "F1")
    first = case.keep(page.frame(), "opened " + link)
    case.assertEqual(page.value("orvessaPage.frames"), 1, "the first frame is the view")
    return first


class ShareAndSave(web_case.WebCase):
    checkered = True

    def test_a_link_opens_at_its_view_and_goes_on_as_the_walk_would(self):
        self.write_textures()
        with self.session() as page:
            made_from = self.keep(page.press(*WALK), "walked")
            walker = walker_after(WALK)
            self.assert_shows(made_from, walker.pose, "walked")
            self.assertEqual(walker.refused, {"Up", "Next"})

            picture = self.keep(save(self, page), "saved")
            if picture != made_from:
                self.fail_with_frames("the saved picture is not the view")

            link = make_link(self, page)
            self.assertEqual(link, page.value("location.href") + "#" + WALK_LINK)
            self.assertLess(len(link), 300)
            page.wait_for_page("document.getElementById('share-status').textContent == "
                               "'Copied to the clipboard.'", 10, "the link copied")
            page.tab.call("Browser.grantPermissions", permissions=["clipboardReadWrite"])
            self.assertEqual(page.value("navigator.clipboard.readText()"), link)

            then = [page.press(key) for key in AFTER]
            if opened_at_shared_view(self, page, link) != made_from:
                self.fail_with_frames("the link's first frame is not the view it was made from")
            # The harness's reload and the walk, less the three presses the start undid.
            self.assertEqual(page.value("orvessaShare.replayed"), 1 + len(WALK) - 3)
            for number, key in enumerate(AFTER):
                walker.press(key)
                frame = page.press(key)
                self.assert_shows(frame, walker.pose, "opened, " + key)
                if frame != then[number]:
                    self.fail_with_frames("%s after the link does not do what it did after "
                                          "the walk" % key)
            # The recovery steps are seen: without the refused directions the frame differs.
            self.assert_grids_differ(
                model.expected_grid(walker_after(WALK[-4:] + AFTER).pose),
                model.expected_grid(walker.pose), 10, "with and without refused directions")
            # After the replay every ordinary key reads the pictures again, as always.
            bmp_files.solid(self.path(model.LAWN), NEW_LAWN)
            self.assert_shows(page.press("a"), walker.pose, "opened, a new lawn, a",
                              palette={model.LAWN: NEW_LAWN})

            # A thousand reloads, 12 reads and uploads of the pictures each (about 10 ms on
            # this machine), replay with the pictures the program holds in a moment.
            page.open(link.split("#")[0] + "#view=x1000z")
            self.assertEqual(page.value("orvessaShare.replayed"), 1000)
            self.assertLess(page.value("orvessaShare.replayMs"), 1000)
            page.keys("F1", "F1")
            self.assert_shows(page.frame(), model.start_pose(), "a thousand reloads",
                              palette={model.LAWN: NEW_LAWN})
            self.assertEqual(page.console_errors(), [])
            self.assertEqual(page.quit(), 0)


# Links the page did not make: what follows '#', the presses replayed (the camera model's key,
# how many), and what the note must say.
BAD_LINKS = [
    ("hello,%20world!", [], "no view"),
    ("z5l01f=weiv", [], "no view"),  # view=f10l5z backwards
    ("view=" + "K%7E" * (1 << 18), [], "1,048,576 characters that name no key"),  # a megabyte
    ("view=f10l5", [("Up", 10), ("Left", 5)], "cut short"),
    ("view=f1000000000z", [("Up", 10000)], "more than 10,000 presses"),
    ("view=f10Q3l5z", [("Up", 10), ("Left", 5)], "2 characters that name no key"),
    ("view=f5zl5", [("Up", 5)], "after its end"),
    ("view=f0lz", [("Left", 1)], "2 characters"),
]


class BadLinks(web_case.WebCase):
    def test_links_the_page_did_not_make_open_at_what_they_hold_with_a_note(self):
        self.write_textures()
        with self.session() as page:
            base = page.value("location.href")
            for fragment, runs, says in BAD_LINKS:
                label = fragment[:24]
                began = time.monotonic()
                page.open(base + "#" + fragment)
                took = time.monotonic() - began
                self.assertLess(took, 20, "%s: opened in %.1f s" % (label, took))
                presses = sum(count for _, count in runs)
                self.assertEqual(page.value("orvessaShare.replayed"), presses, label)
                self.assertIn(says, page.value(NOTE) or "", label)
                # Where nothing was replayed, the guide; else the line saying where it is.
                page.keys(*(["F1", "F1"] if presses else ["F1"]))
                walker = walker_after(key for key, count in runs for _ in range(count))
                self.assert_shows(page.frame(), walker.pose, label, covered=page.rects("#note"))
                walker.press("Left")
                self.assert_shows(page.press("Left"), walker.pose, label + ", Left")
            self.assertEqual(page.console_errors(), [])
            self.assertEqual(page.quit(), 0)


# The share sheet of a phone, standing in for the browser's (none in headless Chromium on
# Linux): it takes links and PNG files, and keeps what it was given.
STAND_IN_SHARE_SHEET = """(() => {
    const given = window.orvessaTestShared = [];
    Navigator.prototype.canShare = data => !data.files ||
        data.files.every(file => file.type === 'image/png');
    Navigator.prototype.share = data => {
        const files = (data.files || []).map(file => file.arrayBuffer().then(bytes =>
            ({name: file.name, bytes: Array.from(new Uint8Array(bytes))})));
        return Promise.all(files).then(files => { given.push({url: data.url, files}); });
    };
})()"""

# Taps on the controls and a swipe to the right (six steps left, in slide mode: the view follows
# the finger) make a phone's walk.
PHONE_TAPS = ["ArrowUp", "ArrowUp", "ArrowUp", "s", "ArrowLeft", "ArrowLeft", "-"]
PHONE_WALK = ["Up", "Up", "Up", "s", "Left", "Left", "minus"] + ["Left"] * 6


class PhoneShareAndSave(web_case.WebCase):
    checkered = True
    phone = True

    def test_controls_and_a_swipe_make_the_link_and_the_sheet_gets_it_and_the_picture(self):
        self.write_textures()
        with self.session(before_page=[STAND_IN_SHARE_SHEET]) as page:
            for key in PHONE_TAPS:
                page.tap('[data-key="%s"]' % key)
            width, height = page.value("[innerWidth, innerHeight]")
            page.drag([(width / 2 + x * width / 60, height / 2) for x in (0, 2, 4, 6.5)])
            walker = walker_after(PHONE_WALK)
            made_from = self.keep(page.frame(), "walked")

            link = make_link(self, page)
            self.assertTrue(link.endswith("#view=xf3sl2cl6z"), link)
            page.wait_for_page("orvessaTestShared.length == 1", 10, "the share sheet")
            self.assertEqual(page.value("orvessaTestShared[0].url"), link)

            page.click("[data-save]")
            page.wait_for_page("orvessaTestShared.length == 2", 30, "the picture shared")
            shared = page.value("orvessaTestShared[1].files")
            self.assertEqual(len(shared), 1)
            self.assertRegex(shared[0]["name"], SAVED_NAME)
            picture = browser.parse_png(bytes(shared[0]["bytes"]))
            # The canvas's own pixels: three to each of the page's, nothing of the controls.
            self.assertEqual((picture.width, picture.height), (3 * width, 3 * height))
            self.assert_shows(picture, walker.pose, "saved", step=72)

            page.open(link)
            first = self.keep(page.frame(), "opened")
            self.assertEqual(page.value("orvessaPage.frames"), 1)
            # The controls over the view, and the line where the guide would be (with its
            # shadow), are not the view.
            self.assertTrue(page.value(HINT_SHOWN))
            covered = [(x - 12, y - 12, w + 24, h + 24) for x, y, w, h in
                       page.rects(".pad button, #page-pad button, #guide-hint")]
            if not web_case.same_outside(first, made_from, covered):
                self.fail_with_frames("the link's first frame is not the view it was made from")
            self.assertEqual(page.quit(), 0)


class FirefoxShareAndSave(web_case.WebCase):
    checkered = True
    browser_session = firefox.Session

    def require(self):
        super().require()
        firefox.require_tools()

    def test_a_link_opens_at_its_view_and_the_saved_picture_is_the_canvas(self):
        self.write_textures()
        with self.session() as page:
            made_from = self.keep(page.press(*WALK), "walked")
            picture = self.keep(save(self, page), "saved")
            if picture != made_from:
                self.fail_with_frames("the saved picture is not the view")
            link = make_link(self, page)
            self.assertTrue(link.endswith("#" + WALK_LINK), link)
            after = page.press(AFTER[0])
            if opened_at_shared_view(self, page, link) != made_from:
                self.fail_with_frames("the link's first frame is not the view it was made from")
            if page.press(AFTER[0]) != after:
                self.fail_with_frames("%s after the link does not do what it did after the walk"
                                      % AFTER[0])
            self.assertEqual(page.console_errors(), [])
            self.assertEqual(page.quit(), 0)


if __name__ == "__main__":
    unittest.main()
