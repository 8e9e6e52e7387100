"""Settings stores that someone else has damaged: every value the keyboard
reads, stored missing, empty, as text that is no number, as numbers no
window can have, as 100,000 characters, with NULs inside, as registry values
of the wrong type, and in a key nobody may change.

The keyboard must open on screen every time, show and type every stored
text that is a text, fall back to the default for everything else without
disturbing its neighbours, leave a store of well-formed values behind, and
say so when it cannot save."""

import math
import os
import unittest

import time

from rig import NOTEPAD_TITLE, TARGET_GEOMETRY, TRACK_TIMEOUT_MS, APP, DriveError, KeyboardTestCase, windows_path

FKEYS = range(1, 17)
GEOMETRY = [prefix + side
            for prefix in ("Main", "AboutMain", "FKEYSSETTINGSMain")
            for side in ("Left", "Top", "Width", "Height")]
TICKBOX = "ALWAYS_ON_TOP_TICKBOX"
TEXT_DEFAULTS = dict(
    [("CALCULATOR_COMMAND_TEXTBOX", "calc.exe"), ("EMAIL_ADDRESS_TEXTBOX", "EMAIL ADDRESS"),
     ("BTC_ADDRESS_TEXTBOX", "BTC ADDRESS")]
    + [("BUTTON_F_NUM_%d_CAPTION" % n, "FK%d" % n) for n in FKEYS]
    + [("MY-FKEYS-COMMAND-F%d" % n, "calc.exe") for n in FKEYS])
# Where each text is shown: (form, control).
FIELD = dict(
    [(k, ("settings", k)) for k in ("CALCULATOR_COMMAND_TEXTBOX", "EMAIL_ADDRESS_TEXTBOX", "BTC_ADDRESS_TEXTBOX")]
    + [("BUTTON_F_NUM_%d_CAPTION" % n, ("fkeys", "BUTTON_TEXT_F%d" % n)) for n in FKEYS]
    + [("MY-FKEYS-COMMAND-F%d" % n, ("fkeys", "COMMAND_F%d" % n)) for n in FKEYS])
TEXTS = list(TEXT_DEFAULTS)

LONG = 100000
DEFAULT = object()  # read as the value's default

# Kinds of damage: (name, how it is stored for value number i, what the
# keyboard must read from it). A text is read as stored (up to a NUL);
# anything that is not a string value reads as absent. Each text differs
# from value to value, so a value shown in its neighbour's place shows up.
KINDS = [
    ("missing", lambda i: None, lambda i: DEFAULT),
    ("empty", lambda i: ("sz", ""), lambda i: ""),
    ("non-numeric", lambda i: ("sz", "abc%d" % i), lambda i: "abc%d" % i),
    ("huge", lambda i: ("sz", "99999999999999999999%d" % i), lambda i: "99999999999999999999%d" % i),
    ("overflow", lambda i: ("sz", "1e999"), lambda i: "1e999"),
    ("negative", lambda i: ("sz", "-5"), lambda i: "-5"),
    ("nan", lambda i: ("sz", "NaN"), lambda i: "NaN"),
    ("infinity", lambda i: ("sz", "-inf"), lambda i: "-inf"),
    ("nul inside", lambda i: ("sz", "n%d\\0tail" % i), lambda i: "n%d" % i),
    ("dword", lambda i: ("dword", "1"), lambda i: DEFAULT),
    ("binary", lambda i: ("binary", "bin%d" % i), lambda i: DEFAULT),
    ("string list", lambda i: ("multi", "multi%d" % i), lambda i: DEFAULT),
]
# 100,000 characters: every numeric value gets it in one start; of the
# texts only one does per start, since Wine's edit control takes seconds to
# lay out each such line (the dialog tests cover long texts in full).
LONG_KIND = ("100,000 characters", lambda i: ("file", "7" * LONG), lambda i: "7" * LONG)

# Bounds for what is expected to happen, never results in themselves.
LONG_FIELD_TIMEOUT_MS = "60000"
TYPE_TIMEOUT_S = 15
# A note stays six seconds, and a look at it is an osk-drive start (up to
# about a second on a loaded machine): it is seen on one of the first
# looks, and this bound only limits the waiting.
NOTE_TIMEOUT_S = 10


def patient(ask):
    """Wine's edit control lays out a line of 100,000 characters in seconds,
    and the dialogs answer nothing meanwhile (about 6 s here): asks again
    while the window is busy, within a bound."""
    deadline = time.monotonic() + 60
    while True:
        try:
            return ask()
        except DriveError as e:
            if "does not answer" not in str(e) or time.monotonic() > deadline:
                raise
            time.sleep(0.5)


