"""The page's guide, its on-screen controls, drags and a gamepad. On a phone: each control
presses its key (a tap gives the frame the camera model predicts for that key), holding one
repeats it like a keyboard's auto-repeat, two held at once both act, and the look and slide
controls show the program's modes; a swipe over the view presses arrows, a tap only puts the
guide away, and a swipe from a control never turns the view. On a desktop: no control, a guide
that F1 shows and hides without the program seeing it, nothing over the view once a key is
pressed; dragging with the mouse presses arrows, one per degree of the view, and dragging back
undoes it; and a gamepad (a stand-in for the browser's) held on the D-pad and pushed on the
stick presses arrows as a held control does, its other buttons their keys."""

import time
import unittest

import web_case
import scene_model as model

# Each control's key (its data-key, a DOM key name) as the camera model names it.
CONTROLS = {"ArrowUp": "Up", "ArrowDown": "Down", "ArrowLeft": "Left", "ArrowRight": "Right",
            "PageUp": "Prior", "PageDown": "Next", "End": "End", "+": "plus", "-": "minus",
            "p": "p", "s": "s", "i": "i"}
ON_SCREEN = ".pad button, #page-pad button"
# The page's own controls beside the keys': Pictures, Share and Save.
PAGE_CONTROLS = ["[data-pictures]", "[data-share]", "[data-save]"]
MODES = """['p', 's'].map(key =>
    document.querySelector('[data-key="' + key + '"]').getAttribute('aria-pressed'))"""
