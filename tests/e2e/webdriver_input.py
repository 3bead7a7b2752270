"""WebDriver's input actions, the same in classic WebDriver (webkit.py) and in WebDriver BiDi
(firefox.py): a click of the mouse's left button, and key presses."""

import browser

# WebDriver's code points for keys that are not characters, by xdotool's names.
KEYS = {
    "Escape": "\ue00c", "Prior": "\ue00e", "Page_Up": "\ue00e", "Next": "\ue00f",
    "Page_Down": "\ue00f", "End": "\ue010", "Home": "\ue011", "Left": "\ue012", "Up": "\ue013",
    "Right": "\ue014", "Down": "\ue015", "F1": "\ue031",
}


def click(rect):
    """A click on the middle of an element's (x, y, width, height)."""
    x, y, width, height = rect
    return [{"type": "pointer", "id": "mouse", "actions": [
        {"type": "pointerMove", "x": round(x + width / 2), "y": round(y + height / 2)},
        {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}]


def key_presses(names):
    """Each key pressed and released in turn, as a keyboard's driver would."""
    actions = []
    for name in names:
        value = KEYS.get(name) or browser.key_event(name)["key"]
        actions += [{"type": "keyDown", "value": value}, {"type": "keyUp", "value": value}]
    return [{"type": "key", "id": "keyboard", "actions": actions}]