def plan(rotation):
    """Which kind each value gets in one start: the kinds go round the
    values, shifted by `rotation` so that two starts give each value two
    different kinds."""
    numeric = GEOMETRY + [TICKBOX]
    chosen = {}
    for i, key in enumerate(numeric):
        chosen[key] = (KINDS + [LONG_KIND])[(i + rotation) % (len(KINDS) + 1)]
    for i, key in enumerate(TEXTS):
        chosen[key] = KINDS[(i + rotation) % len(KINDS)]
    long_text = TEXTS[(1 + 13 * rotation) % len(TEXTS)]
    chosen[long_text] = LONG_KIND
    return chosen


class HostileValues(KeyboardTestCase):
    def store(self, s, key, stored):
        if stored is None:
            return
        how, text = stored
        if how == "file":
            path = os.path.join(s.dir, "long.in")
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(text)
            s.drive("set-reg-file", APP, key, windows_path(path))
        else:
            s.drive("set-reg-typed", APP, key, how, text)

    def read_long(self, s, *what):
        path = os.path.join(s.dir, "out.txt")
        s.drive(*what, windows_path(path))
        with open(path, encoding="utf-8", newline="") as f:
            return f.read()

    def shown(self, s, form, control, want):
        if len(want) < 1000:
            return s.text(form, control)
        return self.read_long(s, "text-file", form, control)

    def assert_on_monitor(self, s, form):
        left, top, width, height = s.rect(form)
        (_, _, _, _), (wl, wt, ww, wh) = s.monitor(form)
        self.assertGreater(width, 50, form)
        self.assertGreater(height, 50, form)
        self.assertGreaterEqual(left, wl - 2, form)
        self.assertGreaterEqual(top, wt - 2, form)
        self.assertLessEqual(left + width, wl + ww + 2, form)
        self.assertLessEqual(top + height, wt + wh + 2, form)

    def assert_well_formed(self, s, expected_texts):
        """Every value the keyboard wrote reads back as a string, numbers as
        finite numbers of a sane size, texts as they were shown. (The tick
        box's value is written only when the box is clicked.)"""
        for key in GEOMETRY:
            v = s.setting(key)
            self.assertIsNotNone(v, key)
            self.assertTrue(math.isfinite(float(v)) and abs(float(v)) <= 1e6, "%s = %r" % (key, v[:40]))
        for key, want in expected_texts.items():
            got = s.setting(key) if len(want) < 1000 else self.read_long(s, "get-reg-file", APP, key)
            self.assertEqual(got, want, key)

    def run_start(self, rotation, close_fkeys, close_settings):
        s = self.new_session("hostile%d" % rotation)
        chosen = plan(rotation)
        for i, key in enumerate(GEOMETRY + [TICKBOX] + TEXTS):
            self.store(s, key, chosen[key][1](i))
        expected = {}
        for i, key in enumerate(GEOMETRY + [TICKBOX] + TEXTS):
            want = chosen[key][2](i)
            if key in TEXT_DEFAULTS:
                expected[key] = TEXT_DEFAULTS[key] if want is DEFAULT else want
        what = ", ".join("%s=%s" % (k, chosen[k][0]) for k in GEOMETRY + [TICKBOX] + TEXTS)

        with self.subTest(start=rotation, stored=what):
            s.start_keyboard()
            self.assert_on_monitor(s, "main")
            # No kind of damage reads as the text "1": the keyboard is
            # never put on top, and the box opens unticked.
            self.assertEqual(s.drive("topmost", "main"), "0")

            # The two stored-text keys type what is stored, when it is a
            # text short enough to type here.
            s.start_notepad(*TARGET_GEOMETRY)
            s.drive("foreground", NOTEPAD_TITLE)
            s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", NOTEPAD_TITLE, str(TRACK_TIMEOUT_MS))
            typed = ""
            for key, button in (("EMAIL_ADDRESS_TEXTBOX", "AT_SIGN_BUTTON"), ("BTC_ADDRESS_TEXTBOX", "BTC_BUTTON")):
                if len(expected[key]) < 1000:
                    s.click("main", button)
                    typed += expected[key]
            s.wait_until(lambda: s.drive("edit-text", NOTEPAD_TITLE) == typed, TYPE_TIMEOUT_S,
                         "Notepad never showed %r" % typed)

            s.click("main", "SETTINGS_BUTTON")
            s.drive("wait-window", "settings", LONG_FIELD_TIMEOUT_MS)
            self.assert_on_monitor(s, "settings")
            self.assertEqual(patient(lambda: s.drive("checked", "settings", TICKBOX)), "0")
            s.click("settings", "FKEYS_SETTINGS_BUTTON")
            s.drive("wait-window", "fkeys", LONG_FIELD_TIMEOUT_MS)
            self.assert_on_monitor(s, "fkeys")
            for key in TEXTS:
                form, control = FIELD[key]
                want = expected[key]
                self.assertEqual(patient(lambda: self.shown(s, form, control, want)), want, key)

            if close_fkeys == "ok":
                s.click("fkeys", "OK_BUTTON")
                s.drive("wait-gone", "fkeys", LONG_FIELD_TIMEOUT_MS)
            else:
                s.drive("close-box", "fkeys", LONG_FIELD_TIMEOUT_MS)
            if close_settings == "ok":
                s.click("settings", "OK_BUTTON")
                s.drive("wait-gone", "settings", LONG_FIELD_TIMEOUT_MS)
            else:
                s.drive("close-box", "settings", LONG_FIELD_TIMEOUT_MS)
            # Nothing went wrong that the user would have to hear of.
            self.assertIsNone(s.note("main"))
            self.assertIsNone(s.keyboard.poll(), "the keyboard ended by itself")
            s.close_keyboard()
            self.assert_well_formed(s, expected)

    def test_every_kind_of_damage_in_every_value_opens_on_screen_and_keeps_the_texts(self):
        self.run_start(0, "ok", "close-box")
        self.run_start(5, "close-box", "ok")


