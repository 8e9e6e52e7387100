"""The character keys, clicked for real, type into Wine's Notepad what they
show, under a UK keymap: letters, the number row, punctuation, Caps Lock,
the Shift latch and lock, and the two stored-text keys."""

import unittest

from rig import TYPE_TIMEOUT_S, NotepadTestCase

# The keyboard sits at its default place (about 67,67 to 1187,386 at 96 dpi);
# Notepad goes below it and the key log beside that, so no click lands on them.
NOTEPAD_GEOMETRY = (67, 430, 1120, 250)
KEYLOG_GEOMETRY = (67, 720, 600, 150)
# Bounds for things expected to happen; none of them decides a result.
CAPTION_TIMEOUT_MS = 3000
# Each look at a lock or a colour is an osk-drive start: about a second with
# two CPU-bound jobs beside the other work on two CPUs, longer when the load
# average reaches 15 there, which left a bound of five seconds one or two
# looks.
LOCK_TIMEOUT_S = 15

LIGHT_ON = "0x00FF00"
LIGHT_OFF = "0x0000FF"  # red, as a COLORREF

# Every symbol key: its control, the caption and character when plain, the
# caption when shifted, and the character Notepad gets for that caption.
# The number-2 key shows two apostrophes but types Shift+2, which is '"' on
# a UK keyboard; the number-7 caption doubles its ampersand.
SYMBOL_KEYS = [
    ("LEFT_TOP_CORNER_KEY", "`", "\u00ac", "\u00ac"),
    ("BUTTON_NUMBER_1", "1", "!", "!"),
    ("BUTTON_NUMBER_2", "2", "''", '"'),
    ("BUTTON_NUMBER_3", "3", "\u00a3", "\u00a3"),
    ("BUTTON_NUMBER_4", "4", "$", "$"),
    ("BUTTON_NUMBER_5", "5", "%", "%"),
    ("BUTTON_NUMBER_6", "6", "^", "^"),
    ("BUTTON_NUMBER_7", "7", "&&", "&"),
    ("BUTTON_NUMBER_8", "8", "*", "*"),
    ("BUTTON_NUMBER_9", "9", "(", "("),
    ("BUTTON_NUMBER_0", "0", ")", ")"),
    ("BUTTON_DASH", "-", "_", "_"),
    ("BUTTON_EQUALS", "=", "+", "+"),
    ("BUTTON_SQUARE_BRACKET_LEFT", "[", "{", "{"),
    ("BUTTON_SQUARE_BRACKET_RIGHT", "]", "}", "}"),
    ("BUTTON_SEMI_COLON", ";", ":", ":"),
    ("BUTTON_APOS_SIGN", "'", "@", "@"),
    ("BUTTON_HASH", "#", "~", "~"),
    ("BUTTON_COMMA", ",", "<", "<"),
    ("BUTTON_FULL_STOP", ".", ">", ">"),
    ("BUTTON_FORWARD_SLASH", "/", "?", "?"),
    ("BUTTON_BACK_SLASH", "\\", "|", "|"),
]


def _keys_by_char():
    """Which key types a character, and whether it needs Shift."""
    keys = {" ": ("BUTTON_SPACEBAR", None, False)}
    for c in "abcdefghijklmnopqrstuvwxyz":
        name = "BUTTON_LETTER_" + c.upper()
        keys[c] = (name, c, False)
        keys[c.upper()] = (name, c.upper(), True)
    for name, plain, shifted_caption, shifted_char in SYMBOL_KEYS:
        keys[plain] = (name, plain, False)
        keys[shifted_char] = (name, shifted_caption, True)
    return keys


KEYS_BY_CHAR = _keys_by_char()


class NotepadCase(NotepadTestCase):
    """The keyboard with Notepad in front of it as the target."""

    notepad_geometry = NOTEPAD_GEOMETRY
    with_keylog = False

    def start_helpers(self, s):
        if self.with_keylog:
            # Reads the lock toggles for keystate; never the target.
            s.start_keylog(*KEYLOG_GEOMETRY)

    # -- helpers -----------------------------------------------------------

    def wait_caption(self, control, caption):
        self.s.drive("wait-text", "main", control, caption, str(CAPTION_TIMEOUT_MS))

    def click_showing(self, control, caption):
        """A key types what it shows, so it is clicked once it shows that."""
        if caption is not None:
            self.wait_caption(control, caption)
        self.s.click("main", control)

    def type_with_shift_latch(self, control, caption):
        self.s.click("main", "BUTTON_SHIFT_LEFT")
        self.click_showing(control, caption)

    def type_text(self, text):
        for ch in text:
            name, caption, shifted = KEYS_BY_CHAR[ch]
            if shifted:
                self.type_with_shift_latch(name, caption)
            else:
                self.click_showing(name, caption)

    def lock(self, which):
        return dict(kv.split("=") for kv in self.s.drive("keystate").split())[which]

    def wait_lock(self, which, value):
        self.s.wait_until(lambda: self.lock(which) == value, LOCK_TIMEOUT_S,
                          "%s lock never became %s" % (which, value))

    def colour(self, control):
        return self.s.drive("color", "main", control)

    def wait_colour(self, control, want):
        self.s.wait_for(lambda: self.colour(control), lambda got: got == want, LOCK_TIMEOUT_S,
                        "%s never showed colour %s" % (control, want))


