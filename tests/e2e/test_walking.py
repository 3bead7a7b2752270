"""Walking with Up and Down: the view follows the steps, and the walk stops at the hall.

The textures are two-shade checkers, so a frame also shows a step that leaves every surface
where it was (close in front of a wall the squares still grow)."""

import unittest

import e2e_case
import scene_model as model


class Walking(e2e_case.E2ECase):
    checkered = True

    def test_up_walks_stops_at_the_hall_and_down_steps_back(self):
        self.write_textures()
        walker = model.Walker(model.start_pose())
        with self.session() as program:
            start = program.frame()
            start_grid = self.assert_shows(start, walker.pose, "start")

            for _ in range(10):
                walker.press("Up")
            ten = program.press(*["Up"] * 10)
            ten_grid = self.assert_shows(ten, walker.pose, "10 Up")
            self.assert_grids_differ(start_grid, ten_grid, 20, "start and 10 Up")
            # One pixel named: near the wall's end at x = -28 the walk has brought the wall
            # over the pixel where the start view showed the back-left minaret.
            pixel = model.project(walker.pose, (-28, 10, -10))
            self.assertEqual(model.safe_surface_at(model.start_pose(), *map(int, pixel)),
                             model.MINARET)
            self.assert_pixel(start, pixel, model.MINARET, "start, beside the hall")
            self.assert_pixel(ten, pixel, model.WALL, "10 Up, the hall's end wall")

            for _ in range(32):
                walker.press("Up")
            self.assertFalse(walker.refused, "the 42nd press must still be taken")
            self.assertTrue(model.blocked(walker.pose.eye), "the 42nd press must end blocked")
            forty_two = program.press(*["Up"] * 32)
            self.assert_shows(forty_two, walker.pose, "42 Up")

            walker.press("Up")
            self.assertEqual(walker.refused, {"Up"})
            forty_three = self.keep(program.press("Up"), "43 Up")
            if forty_three != forty_two:
                self.fail_with_frames("the 43rd Up press changed the view; it must be refused")

            walker.press("Down")
            down = program.press("Down")
            if down == forty_three:
                self.keep(down, "43 Up, Down")
                self.fail_with_frames("Down after the refused step did not change the view")
            self.assert_shows(down, walker.pose, "43 Up, Down")
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
