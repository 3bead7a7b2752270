"""Texture files cost what their bytes are worth: with the lawn's file a bare header claiming
16384 x 16384 pixels and the roof's a FIFO, the program still opens, answers keys and quits
with 0, holds little more memory than with the shipped textures, and spends no more time on an
ordinary key press."""

import os
import unittest

import e2e_case
import texture_cost

BUILD_DIR = os.environ.get("ORVESSA_BUILD_DIR", os.path.dirname(e2e_case.BINARY))
MiB = 1 << 20


class TextureCost(e2e_case.E2ECase):
    def test_hostile_pair_costs_no_more_than_sound_textures(self):
        names = ("sound", "hostile")
        folders = [self.path(name) for name in names]
        for folder, fill in zip(folders, (texture_cost.sound_folder, texture_cost.hostile_folder)):
            os.mkdir(folder)
            fill(BUILD_DIR, folder)
        costs = texture_cost.measure(e2e_case.BINARY, folders,
                                     logs=[self.path(name + ".log") for name in names])
        for name, cost in zip(names, costs):
            self.keep(cost.start, name + ", start")
            self.keep(cost.walked, name + ", Up")
            self.assertEqual(cost.status, 0, "%s: Escape should end the program with 0" % name)
        sound, hostile = costs
        if hostile.walked == hostile.start:
            self.fail_with_frames("with the hostile pair a step forward changed nothing")
        report = "peak %.1f MiB vs %.1f MiB sound; %d presses %.0f ms vs %.0f ms sound" % (
            hostile.peak_bytes / MiB, sound.peak_bytes / MiB, texture_cost.PRESSES,
            hostile.press_seconds * 1e3, sound.press_seconds * 1e3)
        self.assertLessEqual(hostile.peak_bytes, sound.peak_bytes + 32 * MiB, report)
        self.assertLessEqual(hostile.press_seconds, 1.5 * sound.press_seconds, report)
        self.assertGreater(sound.press_seconds, 0, "the sound presses took no measurable time")
        print(report)


if __name__ == "__main__":
    unittest.main()