class SentenceTyping(NotepadCase):

    def test_sentence_with_capitals_and_punctuation(self):
        sentence = "Hello, World. It's \u00a35; (ok)? \"Yes\" & #1 @ 50% [x] <y> {z}!"
        self.type_text(sentence)
        self.wait_typed(sentence)


class SymbolKeys(NotepadCase):

    def plain_row(self):
        return "".join(plain for _, plain, _, _ in SYMBOL_KEYS)

    def shifted_row(self):
        return "".join(char for _, _, _, char in SYMBOL_KEYS)

    def test_plain_symbols(self):
        for name, plain, _, _ in SYMBOL_KEYS:
            self.click_showing(name, plain)
        self.wait_typed(self.plain_row())

    def test_shift_latch_shifts_one_key(self):
        for name, plain, shifted, _ in SYMBOL_KEYS:
            with self.subTest(key=name):
                self.type_with_shift_latch(name, shifted)
                # Spent by that one key: the face is plain again.
                self.wait_caption(name, plain)
        self.wait_typed(self.shifted_row())
        self.wait_colour("BUTTON_SHIFT_LEFT", "0xFFFFFF")

    def test_shift_lock_stays_for_every_key(self):
        s = self.s
        s.click("main", "SHIFT_LOCK_BUTTON")
        for name, _, shifted, _ in SYMBOL_KEYS:
            self.click_showing(name, shifted)
        self.wait_typed(self.shifted_row())
        # Still latched after all of them.
        for name, _, shifted, _ in SYMBOL_KEYS:
            self.assertEqual(s.text("main", name), shifted, name)
        self.assertEqual(self.colour("SHIFT_LOCK_BUTTON"), LIGHT_ON)
        s.click("main", "SHIFT_LOCK_BUTTON")
        for name, plain, _, _ in SYMBOL_KEYS:
            self.wait_caption(name, plain)

    def test_shift_latch_under_shift_lock_gives_plain_symbols(self):
        s = self.s
        s.click("main", "SHIFT_LOCK_BUTTON")
        self.click_showing("BUTTON_NUMBER_3", "\u00a3")
        self.type_with_shift_latch("BUTTON_NUMBER_3", "3")
        # A plain symbol does not spend Shift: it stays latched for the next.
        # Its character shows that the click has been handled; the latch is
        # looked at after that, not before.
        self.wait_typed("\u00a33")
        self.assertEqual(self.colour("BUTTON_SHIFT_LEFT"), LIGHT_ON)
        self.click_showing("BUTTON_HASH", "#")
        self.wait_typed("\u00a33#")
        self.assertEqual(self.colour("BUTTON_SHIFT_LEFT"), LIGHT_ON)
        # A letter does spend it, and the lock shifts the symbols again.
        self.click_showing("BUTTON_LETTER_A", "A")
        self.click_showing("BUTTON_HASH", "~")
        self.wait_typed("\u00a33#A~")
        s.click("main", "SHIFT_LOCK_BUTTON")
        self.wait_caption("BUTTON_NUMBER_3", "3")

    def test_number_row_lock_shifts_only_the_top_row(self):
        s = self.s
        s.click("main", "LOCK_TOP_NUMBER_KEYS_BUTTON")
        top = SYMBOL_KEYS[:13]
        for name, _, shifted, _ in top:
            self.wait_caption(name, shifted)
        for name, plain, _, _ in SYMBOL_KEYS[13:]:
            self.assertEqual(s.text("main", name), plain, name)
        self.assertEqual(s.text("main", "BUTTON_LETTER_A"), "a")
        # A symbol shows digits until the next refresh; the lock brings the
        # symbols back, so every top-row key is clicked showing its symbol.
        for name, _, shifted, _ in top:
            self.click_showing(name, shifted)
        self.click_showing("BUTTON_HASH", "#")
        self.wait_typed("".join(char for _, _, _, char in top) + "#")
        s.click("main", "LOCK_TOP_NUMBER_KEYS_BUTTON")
        for name, plain, _, _ in top:
            self.wait_caption(name, plain)


