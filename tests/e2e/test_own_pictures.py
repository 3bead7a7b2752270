"""A picture of your own on the lawn: a small PNG with an alpha channel, turned into grass.bmp
with exactly the README's command, shows on the lawn in the colour the PNG has over white."""

import shlex
import struct
import subprocess
import unittest

import e2e_case
import scene_model as model

CONVERT = "/usr/bin/convert"  # ImageMagick's, whatever else is on PATH
COLOUR = (20, 90, 160)
ALPHA = 0.6
# Half-transparent, so the README's command must put it on white: 0.6 of the colour, 0.4 white.
ON_WHITE = tuple(round(ALPHA * c + (1 - ALPHA) * 255) for c in COLOUR)


class OwnPictures(e2e_case.E2ECase):
    def test_alpha_png_through_the_readme_command_paints_the_lawn(self):
        command = shlex.split(e2e_case.readme_picture_command())
        self.assertEqual((command[0], command[-1]), ("convert", "BMP3:grass.bmp"), command)
        source = command[1]
        # An odd size, so that the command's resize to a power of two does the work.
        subprocess.run([CONVERT, "-size", "37x21", "xc:rgba(%d,%d,%d,%.1f)" % (COLOUR + (ALPHA,)),
                        "PNG32:" + self.path(source)], check=True)
        # Read from the PNG itself, as ImageMagick 6 and 7 word their own reports differently.
        with open(self.path(source), "rb") as png:
            colour_type = png.read(26)[25]
        self.assertEqual(colour_type, 6, "the test picture should be RGB with an alpha channel")

        self.write_textures(name for name in model.TEXTURE_FILES if name != model.LAWN)
        subprocess.run([CONVERT] + command[1:], cwd=self.workdir, check=True)
        with open(self.path(model.LAWN), "rb") as bmp:
            header = bmp.read(54)
        offset, info_size, width, height, _, bits = struct.unpack_from("<IIiiHH", header, 10)
        self.assertEqual((offset, info_size, bits), (54, 40, 24), "not a plain 24-bit BMP")
        self.assertEqual((width, height), (256, 256))

        with self.session() as program:
            self.assert_shows(program.frame(), model.start_pose(), "own lawn",
                              only={model.LAWN}, palette={model.LAWN: ON_WHITE})
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