# A keyboard's auto-repeat, as the controls keep it: a press, then after 400 ms one every 40 ms.
REPEAT_DELAY, REPEAT_INTERVAL = 0.4, 0.04
REPEATING = {"ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "PageUp", "PageDown", "+", "-"}


def control(key):
    return '[data-key="%s"]' % key


def walk(presses):
    walker = model.Walker(model.start_pose())
    for key in presses:
        walker.press(CONTROLS[key])
    return walker.pose


def assert_repeated(case, presses, seconds, held):
    """A key held for `seconds` (`held` as measured here) pressed as a keyboard's auto-repeat:
    at most the press, the first repeat at 400 ms and one every 40 ms after it; at least half
    that rate on a busy machine."""
    most = 2 + int((held - REPEAT_DELAY) / REPEAT_INTERVAL)
    least = 1 + int((seconds - REPEAT_DELAY) / REPEAT_INTERVAL) // 2
    case.assertTrue(least <= len(presses) <= most,
                    "%d presses in a hold of %.2f s" % (len(presses), held))


# Drags over the view, in degrees of the view (1/60 of its width across, of its height up and
# down; a press each): keys pressed before, the drag's path from the middle of the view (each
# leg in quarter-degree moves), and the presses it must give. The view follows the finger.
DRAGS = [
    ((), [(5.5, 0), (-0.4, 0)], ["ArrowRight"] * 5 + ["ArrowLeft"] * 5),
    ((), [(-3.5, 0.8)], ["ArrowLeft"] * 3),  # the little drift downwards is dropped
    ((), [(0, 4.5), (0, -0.4)], ["ArrowUp"] * 4 + ["ArrowDown"] * 4),
    (("s",), [(3.5, 0)], ["ArrowLeft"] * 3),  # in slide mode: a step left
    (("s", "p"), [(0.3, -2.5)], ["ArrowDown"] * 2),  # in look mode: a tilt down
]


def drag_path(origin, step, legs, moves_per_degree=4):
    points, at = [origin], (0.0, 0.0)
    for to in legs:
        moves = int(max(abs(to[0] - at[0]), abs(to[1] - at[1])) * moves_per_degree) + 1
        for move in range(1, moves + 1):
            x = at[0] + (to[0] - at[0]) * move / moves
            y = at[1] + (to[1] - at[1]) * move / moves
            points.append((origin[0] + x * step[0], origin[1] + y * step[1]))
        at = to
    return points


def check_drags(case, page):
    """Runs DRAGS from the middle of the view; each frame against the camera model."""
    width, height = page.value("[innerWidth, innerHeight]")
    step = (width / 60, height / 60)
    walker = model.Walker(model.start_pose())
    for number, (keys, legs, expected) in enumerate(DRAGS):
        if keys:
            page.press(*keys)
            for key in keys:
                walker.press(key)
        before = len(page.value("orvessaPage.dragPresses"))
        page.drag(drag_path((width / 2, height / 2), step, legs))
        presses = page.value("orvessaPage.dragPresses")[before:]
        case.assertEqual(presses, expected, "drag %d: %s" % (number, legs))
        for key in presses:
            walker.press(CONTROLS[key])
        case.assert_shows(page.frame(), walker.pose, "drag %d" % number, step=12,
                          covered=page.rects(ON_SCREEN))


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
            for key in [control(key) for key in CONTROLS] + PAGE_CONTROLS:
                found = page.rects(key)
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
            assert_repeated(self, presses, 2.0, held)
            self.assertEqual(set(presses), {"ArrowLeft"})
            self.assert_pose(page, page.frame(), walk(presses), "held Left")

            page.touch([control("ArrowUp"), control("ArrowRight")], seconds=1.0)
            page.settle()
            both = self.presses(page)[len(presses):]
            for key in ("ArrowUp", "ArrowRight"):
                self.assertGreater(both.count(key), 2, "%s held with another: %s" % (key, both))
            self.assert_pose(page, page.frame(), walk(presses + both), "held Up and Right")
            self.assertEqual(page.quit(), 0)


    def test_swipes_turn_and_walk_a_tap_puts_the_guide_away_and_controls_stay_controls(self):
        self.write_textures()
        with self.session() as page:
            page.keys("F1")
            width, height = page.value("[innerWidth, innerHeight]")
            page.drag([(width / 2, height / 2)])
            self.assertFalse(page.value(web_case.GUIDE_SHOWN), "a tap puts the guide away")
            self.assertEqual(page.value("orvessaPage.dragPresses"), [], "a tap is no swipe")

            # A swipe that starts on a control is the control's: one press, however far.
            x, y, w, h = page.rects(control("ArrowUp"))[0]
            page.drag([(x + w / 2, y + h / 2 - 50 * i) for i in range(8)])
            self.assertEqual(self.presses(page), ["ArrowUp"])
            self.assertEqual(page.value("orvessaPage.dragPresses"), [])
            page.press("i")

            check_drags(self, page)
            # GLUT's own touch handling would log an error at every swipe.
            self.assertEqual(page.console_errors(), [])
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
            for selector in PAGE_CONTROLS:
                self.assertEqual(len(page.rects(selector)), 1, selector + " with the guide")
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


    def test_a_mouse_move_or_tab_shows_pictures_share_and_save_until_rest_or_a_key(self):
        self.write_textures()
        with self.session() as page:
            view = self.keep(page.frame(), "nothing over the view")
            width, height = page.value("[innerWidth, innerHeight]")
            for number, (come, wait, stay, go) in enumerate(CONTROLS_SHOWN):
                label = "%d: %s" % (number, " ".join(come))
                drawn = page.value("orvessaPage.frames")
                if come == ("mouse",):
                    page.move_mouse([(width / 2 + 9 * step, height / 2) for step in range(4)])
                else:
                    page.keys(*come)
                shown = "#page-pad button, #share-panel"
                # The panel's shadow too.
                covered = [(x - 20, y - 20, w + 40, h + 40) for x, y, w, h in page.rects(shown)]
                self.assertEqual(len(covered), len(PAGE_CONTROLS) + ("Return" in come), label)
                with_controls = self.keep(page.frame(), label)
                if with_controls == view or \
                        not web_case.same_outside(with_controls, view, covered):
                    self.fail_with_frames("%s: the view under the controls changed" % label)
                time.sleep(wait)
                self.assertEqual(len(page.rects(shown)), len(covered) if stay else 0, label)
                # Neither the mouse nor Tab nor Enter on a control reached the program.
                self.assertEqual(page.value("orvessaPage.frames"), drawn, label)
                if go:
                    page.press(go)
                self.assertEqual(page.rects(shown), [], label)
                if page.frame() != view:
                    self.fail_with_frames("%s: the view changed" % label)
            self.assertEqual(page.console_errors(), [])
            self.assertEqual(page.quit(), 0)

    def test_mouse_drags_turn_walk_and_undo_themselves(self):
        self.write_textures()
        with self.session() as page:
            check_drags(self, page)
            self.assertEqual(page.quit(), 0)


# Pictures, Share and Save on a desktop: how they come (a mouse move over the view, Tab to the
# first, Tab Tab Enter to open the Share panel), how long nothing happens then, whether they
# are still there (the mouse at rest puts them away; the keyboard's focus on one keeps them),
# and the key that puts them away (a reload: the view stays as it was).
CONTROLS_SHOWN = [
    (("mouse",), 0, True, "a"),
    (("mouse",), 3.6, False, None),
    (("Tab",), 3.6, True, "a"),
    (("Tab", "Tab", "Return"), 0, True, "a"),
]

# A stand-in for the browser's gamepads, installed before the page's scripts: one pad of the
# standard mapping, none connected until the case says so.
STAND_IN_PAD = """(() => {
    const pad = {index: 0, id: 'Stand-in pad (STANDARD GAMEPAD)', mapping: 'standard',
                 connected: true, timestamp: 0, axes: [0, 0, 0, 0],
                 buttons: Array.from({length: 17}, () => ({pressed: false, touched: false,
                                                           value: 0}))};
    let connected = false;
    let changed = false;
    // When the page first read each change: what it saw of a hold.
    const seen = [];
    Object.defineProperty(Navigator.prototype, 'getGamepads', {configurable: true,
        value: () => {
            if (changed) {
                seen.push(performance.now());
                changed = false;
            }
            return [connected ? pad : null, null, null, null];
        }});
    window.orvessaTestPad = {
        seen,
        connect() {
            connected = true;
            const event = new Event('gamepadconnected');
            event.gamepad = pad;
            dispatchEvent(event);
        },
        button(index, down) {
            pad.buttons[index] = {pressed: down, touched: down, value: down ? 1 : 0};
            changed = true;
        },
        stick(x, y) { pad.axes[0] = x; pad.axes[1] = y; changed = true; },
    };
})()"""

# Held on the pad, and for how long: what each press must give.
PAD_HOLDS = [
    ("button(14, %s)", 2.0, "ArrowLeft"),  # the D-pad's left: a repeating turn
    ("stick(0, %s ? -0.9 : 0)", 1.0, "ArrowUp"),  # the left stick pushed forward: walking
    ("button(7, %s)", 0.7, "PageUp"),  # RT: flying up
    ("button(0, %s)", 0.7, "p"),  # A: look mode, once however long held
    ("button(13, %s)", 0.5, "ArrowDown"),  # in look mode the D-pad's down tilts
    ("button(3, %s)", 0.7, "End"),  # Y: turn round
]


class Gamepad(web_case.WebCase):
    def test_a_gamepad_held_and_pushed_presses_its_keys(self):
        self.write_textures()
        with self.session(before_page=[STAND_IN_PAD]) as page:
            page.settle()
            self.assertEqual(page.value("orvessaPage.padPolls"), 0, "polled with no gamepad")
            page.value("orvessaTestPad.connect()")
            page.keys("F1")
            self.assertTrue(page.rects("#guide .for-pad"), "the guide names the pad's buttons")
            page.keys("F1")

            walker = model.Walker(model.start_pose())
            for number, (hold, seconds, key) in enumerate(PAD_HOLDS):
                before = len(page.value("orvessaPage.padPresses"))
                page.value("orvessaTestPad." + hold % "true")
                time.sleep(seconds)
                page.value("orvessaTestPad." + hold % "false")
                page.settle()
                # The hold as the page saw it: polled once a frame, it may see each change late.
                down, up = page.value("orvessaTestPad.seen")[-2:]
                held = (up - down) / 1000
                presses = page.value("orvessaPage.padPresses")[before:]
                self.assertEqual(set(presses), {key}, "%d: %s" % (number, hold))
                if key in REPEATING:
                    assert_repeated(self, presses, seconds, held)
                else:
                    self.assertEqual(len(presses), 1, "%d: %s" % (number, hold))
                for pressed in presses:
                    walker.press(CONTROLS[pressed])
                self.assert_shows(page.frame(), walker.pose, "%d: %s" % (number, hold))
            self.assertGreater(page.value("orvessaPage.padPolls"), 0)
            self.assertEqual(page.quit(), 0)


if __name__ == "__main__":
    unittest.main()
