"""Word prediction as a user meets it: suggestions above the keys follow
what the keyboard typed into Notepad, a click on one finishes the word, what
was typed is learned and kept across a restart, and with prediction off the
window is the size it always was."""

import glob
import os
import unittest

from rig import KEYLOG_TITLE, NOTEPAD_TITLE, TARGET_GEOMETRY, TYPE_TIMEOUT_S, NotepadTestCase
from xpointer import XPointer

SUGGESTIONS = tuple("SUGGESTION_%d" % i for i in range(1, 6))
GREEN = "0x00FF00"
# Sizes are worked out in twips and rounded to pixels on each side.
ROUNDING_PX = 1


class PredictionCase(NotepadTestCase):
    stored = {}

    def setUp(self):
        # The choice must be stored before the keyboard loads.
        s = self.s = self.new_session()
        for key, value in self.stored.items():
            s.set_setting(key, value)
        s.start_keyboard()
        s.start_notepad(*self.notepad_geometry)
        s.make_target(NOTEPAD_TITLE)

    def offered(self):
        return [self.s.text("main", name) for name in SUGGESTIONS]

    def click_offered(self, word):
        """Waits for `word` among the suggestions and clicks it. The caller
        first waits for its letters to arrive: a word offered for the first
        letter may sit in another place, or be gone, once the next letter's
        click is handled, and a click on the old place then types nothing
        (a failed run under load showed exactly that)."""
        offered = self.s.wait_for(self.offered, lambda got: word in got, TYPE_TIMEOUT_S,
                                  "%r was never offered" % word)
        self.s.click("main", SUGGESTIONS[offered.index(word)])

    def type_letters(self, word):
        self.click_keys(*("BUTTON_LETTER_" + c.upper() for c in word))


class PredictionOn(PredictionCase):
    stored = {"WORD_PREDICTION": "1"}

    def test_a_suggestion_finishes_the_word_and_a_full_stop_goes_before_its_space(self):
        self.type_letters("th")
        self.wait_typed("th")
        self.click_offered("the")
        self.wait_typed("the ")
        # A word the list lacks, typed once, is offered from its first two
        # letters.
        self.type_letters("zebu")
        self.s.click("main", "BUTTON_SPACEBAR")
        self.wait_typed("the zebu ")
        # A word between: no word is offered straight after itself.
        self.type_letters("a")
        self.s.click("main", "BUTTON_SPACEBAR")
        self.type_letters("ze")
        self.wait_typed("the zebu a ze")
        self.click_offered("zebu")
        self.wait_typed("the zebu a zebu ")
        self.s.click("main", "BUTTON_FULL_STOP")
        self.wait_typed("the zebu a zebu. ")

    def learned_file(self):
        found = glob.glob(os.path.join(self.s.dir, "drive_c", "users", "*", "AppData", "Roaming", "QM-OSK",
                                       "qm-osk", "learned-words.txt"))
        if not found:
            return ""
        with open(found[0], encoding="utf-8") as f:
            return f.read()

    def type_words(self, text):
        """Types `text` with the letter keys and the space bar, each click
        once the one before has typed. (These tests are about what is
        learned and offered. On a loaded machine, clicks faster than a
        person's lost a key now and then: one that comes while the keyboard
        is still handing the focus back for the one before.)"""
        shown = self.typed()
        for c in text:
            self.s.click("main", "BUTTON_SPACEBAR" if c == " " else "BUTTON_LETTER_" + c.upper())
            shown += c
            self.wait_typed(shown)

    def test_a_learned_pair_outlasts_a_crash_and_a_restart(self):
        # The keyboard learns a word it saw start: after its own space.
        self.type_words(" zebu herd zebu herd ")
        self.wait_typed(" zebu herd zebu herd ")
        # Stored a few seconds after the words, with no close to store them.
        self.s.wait_for(self.learned_file, lambda text: "herd" in text, 30, "herd was never stored")
        self.type_words("zebu ")
        self.wait_typed(" zebu herd zebu herd zebu ")
        self.click_offered("herd")
        self.wait_typed(" zebu herd zebu herd zebu herd ")
        self.s.kill_all()
        self.s.start_keyboard()
        self.s.start_notepad(*self.notepad_geometry)
        self.s.make_target(NOTEPAD_TITLE)
        self.type_words(" zebu ")
        self.wait_typed(" zebu ")
        self.click_offered("herd")
        self.wait_typed(" zebu herd ")

    def test_the_built_in_pairs_offer_the_next_word(self):
        # "an" is no single word common enough to be offered after a space:
        # it comes from the pair "of an".
        self.type_words(" of ")
        self.wait_typed(" of ")
        self.s.wait_for(self.offered, lambda got: "the" in got and "an" in got, TYPE_TIMEOUT_S,
                        "'the' and 'an' were never offered after 'of'")

    def test_a_sentence_starts_with_capitals_offered_and_typed(self):
        self.type_words(" it")
        self.s.click("main", "BUTTON_FULL_STOP")
        self.s.click("main", "BUTTON_SPACEBAR")
        self.wait_typed(" it. ")
        offered = self.s.wait_for(self.offered, lambda got: "The" in got, TYPE_TIMEOUT_S,
                                  "'The' was never offered after 'it. '")
        self.assertTrue(all(w[:1].isupper() for w in offered if w), offered)
        self.click_offered("The")
        self.wait_typed(" it. The ")


