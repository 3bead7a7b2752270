"""The first frame: with one plain colour per texture, read from a folder whose name is not
ASCII, the hall wall, the lawn, the water, a minaret and the white sky appear where the start
pose and the projection put them. The web page's icons, kept in the source tree, still show
the start view."""

import os
import re
import shutil
import subprocess
import sys
import unittest

import e2e_case
import scene_model as model

sys.path.insert(0, os.path.join(e2e_case.HERE, "..", "..", "packaging"))
import render_icon  # noqa: E402  (the icons' own renderer, for its crop)

BUILD_DIR = e2e_case.BUILD_DIR
WEB_ICONS = os.path.join(e2e_case.HERE, "..", "..", "web", "icon-%d.png")
# Root mean square difference, 0 to 1. The icons' 32 colours and another machine's GL driver
# stay near 0.03; a changed texture or view goes well past this.
ICON_DIFFERENCE = 0.06

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
    # Letters beyond ASCII, and beyond the Windows code pages, on the way to the textures.
    folder_name = " Zoë's pictures, Ζωή"

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


class WebIcons(e2e_case.E2ECase):
    def test_web_icons_show_the_start_view_with_the_shipped_textures(self):
        for name in model.TEXTURE_FILES:
            shutil.copy(os.path.join(BUILD_DIR, name), self.workdir)
        frame_png = self.path("start.png")
        with self.session() as program:
            self.keep(program.frame(), "start").save_png(frame_png)
            self.assertEqual(program.quit(), 0)
        for size in (192, 512):
            expected = self.path("expected-%d.png" % size)
            subprocess.run([render_icon.CONVERT, frame_png, "-crop", render_icon.CROP, "+repage",
                            "-resize", "%dx%d" % (size, size), expected], check=True)
            compared = subprocess.run(["/usr/bin/compare", "-metric", "RMSE", expected,
                                       WEB_ICONS % size, "null:"], capture_output=True, text=True)
            difference = re.search(r"\(([0-9.e-]+)\)", compared.stderr)
            self.assertIsNotNone(difference, compared.stderr)
            self.assertLess(float(difference.group(1)), ICON_DIFFERENCE,
                            "web/icon-%d.png no longer shows the start view: run "
                            "tools/web_icons.sh" % size)


if __name__ == "__main__":
    unittest.main()
