"""The page's guide and on-screen controls. On a phone: each control presses its key (a tap
gives the frame the camera model predicts for that key), holding one repeats it like a
keyboard's auto-repeat, two held at once both act, and the look and slide controls show the
program's modes. On a desktop: no control, a guide that F1 shows and hides without the program
seeing it, and nothing over the view once a key is pressed."""

import time
import unittest

import web_case
import scene_model as model

# Each control's key (its data-key, a DOM key name) as the camera model names it.
CONTROLS = {"ArrowUp": "Up", "ArrowDown": "Down", "ArrowLeft": "Left", "ArrowRight": "Right",
            "PageUp": "Prior", "PageDown": "Next", "End": "End", "+": "plus", "-": "minus",
            "p": "p", "s": "s", "i": "i"}
ON_SCREEN = ".pad button, [data-pictures]"
MODES = """['p', 's'].map(key =>
    document.querySelector('[data-key="' + key + '"]').getAttribute('aria-pressed'))"""
# A keyboard's auto-repeat, as the controls keep it: a press, then after 400 ms one every 40 ms.
REPEAT_DELAY, REPEAT_INTERVAL = 0.4, 0.04


def control(key):
    return '[data-key="%s"]' % key


def walk(presses):
    walker = model.Walker(model.start_pose())
    for key in presses:
        walker.press(CONTROLS[key])
    return walker.pose


class PhoneControls(web_case.WebCase):
    checkered = True
    phone = True

    def assert_pose(self, page, frame, pose, label):
        # The controls are see-through: the view under them is left out.
        self.assert_shows(frame, pose, label, step=12, covered=page.rects(ON_SCREEN))

    def presses(self, page):
        return page.value("orvessaPage.controlPresses")

    def test_each_tap_gives_the_frame_of_its_key_and_the_modes_show(self):
        self.write_textures()
        with self.session() as page:
            width, height = page.value("[innerWidth, innerHeight]")
            middle = (width / 4, height / 4, width * 3 / 4, height * 3 / 4)
            for key in CONTROLS:
                found = page.rects(control(key))
                self.assertEqual(len(found), 1, key)
                x, y, w, h = found[0]
                self.assertGreaterEqual(min(w, h), 44, "%s: smaller than a finger" % key)
                overlaps = x < middle[2] and x + w > middle[0] and y < middle[3] and y + h > middle[1]
                self.assertFalse(overlaps, "%s: covers the middle of the view" % key)

            page.keys("F1")
            self.assertTrue(page.rects("#guide .for-touch"), "the guide names the controls")
            self.assertFalse(page.rects("#guide .for-keys"))
            page.keys("F1")

            walker = model.Walker(model.start_pose())
            taps = ["ArrowUp", "ArrowUp", "ArrowLeft", "PageUp", "+", "+", "ArrowRight",
                    "ArrowDown", "PageDown", "-", "End", "End", "i", "s", "ArrowLeft", "p",
                    "ArrowUp"]
            for number, key in enumerate(taps):
                walker.press(CONTROLS[key])
                frame = page.tap(control(key))
                self.assert_pose(page, frame, walker.pose, "%d: tap %s" % (number, key))
                self.assertEqual(page.value(MODES),
                                 [str(walker.look_mode).lower(), str(walker.slide_mode).lower()])
            self.assertEqual(self.presses(page), taps)
            # The modes shown are the program's, also when a key changed them.
            page.press("p")
            self.assertEqual(page.value(MODES), ["false", "true"])
            self.assertEqual(page.quit(), 0)

    def test_a_held_control_repeats_and_two_held_both_act(self):
        self.write_textures()
        with self.session() as page:
            began = time.monotonic()
            page.touch([control("ArrowLeft")], seconds=2.0)
            held = time.monotonic() - began
            page.settle()
            presses = self.presses(page)
            # At most the press, the first repeat at 400 ms and one every 40 ms after it; at
            # least half that rate on a busy machine.
            most = 2 + int((held - REPEAT_DELAY) / REPEAT_INTERVAL)
            least = 1 + int((2.0 - REPEAT_DELAY) / REPEAT_INTERVAL) // 2
            self.assertTrue(least <= len(presses) <= most,
                            "%d presses in a hold of %.2f s" % (len(presses), held))
            self.assertEqual(set(presses), {"ArrowLeft"})
            self.assert_pose(page, page.frame(), walk(presses), "held Left")

            page.touch([control("ArrowUp"), control("ArrowRight")], seconds=1.0)
            page.settle()
            both = self.presses(page)[len(presses):]
            for key in ("ArrowUp", "ArrowRight"):
                self.assertGreater(both.count(key), 2, "%s held with another: %s" % (key, both))
            self.assert_pose(page, page.frame(), walk(presses + both), "held Up and Right")
            self.assertEqual(page.quit(), 0)


class DesktopGuide(web_case.WebCase):
    def test_no_controls_and_a_guide_that_f1_shows_and_hides(self):
        self.write_textures()
        start = model.start_pose()
        with self.session() as page:
            self.assertEqual(page.rects(ON_SCREEN), [], "controls on a desktop")
            before = self.keep(page.frame(), "guide put away")
            drawn = page.value("orvessaPage.frames")
            page.keys("F1")
            self.assertTrue(page.rects("#guide .for-keys"), "F1 shows the guide to the keys")
            self.assertFalse(page.rects("#guide .for-touch"))
            self.assertEqual(len(page.rects("[data-pictures]")), 1, "Pictures with the guide")
            with_guide = self.keep(page.frame(), "guide shown")
            self.assertNotEqual(with_guide, before)
            page.keys("F1")
            if page.frame() != before:
                self.fail_with_frames("F1 twice changed the view")
            # The program never saw F1: a key it sees asks for a frame.
            self.assertEqual(page.value("orvessaPage.frames"), drawn)

            # Any other key puts the guide away, and then the whole frame is the scene.
            page.keys("F1")
            self.assert_shows(page.press("a"), start, "guide, then a")
            self.assertEqual(page.rects(ON_SCREEN), [])
            self.assertEqual(page.quit(), 0)


if __name__ == "__main__":
    unittest.main()
