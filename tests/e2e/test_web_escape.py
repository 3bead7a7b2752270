"""Escape ends the program in the page as on the desktop, with status 0: the page says it has
ended and how to start again, and keys change nothing afterwards. In full screen, which the
guide's control enters, the first Escape only leaves full screen."""

import unittest

import web_case
import scene_model as model


class WebEscape(web_case.WebCase):
    def test_escape_ends_with_status_0_and_later_keys_change_nothing(self):
        self.write_textures()
        with self.session() as page:
            self.assert_shows(page.press("Up"), model.after(model.start_pose(), "Up"), "Up")
            self.assertEqual(page.quit(), 0)
            ended = self.keep(page.frame(), "ended")
            message = page.value("document.getElementById('ended').innerText")
            self.assertIn("ended", message)
            self.assertIn("Reload", message)
            drawn = page.value("orvessaPage.frames")

            page.keys("Up", "Left", "a", "i", "Escape")
            if page.frame() != ended:
                self.fail_with_frames("keys after Escape changed the page")
            self.assertEqual(page.value("orvessaPage.frames"), drawn, "frames drawn after Escape")
            self.assertEqual(page.value("orvessaPage.exitStatus"), 0)

    def test_in_full_screen_escape_leaves_it_and_the_next_one_ends(self):
        self.write_textures()
        with self.session() as page:
            page.keys("F1")  # the guide, with its Full screen control
            page.click("#guide [data-fullscreen]")
            page.wait_for_page("document.fullscreenElement === document.documentElement", 30,
                               "full screen")
            page.wait_for_page("!document.querySelector('#guide [data-fullscreen]').offsetWidth",
                               30, "the control to go in full screen")
            page.keys("Escape")
            page.wait_for_page("document.fullscreenElement === null", 30, "full screen left")
            self.assertTrue(page.running(), "Escape in full screen ended the program")
            self.assert_shows(page.press("Up"), model.after(model.start_pose(), "Up"), "Up")
            self.assertEqual(page.quit(), 0)


if __name__ == "__main__":
    unittest.main()
