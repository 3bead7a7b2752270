"""Pictures on the page's surfaces. Texture files dropped on the page: the native reload case
(a replaced file shows at the next ordinary key, not at arrow keys); a picture of odd width shows
unskewed; a file not named like a texture is ignored with a short note, which the next key press
takes away. Pictures of any format: a JPEG dropped as door.jpg shows on the hall, a file the
browser cannot decode changes nothing; and on a phone, a PNG with a transparent half chosen with
the Pictures control shows at once on the lawn, on white where it is transparent. Pictures kept
across visits: they are in the next visit's first frame, the Pictures menu puts back the built-in
ones (one surface, then all), a kept picture the page cannot use is forgotten with a note, and
where storage is missing or full a picture shows but is not kept, and the note says so."""

import base64
import hashlib
import json
import os
import subprocess
import unittest

import bmp_files
import browser
import e2e_case
import test_reload
import web_case
import scene_model as model

CONVERT = "/usr/bin/convert"

# Five columns by four rows on the front wall: rows of 15 bytes, so a reader or upload that
# assumed 4-byte rows would shift each row by one more byte and mix up the colours.
BANDS = [(230, 30, 30), (30, 200, 30), (30, 30, 230), (220, 200, 20), (20, 190, 200)]
COLS, ROWS = 5, 4


def band_colour(col, row):
    return BANDS[(col + 2 * row) % len(BANDS)]


class WebReload(web_case.WebCase, test_reload.Reload):
    pass


class DroppedFiles(web_case.WebCase):
    def test_odd_width_texture_shows_unskewed(self):
        self.write_textures()
        bmp_files.write(self.path(model.WALL), bmp_files.bmp_bytes(COLS, ROWS, band_colour))
        pose = model.start_pose()
        with self.session() as page:
            frame = self.keep(page.frame(), "odd-width wall")
            self.assert_shows(frame, pose, "odd-width wall", only=[model.LAWN, model.SKY])
            for row in range(ROWS):
                for col in range(COLS):
                    # The front wall: s = (x + 30) / 60 across, t = y / 50 up.
                    point = (-30 + (col + 0.5) * 60 / COLS, (row + 0.5) * 50 / ROWS, -10)
                    pixel = model.project(pose, point)
                    self.assertEqual(model.safe_surface_at(pose, *map(int, pixel), margin=4),
                                     model.WALL, point)
                    self.assert_pixel(frame, pixel, model.WALL, "texel (%d, %d)" % (col, row),
                                      palette={model.WALL: band_colour(col, row)})
            self.assertEqual(page.quit(), 0)

    def test_other_files_are_ignored_with_a_note_until_the_next_key(self):
        self.write_textures()
        notes = self.path("notes.txt")
        bmp_files.write(notes, b"not a picture")
        start = model.start_pose()
        with self.session() as page:
            page.drop([notes])
            self.assertEqual(page.value("orvessaPage.ignored"), ["notes.txt"])
            self.assertFalse(page.value("Module.FS.analyzePath('notes.txt').exists"))
            note = page.value("(note => [getComputedStyle(note).display, note.textContent])"
                              "(document.getElementById('note'))")
            self.assertEqual(note[0], "block")
            self.assertIn("notes.txt", note[1])
            self.assert_shows(page.frame(), start, "note shown", only=[model.WALL])
            # The note is gone with the next key: the whole frame is the scene again.
            self.assert_shows(page.press("a"), start, "a")
            self.assertEqual(page.quit(), 0)

    def test_a_dropped_jpeg_shows_and_an_undecodable_picture_changes_nothing(self):
        self.write_textures()
        red = (200, 60, 40)
        jpeg, broken = self.path("door.jpg"), self.path("grass.png")
        subprocess.run([CONVERT, "-size", "16x16", "xc:rgb%s" % (red,), "-sampling-factor",
                        "1x1", "-quality", "100", jpeg], check=True)
        bmp_files.write(broken, b"\x89PNG\r\n\x1a\n but not a picture")
        start = model.start_pose()
        with self.session() as page:
            page.drop([jpeg])
            self.assertEqual(page.value("orvessaPage.written")[-1:], ["door.bmp"])
            self.assert_shows(page.press("a"), start, "door.jpg, a", palette={model.WALL: red})

            lawn = page.file("grass.bmp")
            page.drop([broken])
            self.assertEqual(page.value("orvessaPage.unreadable"), ["grass.png"])
            self.assertIn("grass.png", page.value("document.getElementById('note').textContent"))
            self.assertEqual(page.file("grass.bmp"), lawn)
            self.assert_shows(page.press("a"), start, "grass.png undecodable, a",
                              palette={model.WALL: red})
            self.assertEqual(page.quit(), 0)


