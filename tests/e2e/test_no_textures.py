"""Started in a folder without any of the six texture files: every surface is drawn untextured,
white on the white background, and the program still runs, answers keys and quits cleanly."""

import unittest

import e2e_case
import scene_model as model


class NoTextures(e2e_case.E2ECase):
    def test_white_window_answers_keys_and_escape_exits_0(self):
        with self.session() as program:
            self.assert_all_white(program.frame(), "start")
            self.assert_all_white(program.press("Up", "Up", "Left"), "walk and turn")
            self.assert_all_white(program.press("a"), "reload")
            self.assert_all_white(program.press("p", "Up", "s", "Right", "i"), "modes, reset")
            self.assertTrue(program.running())
            self.assertEqual(program.quit(), 0)

    def test_keys_pressed_while_white_have_moved_the_view(self):
        # Everything is white, so the moves can only be seen once textures arrive: they are
        # written to the folder and loaded by an ordinary key.
        walker = model.Walker(model.start_pose())
        with self.session() as program:
            for key in ("Up",) * 5 + ("Right",) * 3:
                walker.press(key)
            self.assert_all_white(program.press(*["Up"] * 5, *["Right"] * 3), "moved")
            self.write_textures()
            self.assert_shows(program.press("a"), walker.pose, "textures written, a")
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