class PredictionMeetsTheUsersHands(PredictionCase):
    """The user's own keyboard and mouse between the keyboard's keys."""
    stored = {"WORD_PREDICTION": "1"}

    def caret(self):
        return self.s.drive("edit-caret", NOTEPAD_TITLE)

    def wait_caret(self, at):
        self.s.wait_for(self.caret, lambda got: got == "%d %d" % (at, at), TYPE_TIMEOUT_S,
                        "the caret never went to %d" % at)

    def choose_the(self):
        self.type_letters("th")
        self.wait_typed("th")
        self.click_offered("the")
        self.wait_typed("the ")
        self.wait_caret(4)

    def test_a_real_arrow_key_after_a_suggestion_keeps_the_full_stop_where_the_caret_is(self):
        self.choose_the()
        with XPointer(self.s.env["DISPLAY"]) as hands:
            hands.key("Left")
        self.wait_caret(3)
        self.s.click("main", "BUTTON_FULL_STOP")
        # Nothing deleted: the full stop goes in at the caret, before the
        # space the suggestion typed.
        self.wait_typed("the. ")

    def test_a_real_click_in_the_text_after_a_suggestion_keeps_the_full_stop_where_the_caret_is(self):
        self.choose_the()
        left, top, _, _ = (int(v) for v in self.s.drive("client-rect", NOTEPAD_TITLE).split())
        with XPointer(self.s.env["DISPLAY"]) as hands:
            hands.click(left + 8, top + 8)
        self.wait_caret(0)
        self.s.click("main", "BUTTON_FULL_STOP")
        self.wait_typed(".the ")

    def test_a_real_shift_and_ctrl_between_two_letters_keep_the_word(self):
        self.type_letters("t")
        self.wait_typed("t")
        light = lambda: self.s.drive("color", "main", "SCROLL_LIGHT_LABEL")
        before = light()
        with XPointer(self.s.env["DISPLAY"]) as hands:
            hands.key("Shift_L")
            hands.key("Control_L")
            # Pressed after them, through the same path: once its light has
            # followed, the keyboard has had the modifiers' presses too.
            hands.key("Scroll_Lock")
            self.s.wait_for(light, lambda got: got != before, TYPE_TIMEOUT_S, "Scroll Lock's light never followed")
            hands.key("Scroll_Lock")
            self.s.wait_for(light, lambda got: got == before, TYPE_TIMEOUT_S, "Scroll Lock's light never went back")
        self.type_letters("h")
        self.wait_typed("th")
        # Offered for "th", not for "h" alone: the word went on.
        self.click_offered("the")
        self.wait_typed("the ")

    def toggle_caps_lock(self, letter_face):
        self.s.click("main", "BUTTON_CAPS")
        self.s.wait_for(lambda: self.s.text("main", "BUTTON_LETTER_T"), lambda got: got == letter_face,
                        TYPE_TIMEOUT_S, "the letter keys never showed %r" % letter_face)

    def test_suggestions_type_as_the_letter_keys_do(self):
        self.toggle_caps_lock("T")
        self.type_letters("th")
        self.wait_typed("TH")
        self.click_offered("THE")
        self.wait_typed("THE ")
        self.toggle_caps_lock("t")
        self.s.click("main", "SHIFT_LOCK_BUTTON")
        self.type_letters("th")
        self.wait_typed("THE th")
        self.click_offered("the")
        self.wait_typed("THE the ")

    def test_a_chosen_suggestion_flashes_and_comes_back(self):
        self.type_letters("th")
        self.wait_typed("th")
        offered = self.s.wait_for(self.offered, lambda got: "the" in got, TYPE_TIMEOUT_S, "'the' never offered")
        key = SUGGESTIONS[offered.index("the")]
        before, changes = self.s.click_watch("main", key, 2000)
        colours = [colour for _, colour in changes]
        self.assertIn(GREEN, colours, changes)
        self.assertEqual(colours[-1], before, changes)