class ChosenPicture(web_case.WebCase):
    phone = True

    def test_a_png_chosen_for_the_lawn_shows_at_once_on_white_where_transparent(self):
        self.write_textures()
        colour, white = (180, 70, 150), (255, 255, 255)
        png = self.path("holiday.png")
        # Left half transparent, right half one colour.
        subprocess.run([CONVERT, "-size", "4x8", "xc:none", "-size", "4x8", "xc:rgb%s" % (colour,),
                        "+append", "+repage", png], check=True)
        start = model.start_pose()
        with self.session() as page:
            frame = page.choose_picture("grass.bmp", png)
            # Stretched to 256 x 256: exact colours but where the scaling blends the halves.
            bmp = page.file("grass.bmp")
            expected = bmp_files.bmp_bytes(256, 256, lambda c, r: white if c < 128 else colour)
            self.assertEqual(bmp[:54], expected[:54])
            for row in range(0, 256, 15):
                for col in list(range(0, 112, 7)) + list(range(144, 256, 7)):
                    at = 54 + 3 * (256 * row + col)
                    self.assertEqual(bmp[at:at + 3], expected[at:at + 3], (col, row))

            # On the lawn, s = 3 (x + 100) / 200: the picture's halves alternate in x.
            size = (frame.width, frame.height)
            covered = page.rects(".pad button, [data-pictures]")
            checked = 0
            for s in [tile + part for tile in range(3) for part in (0.2, 0.3, 0.7, 0.8)]:
                x = s * 200 / 3 - 100
                for z in range(-95, 100, 5):
                    pixel = model.project(start, (x, 0, z), size=size)
                    if pixel is None:
                        continue
                    col, row = map(int, pixel)
                    if not (0 <= col < size[0] and 0 <= row < size[1]) or e2e_case.covered_by(
                            covered, col, row):
                        continue
                    if model.safe_surface_at(start, col, row, size=size) == model.LAWN:
                        self.assert_pixel(frame, pixel, model.LAWN, "lawn at x = %.0f" % x,
                                          palette={model.LAWN: white if s % 1 < 0.5 else colour})
                        checked += 1
            self.assertGreater(checked, 20)
            self.assertEqual(page.quit(), 0)


# Puts a file into the page's storage of kept pictures, as an earlier visit would have.
STORE_KEPT = """new Promise((resolve, reject) => {
    const request = indexedDB.open('orvessa', 1);
    request.onerror = () => reject(request.error);
    request.onsuccess = () => {
        const transaction = request.result.transaction('pictures', 'readwrite');
        transaction.objectStore('pictures').put(
            Uint8Array.from(atob(%s), c => c.charCodeAt(0)), %s);
        transaction.oncomplete = () => { request.result.close(); resolve(true); };
        transaction.onerror = () => reject(transaction.error);
    };
})"""

# Storage as some browsers leave it: missing (no IndexedDB at all), and full.
STORAGE_REFUSED = {
    "missing": "Object.defineProperty(window, 'indexedDB', {value: undefined});",
    "full": """IDBObjectStore.prototype.put = function() {
        throw new DOMException('The quota has been exceeded.', 'QuotaExceededError');
    };""",
}


def built_in_digests(names):
    with_digests = []
    for name in names:
        with open(os.path.join(e2e_case.BUILD_DIR, name), "rb") as native:
            with_digests.append(hashlib.sha256(native.read()).hexdigest())
    return with_digests


