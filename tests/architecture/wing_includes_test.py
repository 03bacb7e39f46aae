#!/usr/bin/env python3
"""The wing check finds every kind of breach in a small tree made for it, and
passes what is allowed: a lower wing's header, Qt in desktop/."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import wing_includes  # noqa: E402

FIXTURE = os.path.join(os.path.dirname(__file__), "fixture")


class WingIncludes(unittest.TestCase):
    def test_every_breach_and_nothing_else(self):
        self.assertEqual(
            sorted(wing_includes.breaches(FIXTURE)),
            sorted([
                "engine/room/sum.cpp:3: engine includes window.h from desktop/",
                "engine/room/sum.cpp:4: engine includes Qt's QString",
                "engine/room/sum.cpp:5: engine includes option.h from command_line/",
                "tests/engine/room/sum_test.cpp:2: engine includes Qt's QTest",
                "command_line/program/option.cpp:3: command_line includes Qt's ui_window.h",
            ]))

    def test_missing_wing_is_an_error_not_a_pass(self):
        sys.argv = ["wing_includes.py", os.path.join(FIXTURE, "engine")]
        self.assertEqual(wing_includes.main(), 2)


if __name__ == "__main__":
    unittest.main()
