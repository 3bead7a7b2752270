"""The first frame: with one plain colour per texture, the hall wall, the lawn, the water, a
minaret and the white sky appear where the start pose and the projection put them."""

import unittest

import e2e_case
import scene_model as model

# World points to look for each surface at; the first one the start pose shows safely inside
# that surface is checked. Sky points lie where nothing is built.
LANDMARKS = {
    model.WALL: [(0, 25, -10), (-20, 30, -10)],
    model.LAWN: [(-20, 0, 40), (20, 0, 30)],
    model.WATER: [(x, 1, z) for z in range(14, 70, 4) for x in (-6, -2, 2, 6)],
    model.MINARET: [(45, 35, -2.5), (47.5, 60, -75), (-45, 60, -77.5)],
    model.SKY: [(-60, 40, -100), (-70, 30, -100), (80, 40, -100)],
}


def landmark_pixel(pose, surface):
    for point in LANDMARKS[surface]:
        pixel = model.project(pose, point)
        if pixel is None:
            continue
        col, row = int(pixel[0]), int(pixel[1])
        if model.safe_surface_at(pose, col, row, margin=4) == surface:
            return point, (col, row)
    return None, None


class StartView(e2e_case.E2ECase):
    def test_landmarks_and_whole_frame_match_the_start_pose(self):
        self.write_textures()
        pose = model.start_pose()
        with self.session() as program:
            frame = self.keep(program.frame(), "start")
            for surface in LANDMARKS:
                point, pixel = landmark_pixel(pose, surface)
                self.assertIsNotNone(pixel, "no landmark of %s in view" % surface)
                self.assert_pixel(frame, pixel, surface, "start view, %s at %s" % (surface, point))
            grid = self.assert_shows(frame, pose, "start")
            # The five must all take part in the grid too, not only at one pixel each.
            for surface in LANDMARKS:
                self.assertIn(surface, grid.values())
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
