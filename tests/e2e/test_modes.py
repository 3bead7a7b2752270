"""The two mode keys: "s" makes Left and Right step sideways instead of turning, "s" again
turns; "p" makes Up and Down tilt the view instead of walking. Then End turns round."""

import unittest

import e2e_case
import scene_model as model


class Modes(e2e_case.E2ECase):
    checkered = True

    def test_slide_then_turn_then_tilt(self):
        self.write_textures()
        walker = model.Walker(model.start_pose())
        with self.session() as program:
            before = walker.pose
            self.assert_shows(program.press("s"), before, "s")

            walker.slide_mode = True
            slid = walker.press("Left")
            frame = program.press("Left")
            self.assert_grids_differ(model.expected_grid(before.yaw(-1)), model.expected_grid(slid),
                                     10, "a turn and a sideways step")
            self.assert_shows(frame, slid, "s, Left")

            self.assert_shows(program.press("s"), slid, "s, Left, s")
            walker.slide_mode = False
            turned = walker.press("Left")
            frame = program.press("Left")
            self.assert_grids_differ(model.expected_grid(slid.slide(-2, 0, 0)),
                                     model.expected_grid(turned), 10,
                                     "a sideways step and a turn")
            self.assert_shows(frame, turned, "s, Left, s, Left")

            self.assert_shows(program.press("p"), turned, "... p")
            walker.look_mode = True
            tilted = walker.press("Up")
            frame = program.press("Up")
            self.assert_grids_differ(model.expected_grid(turned.slide(0, 0, 2)),
                                     model.expected_grid(tilted), 10, "a step and a tilt")
            self.assert_shows(frame, tilted, "... p, Up")

            # End turns round, tilted as it stands: the sky above now lies behind the viewer.
            round_ = walker.press("End")
            frame = program.press("End")
            self.assert_grids_differ(model.expected_grid(tilted), model.expected_grid(round_), 100,
                                     "a view and the view turned round")
            self.assert_shows(frame, round_, "... p, Up, End")
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
