"""What the screen must show, worked out without the program.

A pose is the camera's eye and frame (u right, v up, n the side it sees). The projection is
Perspective(60 deg, aspect 1) times Ortho(+-100): view-space x and y are divided by the
distance along n and scaled by 1 / tan(30 deg), which spreads 60 degrees over the whole
viewport in both directions and puts +u on the right of the screen (the mirrored picture).

Surfaces are found by casting the ray of a pixel into our own description of the scene, so the
expected colour of any pixel follows from the pose alone.
"""

import math

SCREEN_W = 1024
SCREEN_H = 768
SCREEN = (SCREEN_W, SCREEN_H)
HALF_FOV = math.radians(30.0)
NEAR = 1.0  # zNear 0.01 scaled back by the orthographic factor 0.01

# Surface names are the texture files that paint them; "sky" is the white clear colour.
SKY = "sky"
LAWN = "grass.bmp"
WATER = "pool.bmp"
BORDER = "sw.bmp"
MINARET = "minar.bmp"
WALL = "door.bmp"
ROOF = "roof.bmp"
TEXTURE_FILES = (MINARET, LAWN, WALL, WATER, ROOF, BORDER)


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def scale(a, s):
    return tuple(x * s for x in a)


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def unit(a):
    return scale(a, 1.0 / math.sqrt(dot(a, a)))


class Pose:
    """Eye and frame; the moves are the camera's own (slide along the frame, turn a pair)."""

    def __init__(self, eye, u, v, n):
        self.eye, self.u, self.v, self.n = eye, u, v, n

    @staticmethod
    def looking(eye, target, up):
        # A conventional frame: n from the target back to the eye, u = up x n, v = n x u.
        n = unit(sub(eye, target))
        u = unit(cross(up, n))
        return Pose(eye, u, cross(n, u), n)

    def slide(self, du, dv, dn):
        moved = add(self.eye, add(scale(self.u, du), add(scale(self.v, dv), scale(self.n, dn))))
        return Pose(moved, self.u, self.v, self.n)

    @staticmethod
    def _turn(p, q, degrees):
        c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
        return add(scale(p, c), scale(q, s)), add(scale(p, -s), scale(q, c))

    def yaw(self, degrees):
        u, n = self._turn(self.u, self.n, degrees)
        return Pose(self.eye, u, self.v, n)

    def pitch(self, degrees):
        n, v = self._turn(self.n, self.v, degrees)
        return Pose(self.eye, self.u, v, n)

    def roll(self, degrees):
        u, v = self._turn(self.u, self.v, -degrees)
        return Pose(self.eye, u, v, self.n)

    def __repr__(self):
        def fmt(a):
            return "(" + ", ".join("%.3f" % x for x in a) + ")"

        return "Pose(eye=%s, n=%s)" % (fmt(self.eye), fmt(self.n))


def start_pose():
    # Posed towards the hall, then turned round once so that it sees the target along +n.
    return Pose.looking((-20.0, 3.0, 75.0), (0.0, 3.0, -10.0), (0.0, 1.0, 0.0)).yaw(180)


def project(pose, point, size=SCREEN):
    """Pixel (column, row from the top) of a size[0] x size[1] view where a world point
    appears, or None if behind."""
    d = sub(point, pose.eye)
    depth = dot(d, pose.n)
    if depth < NEAR:
        return None
    f = 1.0 / math.tan(HALF_FOV)
    ndc_x = f * dot(d, pose.u) / depth
    ndc_y = f * dot(d, pose.v) / depth
    width, height = size
    return ((ndc_x + 1) / 2 * width, height - (ndc_y + 1) / 2 * height)


def pixel_ray(pose, col, row, size=SCREEN):
    """Direction through the centre of a pixel, scaled so its n component is 1."""
    t = math.tan(HALF_FOV)
    width, height = size
    ndc_x = 2 * (col + 0.5) / width - 1
    ndc_y = 2 * (height - row - 0.5) / height - 1
    return add(pose.n, add(scale(pose.u, ndc_x * t), scale(pose.v, ndc_y * t)))


class Rect:
    """An axis-aligned rectangle: axis is the constant coordinate (0 x, 1 y, 2 z)."""

    def __init__(self, surface, axis, at, lo, hi):
        self.surface, self.axis, self.at, self.lo, self.hi = surface, axis, at, lo, hi
        self.others = tuple(k for k in range(3) if k != axis)

    def hit(self, origin, direction):
        if direction[self.axis] == 0:
            return None
        t = (self.at - origin[self.axis]) / direction[self.axis]
        for k in self.others:
            if not (self.lo[k] <= origin[k] + t * direction[k] <= self.hi[k]):
                return None
        return t


def _upright_box(surface, x0, x1, z0, z1, y0, y1):
    return [
        Rect(surface, 2, z0, (x0, y0, 0), (x1, y1, 0)),
        Rect(surface, 2, z1, (x0, y0, 0), (x1, y1, 0)),
        Rect(surface, 0, x0, (0, y0, z0), (0, y1, z1)),
        Rect(surface, 0, x1, (0, y0, z0), (0, y1, z1)),
    ]


