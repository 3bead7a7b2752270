"""Texture files dropped on the page: the native reload case (a replaced file shows at the next
ordinary key, not at arrow keys); a picture of odd width shows unskewed; and a file not named
like a texture is ignored with a short note, which the next key press takes away."""

import unittest

import bmp_files
import test_reload
import web_case
import scene_model as model

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


if __name__ == "__main__":
    unittest.main()
