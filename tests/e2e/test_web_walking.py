"""The native walking case in the page: ten steps, then the 42nd press into the hall's margin
is taken and the 43rd refused (the same frame), and Down steps back."""

import unittest

import test_walking
import web_case


class WebWalking(web_case.WebCase, test_walking.Walking):
    pass


if __name__ == "__main__":
    unittest.main()
