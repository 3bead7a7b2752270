"""The page started without its textures, as the desktop program in an empty folder: every
surface is white (untextured, where WebGL would sample black), keys still move the view, and
textures dropped later show at the next ordinary key."""

import unittest

import test_no_textures
import web_case


class WebNoTextures(web_case.WebCase, test_no_textures.NoTextures):
    shipped_textures = False


if __name__ == "__main__":
    unittest.main()
