"""The page in Firefox: the main keyboard's + and - reach the program and roll the view as the
camera model predicts. Firefox gives those keys other key codes than Chromium (61 and 173), which
the browser runtime's GLUT alone maps to other characters or to none. The visit logs no error."""

import unittest

import firefox
import web_case
import scene_model as model


class FirefoxKeys(web_case.WebCase):
    browser_session = firefox.Session

    def require(self):
        super().require()
        firefox.require_tools()

    def test_plus_and_minus_roll_the_view(self):
        self.write_textures()
        walker = model.Walker(model.start_pose())
        with self.session() as page:
            self.assertEqual(page.value("navigator.userAgent").count("Firefox"), 1)
            for _ in range(10):
                walker.press("plus")
            grid = self.assert_shows(page.press(*["plus"] * 10), walker.pose, "10 +")
            self.assert_grids_differ(model.expected_grid(model.start_pose()), grid, 30,
                                     "the start and 10 +")
            for _ in range(15):
                walker.press("minus")
            self.assert_shows(page.press(*["minus"] * 15), walker.pose, "10 +, 15 -")
            self.assertEqual(page.console_errors(), [])
            self.assertEqual(page.quit(), 0)


if __name__ == "__main__":
    unittest.main()