def note_naming(s, form, word):
    note = s.note(form)
    return note if note and word in note else None


class ReadOnlyStore(KeyboardTestCase):
    def test_a_store_that_refuses_changes_still_runs_and_names_what_was_not_saved(self):
        s = self.new_session()
        stored = {"EMAIL_ADDRESS_TEXTBOX": "kept mail", "BTC_ADDRESS_TEXTBOX": "kept coin",
                  "CALCULATOR_COMMAND_TEXTBOX": "kept calc", "BUTTON_F_NUM_3_CAPTION": "kept F3",
                  "MainLeft": "1500"}
        for key, value in stored.items():
            s.set_setting(key, value)
        s.drive("lock-reg", APP)
        s.start_keyboard()
        s.start_notepad(*TARGET_GEOMETRY)
        s.drive("foreground", NOTEPAD_TITLE)
        s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", NOTEPAD_TITLE, str(TRACK_TIMEOUT_MS))
        s.click("main", "AT_SIGN_BUTTON")
        s.click("main", "BTC_BUTTON")
        s.wait_until(lambda: s.drive("edit-text", NOTEPAD_TITLE) == "kept mailkept coin", TYPE_TIMEOUT_S,
                     "the stored texts were not typed")

        s.click("main", "SETTINGS_BUTTON")
        s.drive("wait-window", "settings")
        self.assertEqual(s.text("settings", "BTC_ADDRESS_TEXTBOX"), "kept coin")
        # The box takes the click, and says at once that the choice will not
        # outlast this run.
        s.click("settings", TICKBOX)
        note = s.wait_until(lambda: note_naming(s, "settings", TICKBOX), NOTE_TIMEOUT_S, "no note beside the tick box")
        self.assertIn(TICKBOX, note)
        self.assertEqual(s.drive("checked", "settings", TICKBOX), "1")

        s.click("settings", "FKEYS_SETTINGS_BUTTON")
        s.drive("wait-window", "fkeys")
        self.assertEqual(s.text("fkeys", "BUTTON_TEXT_F3"), "kept F3")
        s.click("fkeys", "OK_BUTTON")
        s.drive("wait-gone", "fkeys")
        # A newer note replaces the one beside the box.
        note = s.wait_until(lambda: note_naming(s, "settings", "FKEYS"), NOTE_TIMEOUT_S,
                            "no note naming the F-key values after that dialog closed")
        self.assertIn("FKEYSSETTINGSMainLeft", note)
        self.assertIn("and 33 more", note)

        s.drive("set-field", "settings", "BTC_ADDRESS_TEXTBOX", "new coin")
        s.drive("close-box", "settings")
        note = s.wait_until(lambda: note_naming(s, "main", "About"), NOTE_TIMEOUT_S,
                            "no note at the keyboard after the dialog closed")
        self.assertIn("AboutMainLeft", note)
        # The dialog's place, its three text boxes and the fade opacity and wait.
        self.assertIn("and 6 more", note)

        # Nothing was stored, and the keyboard goes on as before.
        for key, value in stored.items():
            self.assertEqual(s.setting(key), value, key)
        s.drive("foreground", NOTEPAD_TITLE)
        s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", NOTEPAD_TITLE, str(TRACK_TIMEOUT_MS))
        s.click("main", "BTC_BUTTON")
        s.wait_until(lambda: s.drive("edit-text", NOTEPAD_TITLE) == "kept mailkept coinkept coin",
                     TYPE_TIMEOUT_S, "the keyboard stopped typing")

        self.assertIsNone(s.keyboard.poll(), "the keyboard ended by itself")
        s.close_keyboard()
        self.assertEqual(s.setting("MainLeft"), "1500")


if __name__ == "__main__":
    unittest.main()