class CapsLock(NotepadCase):

    with_keylog = True

    def setUp(self):
        super().setUp()
        self.assertEqual(self.lock("caps"), "0", "Caps Lock was left on by something before")
        self.addCleanup(self.caps_off)

    def caps_off(self):
        """Leaves Caps Lock off for whatever runs next on this display."""
        if self.lock("caps") == "1":
            self.s.click("main", "BUTTON_CAPS")
            self.wait_lock("caps", "0")

    def test_caps_lock_types_capitals_and_shift_inverts_it(self):
        s = self.s
        s.click("main", "BUTTON_CAPS")
        self.wait_lock("caps", "1")
        self.wait_colour("CAPS_LIGHT_LABEL", LIGHT_ON)
        self.wait_colour("BUTTON_CAPS", LIGHT_ON)
        # A key the lock leaves alone first: it must not be disturbed by the
        # lock state being passed on to the target before it (the letter
        # right after a toggle has a test of its own below).
        self.click_showing("BUTTON_NUMBER_1", "1")
        self.click_showing("BUTTON_LETTER_Q", "Q")
        self.click_showing("BUTTON_LETTER_W", "W")
        self.type_with_shift_latch("BUTTON_LETTER_E", "e")
        self.click_showing("BUTTON_LETTER_R", "R")
        # Caps Lock leaves the symbols alone.
        self.click_showing("BUTTON_NUMBER_1", "1")
        self.click_showing("BUTTON_COMMA", ",")
        self.wait_typed("1QWeR1,")

        s.click("main", "BUTTON_CAPS")
        self.wait_lock("caps", "0")
        self.wait_colour("CAPS_LIGHT_LABEL", LIGHT_OFF)
        self.wait_colour("BUTTON_CAPS", "0xFFFFFF")
        self.click_showing("BUTTON_NUMBER_2", "2")
        self.click_showing("BUTTON_LETTER_T", "t")
        self.wait_typed("1QWeR1,2t")


    def test_first_letter_after_a_toggle_has_the_new_case(self):
        s = self.s
        for caps, letter, caption in (("1", "BUTTON_LETTER_Q", "Q"), ("0", "BUTTON_LETTER_W", "w"),
                                      ("1", "BUTTON_LETTER_E", "E"), ("0", "BUTTON_LETTER_R", "r")):
            s.click("main", "BUTTON_CAPS")
            self.wait_lock("caps", caps)
            # The letter follows the toggle as soon as its face shows the
            # new case, with nothing typed in between.
            self.click_showing(letter, caption)
        self.wait_typed("QwEr")


class StoredTextKeys(NotepadCase):

    def test_empty_store_types_the_placeholders(self):
        self.s.click("main", "AT_SIGN_BUTTON")
        self.wait_typed("EMAIL ADDRESS")
        self.s.click("main", "BTC_BUTTON")
        self.wait_typed("EMAIL ADDRESSBTC ADDRESS")

    def test_stored_key_string_is_typed_with_its_special_keys(self):
        # Read at each click, so it may change while the keyboard runs.
        self.s.set_setting("EMAIL_ADDRESS_TEXTBOX", "me{@}example.com{TAB}")
        self.s.set_setting("BTC_ADDRESS_TEXTBOX", "1Bc{+}{%}")
        self.s.click("main", "AT_SIGN_BUTTON")
        self.wait_typed("me@example.com\t")
        self.s.click("main", "BTC_BUTTON")
        self.wait_typed("me@example.com\t1Bc+%")

    def test_malformed_stored_text_types_nothing(self):
        s = self.s
        s.set_setting("EMAIL_ADDRESS_TEXTBOX", "oops{")
        rest = s.drive("syscolor", "15")
        before, changes = s.click_watch("main", "AT_SIGN_BUTTON", 700)
        seen = [before] + changes
        colours = {before} | {c for _, c in changes}
        self.assertNotIn(LIGHT_ON, colours, "the key flashed: %r" % seen)
        self.assertEqual(colours, {rest}, seen)
        # Whatever the bad text did would have arrived before this key.
        self.click_showing("BUTTON_LETTER_X", "x")
        self.wait_typed("x")


if __name__ == "__main__":
    unittest.main()