class KeptPictures(web_case.WebCase):
    def restore(self, page, selector):
        """Puts built-in pictures back with the Pictures menu; returns the frame after it."""
        restores = page.value("orvessaPage.restores")
        page.keys("F1")  # the guide, and with it the Pictures control
        page.click("[data-pictures]")
        page.wait_for_page("document.querySelector(%s).offsetWidth > 0" % json.dumps(selector),
                           30, "the menu's %s" % selector)
        page.click(selector)
        page.wait_for_page("orvessaPage.restores > %d" % restores, 30, "the pictures put back")
        return page.frame()

    def assert_built_in(self, page, names, label):
        self.assertEqual(web_case.digests(page, names), built_in_digests(names), label)

    def test_kept_pictures_come_back_until_the_built_in_ones_are_put_back(self):
        self.write_textures()  # plain colours, dropped at the start: kept too
        red = (200, 60, 40)
        jpeg = self.path("door.jpg")
        subprocess.run([CONVERT, "-size", "16x16", "xc:rgb%s" % (red,), "-sampling-factor",
                        "1x1", "-quality", "100", jpeg], check=True)
        start = model.start_pose()
        others = [name for name in model.TEXTURE_FILES if name != model.LAWN]
        with self.session() as page:
            page.drop([jpeg])
            self.assertEqual(set(page.value("orvessaPage.kept")), set(model.TEXTURE_FILES))
            self.assertEqual(page.value("orvessaPage.notKept"), [])

            # The next visit: no key has made the program read its files again, so this is
            # what its first set-up read.
            page.reload("the next visit")
            web_case.put_guide_away(page)
            self.assertEqual(sorted(page.value("orvessaPage.keptAtStart")),
                             sorted(model.TEXTURE_FILES))
            self.assert_shows(page.frame(), start, "next visit", palette={model.WALL: red})

            # The lawn alone back, with the menu's ↺ beside it; the rest stay kept.
            frame = self.restore(page, '[data-restore="grass.bmp"]')
            self.assert_built_in(page, [model.LAWN], "the lawn put back")
            self.assert_shows(frame, start, "the lawn put back", only=others,
                              palette={model.WALL: red})
            # Then all of them.
            self.restore(page, '[data-restore=""]')
            self.assert_built_in(page, model.TEXTURE_FILES, "all put back")

            page.reload("the visit after the pictures were put back")
            web_case.put_guide_away(page)
            self.assertEqual(page.value("orvessaPage.keptAtStart"), [])
            self.assert_built_in(page, model.TEXTURE_FILES, "the visit after")

            # Kept pictures the page cannot use (cut short, of a negative width) are forgotten
            # at the next start, with a note; the built-in ones show.
            bmp_files.truncated_in_pixels(self.path("cut.bmp"))
            bmp_files.negative_width(self.path("negative.bmp"))
            for file, name in (("cut.bmp", model.LAWN), ("negative.bmp", model.WATER)):
                with open(self.path(file), "rb") as f:
                    data = base64.b64encode(f.read()).decode()
                page.value(STORE_KEPT % (json.dumps(data), json.dumps(name)))
            page.reload("the visit with unusable kept pictures")
            self.assertEqual(sorted(page.value("orvessaPage.droppedKept")),
                             sorted([model.LAWN, model.WATER]))
            note = page.value("document.getElementById('note').textContent")
            for surface in ("the lawn", "the pool water"):
                self.assertIn(surface, note)
            self.assert_built_in(page, model.TEXTURE_FILES, "unusable kept pictures")
            web_case.put_guide_away(page)
            page.reload("the visit after those were forgotten")
            self.assertEqual(page.value("orvessaPage.droppedKept"), [])
            self.assertEqual(page.quit(), 0)

    def test_where_storage_is_missing_or_full_a_picture_shows_but_is_not_kept(self):
        colour = (150, 90, 30)
        lawn = self.path(model.LAWN)
        for label, script in STORAGE_REFUSED.items():
            with self.subTest(label), self.session(before_page=[script]) as page:
                bmp_files.solid(lawn, colour)
                page.drop([lawn])
                self.assertEqual(page.value("orvessaPage.notKept"), [model.LAWN])
                note = page.value("document.getElementById('note').textContent")
                self.assertIn("could not be kept", note)
                self.assert_shows(page.press("a"), model.start_pose(), label + ", a",
                                  only=[model.LAWN], palette={model.LAWN: colour})
                page.reload(label + ", the next visit")
                self.assertEqual(page.value("orvessaPage.keptAtStart"), [])
                self.assert_built_in(page, [model.LAWN], label)
                self.assertEqual(page.console_errors(), [])
                os.remove(lawn)


if __name__ == "__main__":
    unittest.main()