def _build_scene():
    rects = [
        Rect(LAWN, 1, 0, (-100, 0, -100), (100, 0, 100)),
        Rect(WATER, 1, 1, (-10, 0, 10), (10, 0, 70)),
        Rect(ROOF, 1, 45, (-30, 0, -70), (30, 0, -10)),
    ]
    rects += _upright_box(BORDER, -10, 10, 10, 70, 0, 2)
    rects += _upright_box(WALL, -30, 30, -70, -10, 0, 50)
    for x0, x1 in ((-50, -45), (45, 50)):
        for z0, z1 in ((-5, 0), (-80, -75)):
            rects += _upright_box(MINARET, x0, x1, z0, z1, 0, 70)
    return rects


SCENE = _build_scene()


def surface_at(pose, col, row, size=SCREEN):
    """The surface seen through a pixel's centre (nearest hit beyond the near plane)."""
    direction = pixel_ray(pose, col, row, size)
    best, best_t = SKY, None
    for rect in SCENE:
        t = rect.hit(pose.eye, direction)
        if t is not None and t >= NEAR and (best_t is None or t < best_t):
            best, best_t = rect.surface, t
    return best


def safe_surface_at(pose, col, row, margin=3, size=SCREEN):
    """The surface at a pixel if the four pixels diagonally `margin` away agree, else None.
    Surface outlines are straight, and a straight edge crossing the square those four corners
    span always separates two of them."""
    surface = surface_at(pose, col, row, size)
    for dc in (-margin, margin):
        for dr in (-margin, margin):
            c, r = col + dc, row + dr
            if not (0 <= c < size[0] and 0 <= r < size[1]):
                return None
            if surface_at(pose, c, r, size) != surface:
                return None
    return surface


def expected_grid(pose, step=24, size=SCREEN):
    """{(col, row): surface} over a grid of pixels, leaving out pixels near any edge."""
    grid = {}
    for row in range(step // 2, size[1], step):
        for col in range(step // 2, size[0], step):
            surface = safe_surface_at(pose, col, row, size=size)
            if surface is not None:
                grid[(col, row)] = surface
    return grid


# Where the eye may not stand: outside the world, or inside the hall or a minaret with their
# margins. Open boxes: a point on a face is outside.
WORLD = ((-200, 200), (2, 500), (-200, 200))
OBSTACLES = (
    ((-35, 35), (0, 55), (-75, -5)),
    ((-57, -43), (0, 70), (-10, 5)),
    ((42, 53), (0, 70), (-10, 5)),
    ((-57, -43), (0, 70), (-85, -70)),
    ((40, 55), (0, 70), (-85, -70)),
)


def _inside(box, p):
    return all(lo < x < hi for (lo, hi), x in zip(box, p))


def blocked(p):
    return not _inside(WORLD, p) or any(_inside(box, p) for box in OBSTACLES)


class Walker:
    """The keys as a user sees them act. Arrows and page keys: a step into a blocked place is
    taken, further presses that way are refused until another key of the same group is
    pressed, which first steps back out. Key names are xdotool's."""

    ARROWS = ("Up", "Down", "Left", "Right")
    PAGES = ("Prior", "Next")

    def __init__(self, pose):
        self.pose = pose
        self.refused = set()
        self.slide_mode = False
        self.look_mode = False

    def _step(self, key, recovering):
        p = self.pose
        if key in self.PAGES:
            sign = 1 if key == "Prior" else -1
            return p.slide(0, sign * (3 if recovering else 2), 0)
        if key in ("Up", "Down"):
            sign = 1 if key == "Up" else -1
            if self.look_mode:
                return p.pitch(sign)
            return p.slide(0, 0, sign * (4 if recovering else 2))
        sign = 1 if key == "Right" else -1
        if self.slide_mode:
            return p.slide(sign * (4 if recovering else 2), 0, 0)
        return p.yaw(sign)

    def _other_key(self, key):
        if key == "End":
            self.pose = self.pose.yaw(180)
        elif key in ("plus", "minus"):
            self.pose = self.pose.roll(-1 if key == "plus" else 1)
        elif key in ("p", "P"):
            self.look_mode = not self.look_mode
        elif key in ("s", "S"):
            self.slide_mode = not self.slide_mode
        elif key == "i":
            self.pose = start_pose()

    def press(self, key):
        key = {"Page_Up": "Prior", "Page_Down": "Next"}.get(key, key)
        group = self.ARROWS if key in self.ARROWS else self.PAGES if key in self.PAGES else None
        if group is None:
            self._other_key(key)
            return self.pose
        others = (self.refused & set(group)) - {key}
        if others:
            self.refused -= others
            self.pose = self._step(key, True)
        if blocked(self.pose.eye):
            self.refused.add(key)
        else:
            self.pose = self._step(key, False)
        return self.pose


def after(pose, *keys):
    """The pose that arrow presses from `pose` lead to (turn and walk modes)."""
    walker = Walker(pose)
    for key in keys:
        walker.press(key)
    return walker.pose
