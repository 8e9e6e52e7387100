"""What the keyboard's face shows, read from the screen: a key held down,
the press flash and its reset, the tints of the Shift lock and the
number-row lock, and the lock lights with the system locks they stand
for."""

import unittest

from test_character_keys import LIGHT_OFF, LIGHT_ON, SYMBOL_KEYS, NotepadCase

# As COLORREFs (0x00BBGGRR), the form osk-drive prints.
SHIFT_LOCK_TINT = "0x80FFFF"   # RGB(255, 255, 128), pale yellow
TOP_ROW_TINT = "0xFF80FF"      # RGB(255, 128, 255), pink
WHITE = "0xFFFFFF"
COLOR_WINDOW = 5
COLOR_BTNHIGHLIGHT = 20
COLOR_3DDKSHADOW = 21
VK_LOCKS = {"num": 0x90, "caps": 0x14, "scroll": 0x91}

TOP_ROW = [k[0] for k in SYMBOL_KEYS[:13]]
PUNCTUATION = [k[0] for k in SYMBOL_KEYS[13:]]

# The flash lasts until the next reset tick, anywhere from a moment to half
# a second; a look every few milliseconds can miss only the shortest ones,
# so a key is clicked again a few times before a missing flash is believed.
FLASH_ATTEMPTS = 5
# How long after the click the colour is watched: two reset periods.
WATCH_MS = 1000


class Tints(NotepadCase):

    def rest(self):
        return self.s.drive("syscolor", str(COLOR_WINDOW))

    def wait_colours(self, controls, want):
        for name in controls:
            self.wait_colour(name, want)

    def test_shift_lock_tints_the_symbol_keys(self):
        s = self.s
        rest = self.rest()
        s.click("main", "SHIFT_LOCK_BUTTON")
        self.wait_colour("SHIFT_LOCK_BUTTON", LIGHT_ON)
        self.wait_colours(TOP_ROW + PUNCTUATION, SHIFT_LOCK_TINT)
        self.assertEqual(self.colour("BUTTON_LETTER_A"), rest)
        # A pressed symbol key goes back to the tint, not to the plain rest.
        _, changes = s.click_watch("main", "BUTTON_COMMA", WATCH_MS)
        self.assertEqual(changes[-1][1], SHIFT_LOCK_TINT, changes)
        self.wait_typed("<")
        s.click("main", "SHIFT_LOCK_BUTTON")
        self.wait_colour("SHIFT_LOCK_BUTTON", WHITE)
        self.wait_colours(TOP_ROW + PUNCTUATION, rest)

    def test_number_row_lock_tints_the_top_row(self):
        s = self.s
        rest = self.rest()
        s.click("main", "LOCK_TOP_NUMBER_KEYS_BUTTON")
        self.wait_colour("LOCK_TOP_NUMBER_KEYS_BUTTON", LIGHT_ON)
        self.wait_colours(TOP_ROW, TOP_ROW_TINT)
        for name in PUNCTUATION + ["BUTTON_LETTER_Q"]:
            self.assertEqual(self.colour(name), rest, name)
        s.click("main", "LOCK_TOP_NUMBER_KEYS_BUTTON")
        self.wait_colours(TOP_ROW, rest)

    def test_both_locks_top_row_pink_punctuation_yellow(self):
        s = self.s
        rest = self.rest()
        s.click("main", "SHIFT_LOCK_BUTTON")
        s.click("main", "LOCK_TOP_NUMBER_KEYS_BUTTON")
        self.wait_colours(["BUTTON_NUMBER_5", "LEFT_TOP_CORNER_KEY", "BUTTON_EQUALS"], TOP_ROW_TINT)
        self.wait_colours(["BUTTON_HASH", "BUTTON_BACK_SLASH"], SHIFT_LOCK_TINT)
        s.click("main", "LOCK_TOP_NUMBER_KEYS_BUTTON")
        self.wait_colours(["BUTTON_NUMBER_5", "LEFT_TOP_CORNER_KEY"], SHIFT_LOCK_TINT)
        s.click("main", "SHIFT_LOCK_BUTTON")
        self.wait_colours(["BUTTON_NUMBER_5", "BUTTON_HASH"], rest)


class PressFlash(NotepadCase):

    def test_letter_key_flashes_green_then_rests(self):
        s = self.s
        rest = s.drive("syscolor", str(COLOR_WINDOW))
        self.assertNotEqual(rest, LIGHT_ON)
        flashed = False
        attempts = 0
        while not flashed and attempts < FLASH_ATTEMPTS:
            attempts += 1
            before, changes = s.click_watch("main", "BUTTON_LETTER_Q", WATCH_MS)
            self.assertEqual(before, rest, "the key was not at rest before the click")
            colours = [c for _, c in changes]
            flashed = LIGHT_ON in colours
            if flashed:
                # Green, then back at rest, and nothing else in between.
                after = colours[colours.index(LIGHT_ON):]
                self.assertEqual(after, [LIGHT_ON, rest], changes)
            # Whatever was seen, a second after the click the key is at rest.
            self.assertEqual(colours[-1], rest, changes)
        self.assertTrue(flashed, "no green flash seen in %d clicks" % attempts)
        self.wait_typed("q" * attempts)


class PressLook(NotepadCase):

    def test_a_held_key_looks_pushed_until_released_and_then_types(self):
        s = self.s
        raised = s.drive("syscolor", str(COLOR_BTNHIGHLIGHT))
        sunken = s.drive("syscolor", str(COLOR_3DDKSHADOW))
        self.assertNotEqual(raised, sunken)
        looks = dict(line.split() for line in s.drive("press-edge", "main", "BUTTON_LETTER_Q").splitlines())
        self.assertEqual(looks, {"before": raised, "held": sunken, "after": raised})
        self.wait_typed("q")


class LockLights(NotepadCase):

    with_keylog = True

    LIGHTS = [
        ("NUM_LIGHT_LABEL", "num"),
        ("CAPS_LIGHT_LABEL", "caps"),
        ("SCROLL_LIGHT_LABEL", "scroll"),
    ]

    def light_for(self, state):
        return LIGHT_ON if state == "1" else LIGHT_OFF

    def restore(self, label, which, state):
        if self.lock(which) != state:
            self.s.drive("dblclick", "main", label)
            self.wait_lock(which, state)

    def flip(self, label, which, press):
        """Presses a lock with `press` and waits for its light, and for the
        letters' case after Caps Lock."""
        before = self.lock(which)
        flipped = "0" if before == "1" else "1"
        self.addCleanup(self.restore, label, which, before)
        self.wait_colour(label, self.light_for(before))
        press()
        self.wait_lock(which, flipped)
        self.wait_colour(label, self.light_for(flipped))
        if which == "caps":
            self.wait_caption("BUTTON_LETTER_A", "A" if flipped == "1" else "a")

    def test_double_click_toggles_the_lock(self):
        s = self.s
        for label, which in self.LIGHTS:
            with self.subTest(light=label):
                def dblclick(label=label):
                    s.drive("dblclick", "main", label)
                self.flip(label, which, dblclick)
                self.flip(label, which, dblclick)  # and back
        # The lights send their lock keys only: nothing reached Notepad.
        self.assertEqual(self.typed(), "")

    def test_lights_and_faces_follow_locks_pressed_in_another_program(self):
        # As a lock key pressed on the computer's own keyboard while Notepad
        # has the focus: the keyboard is not involved in the press at all.
        for label, which in self.LIGHTS:
            with self.subTest(light=label):
                self.flip(label, which, lambda which=which: self.s.drive("tap-key", str(VK_LOCKS[which])))


if __name__ == "__main__":
    unittest.main()
