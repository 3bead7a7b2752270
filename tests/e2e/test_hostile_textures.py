"""Broken texture files, at start and at a reload: the program keeps running, keeps drawing the
surfaces whose files are sound, answers keys, and Escape still ends it with status 0.

What a broken file itself shows is the reader's choice, so its surfaces are not checked."""

import unittest

import bmp_files
import e2e_case
import scene_model as model

BROKEN = {
    model.WALL: bmp_files.truncated_in_pixels,
    model.ROOF: bmp_files.truncated_in_header,
    model.WATER: bmp_files.huge_claim,  # 54 bytes claiming 30000 x 30000
    model.MINARET: bmp_files.negative_width,
    model.BORDER: bmp_files.random_bytes,
}
# Over sound files at a reload: a folder and an empty file in their place, and cut ones.
REPLACING = {
    model.WALL: bmp_files.folder,
    model.ROOF: bmp_files.empty,
    model.WATER: bmp_files.truncated_in_header,
    model.MINARET: bmp_files.truncated_in_pixels,
    model.BORDER: bmp_files.huge_claim,
}
SOUND = (model.LAWN, model.SKY)


class HostileTextures(e2e_case.E2ECase):
    def write_broken(self, table=BROKEN):
        for name, make in table.items():
            make(self.path(name))

    def test_broken_files_at_start(self):
        self.write_textures([model.LAWN])
        self.write_broken()
        start = model.start_pose()
        with self.session() as program:
            self.assert_shows(program.frame(), start, "start", only=SOUND)
            self.assert_shows(program.press("a"), start, "a", only=SOUND)
            self.assert_shows(program.press("Up", "Up", "Left"),
                              model.after(start, "Up", "Up", "Left"), "Up Up Left", only=SOUND)
            self.assertEqual(program.quit(), 0)

    def test_broken_files_replacing_sound_ones(self):
        self.write_textures()
        start = model.start_pose()
        with self.session() as program:
            self.assert_shows(program.frame(), start, "start")
            self.write_broken(REPLACING)
            self.assert_shows(program.press("a"), start, "broken, a", only=SOUND)
            self.assert_shows(program.press("Down", "Down", "i"), start, "broken, i", only=SOUND)
            self.assert_shows(program.press("Right", "Right"),
                              model.after(start, "Right", "Right"), "Right Right", only=SOUND)
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
