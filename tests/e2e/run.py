#!/usr/bin/env python3
"""Runs the end-to-end suite.

    tests/e2e/run.py [-k PATTERN] [test_module ...]

Without a virtual desktop in the environment (as scripts/test-all.sh
provides) it makes one first through scripts/desktop.sh, and removes it,
with every process it started, when the run ends.
"""

import os
import shlex
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import rig  # noqa: E402


def run_inside_new_desktop(argv):
    desktop = os.path.join(rig.ROOT, "scripts", "desktop.sh")
    script = (
        "set -e; source %s; trap desktop_cleanup EXIT; trap 'exit 130' INT TERM; "
        "desktop_start; wine_template; %s %s"
    ) % (shlex.quote(desktop), shlex.quote(sys.executable),
         " ".join(shlex.quote(a) for a in [os.path.abspath(__file__)] + argv))
    env = dict(os.environ)
    env.pop("DISPLAY", None)  # never type into the developer's own desktop
    env.pop("QMOSK_RUN_DIR", None)
    env.pop("QMOSK_WINE_TEMPLATE", None)
    return subprocess.call(["bash", "-c", script], env=env)


def main(argv):
    if not rig.rig_ready():
        return run_inside_new_desktop(argv)
    patterns = []
    modules = []
    i = 0
    while i < len(argv):
        if argv[i] == "-k" and i + 1 < len(argv):
            patterns.append(argv[i + 1])
            i += 2
            continue
        modules.append(argv[i])
        i += 1
    loader = unittest.TestLoader()
    if patterns:
        loader.testNamePatterns = ["*%s*" % p for p in patterns]
    if modules:
        suite = unittest.TestSuite(loader.loadTestsFromName(m) for m in modules)
    else:
        suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    # Skips would hide work that was not done; none are expected.
    if result.skipped:
        print("unexpected skips: %d" % len(result.skipped))
        return 1
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
