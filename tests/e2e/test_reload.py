"""Textures are read from disk again at ordinary key presses: a replaced file shows after "i",
and a deleted one leaves the picture last loaded."""

import os
import unittest

import bmp_files
import e2e_case
import scene_model as model

NEW_WALL = (230, 140, 20)


class Reload(e2e_case.E2ECase):
    def test_replaced_texture_appears_and_deleted_one_stays(self):
        self.write_textures()
        start = model.start_pose()
        new_wall = {model.WALL: NEW_WALL}
        with self.session() as program:
            self.assert_shows(program.frame(), start, "start")

            bmp_files.solid(self.path(model.WALL), NEW_WALL)
            # Arrow keys read no files: still the old wall, seen from three steps on.
            self.assert_shows(program.press("Up", "Up", "Up"),
                              model.after(start, "Up", "Up", "Up"), "replaced, 3 Up")
            # "i" reads them, and puts the camera back where it started.
            self.assert_shows(program.press("i"), start, "replaced, i", palette=new_wall)

            os.remove(self.path(model.WALL))
            self.assert_shows(program.press("Right", "Up"), model.after(start, "Right", "Up"),
                              "deleted, Right Up", palette=new_wall)
            self.assert_shows(program.press("i"), start, "deleted, i", palette=new_wall)
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
