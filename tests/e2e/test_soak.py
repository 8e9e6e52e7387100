"""The soak's short run: about a minute of random real clicks over the
keyboard and its dialogs, with the watchdog, the key accounting, the
resource levels and the store checked as in the long run (tests/soak)."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "soak"))

import soak  # noqa: E402
from rig import KeyboardTestCase  # noqa: E402

SHORT_RUN_S = 60


class ShortSoak(KeyboardTestCase):
    def test_a_minute_of_random_clicks_leaves_everything_where_it_belongs(self):
        # A new sequence each run, printed so that a failure can be repeated
        # with SOAK_SEED.
        seed = int(os.environ.get("SOAK_SEED", time.time()))
        run = soak.Soak(SHORT_RUN_S, seed)
        try:
            run.run()
        except (soak.SoakFailure, soak.rig.DriveError) as e:
            self.fail("seed %d: %s\nlast actions:\n  %s" % (seed, e, "\n  ".join(run.trail[-60:])))


if __name__ == "__main__":
    unittest.main()