class PredictionInAWindowThatRetitlesItself(PredictionCase):
    stored = {"WORD_PREDICTION": "1"}

    def setUp(self):
        s = self.s = self.new_session()
        for key, value in self.stored.items():
            s.set_setting(key, value)
        s.start_keyboard()
        s.start_keylog(*TARGET_GEOMETRY, "--retitle")
        s.make_target(KEYLOG_TITLE)

    def test_the_word_goes_on_under_a_new_title(self):
        s = self.s
        for n, letter in enumerate("th", start=1):
            self.type_letters(letter)
            # The keyboard has noted the window's new title before the next key.
            s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", "%s (%d)" % (KEYLOG_TITLE, n), "20000")
        self.s.wait_for(self.offered, lambda got: "the" in got, TYPE_TIMEOUT_S,
                        "'the' was never offered for 't', 'h'")


class PredictionAtTheTopOfTheScreen(PredictionCase):
    stored = {"WORD_PREDICTION": "1", "MainTop": "0"}

    def test_the_strip_keeps_the_title_bar_on_the_screen(self):
        (_, work) = self.s.monitor()
        self.assertGreaterEqual(self.s.rect("main")[1], work[1])


class PredictionOff(PredictionCase):

    def open_aids(self):
        self.s.click("main", "SETTINGS_BUTTON")
        self.s.drive("wait-window", "settings")
        self.s.click("settings", "TYPING_AIDS_BUTTON")
        self.s.drive("wait-window", "aids")

    def close_dialogs(self):
        self.s.click("aids", "OK_BUTTON")
        self.s.drive("wait-gone", "aids")
        self.s.click("settings", "OK_BUTTON")
        self.s.drive("wait-gone", "settings")

    def shown_suggestions(self):
        rects = self.s.drive("control-rects", "main").splitlines()
        return [line.split()[0] for line in rects if line.split()[0] in SUGGESTIONS]

    def test_the_strip_comes_and_goes_with_the_tick_box_and_the_keys_stay_as_they_were(self):
        s = self.s
        before, key_before = s.rect("main"), s.rect("main", "BUTTON_LETTER_H")
        self.assertEqual(self.shown_suggestions(), [])
        self.open_aids()
        s.click("aids", "WORD_PREDICTION_TICKBOX")
        self.close_dialogs()
        s.wait_for(self.shown_suggestions, lambda shown: len(shown) == len(SUGGESTIONS), TYPE_TIMEOUT_S,
                   "the suggestions never showed")
        grown, key_grown = s.rect("main"), s.rect("main", "BUTTON_LETTER_H")
        # The window grows upwards by the strip; the keys keep their size
        # and their place on the screen.
        self.assertEqual(grown[0], before[0])
        self.assertClose(grown[2], before[2], ROUNDING_PX)
        self.assertGreater(grown[3], before[3])
        self.assertClose(grown[1] + grown[3], before[1] + before[3], ROUNDING_PX)
        for got, was in zip(key_grown, key_before):
            self.assertClose(got, was, ROUNDING_PX)
        self.open_aids()
        s.click("aids", "WORD_PREDICTION_TICKBOX")
        self.close_dialogs()
        s.wait_for(self.shown_suggestions, lambda shown: shown == [], TYPE_TIMEOUT_S,
                   "the suggestions never went")
        for got, was in zip(s.rect("main") + s.rect("main", "BUTTON_LETTER_H"), before + key_before):
            self.assertClose(got, was, ROUNDING_PX)


if __name__ == "__main__":
    unittest.main()
