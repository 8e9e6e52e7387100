"""The keyboard's own words: under a German Windows the keys and the three
dialogs speak German, the settings dialog's list switches every window to
French at once, and a language the keyboard does not ship reads English.
The texts are compared with data/texts, the files the program is built from.
Wine takes its display language from LC_ALL even where that locale is not
generated on the machine (only C.UTF-8 is here), so the rig needs none."""

import os
import subprocess
import unittest

from rig import ROOT, KeyboardTestCase

# Bounds for things expected to happen; none of them decides a result.
TEXT_TIMEOUT_S = 20
VK_DOWN, VK_RETURN = 0x28, 0x0D


def catalogue(code):
    texts = {}
    with open(os.path.join(ROOT, "data", "texts", code + ".txt"), encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line and not line.startswith("#"):
                key, text = line.split("\t", 1)
                texts[key] = text
    return texts


ENGLISH = catalogue("en")
GERMAN = catalogue("de")
FRENCH = catalogue("fr")


def english_left(shown, language):
    """The English texts among `shown` that `language` words otherwise (a
    value mark stands for any value)."""
    left = []
    for key, english in ENGLISH.items():
        if language[key] == english:
            continue
        head, _, tail = english.partition("{}")
        for text in shown:
            if text == english or ("{}" in english and text.startswith(head) and text.endswith(tail)
                                   and len(text) > len(head) + len(tail)):
                left.append(text)
    return left


class UiLanguage(KeyboardTestCase):
    def start(self, lang=None, settings=None):
        s = self.s = self.new_session(lang=lang)
        for key, value in (settings or {}).items():
            s.set_setting(key, value)
        s.start_keyboard()
        return s

    def wait_text(self, form, control, want):
        self.s.wait_for(lambda: self.s.text(form, control), lambda got: got == want, TEXT_TIMEOUT_S,
                        "%s %s never showed %r" % (form, control, want))

    def open(self, form, opener, control):
        self.s.click(opener, control)
        self.s.drive("wait-window", form)
        return self.s.drive("child-texts", form).split("\n")

    def shoot(self, form, name):
        """The dialog as shown, for the user's guide: into the folder that
        QMOSK_SHOTS names, when it names one."""
        folder = os.environ.get("QMOSK_SHOTS")
        if not folder:
            return
        x, y, w, h = self.s.rect(form)
        subprocess.run(["import", "-display", self.s.env["DISPLAY"], "-window", "root",
                        "-crop", "%dx%d+%d+%d" % (w, h, x, y), os.path.join(folder, name)],
                       check=False, timeout=60)

    def test_under_german_windows_keys_and_dialogs_speak_german(self):
        s = self.start(lang="de_DE.UTF-8")
        self.wait_text("main", "BUTTON_CTRL_LEFT", GERMAN["CtrlKey"])
        self.assertEqual(s.text("main", "BUTTON_INS"), GERMAN["InsKey"])
        self.assertEqual(english_left(s.drive("child-texts", "main").split("\n"), GERMAN), [])
        shown = self.open("settings", "main", "SETTINGS_BUTTON")
        self.assertIn(GERMAN["FkeysSettingsButton"], shown)
        # What the e-mail key types until the user gives an address.
        self.assertIn(GERMAN["EmailAddressDefault"], shown)
        self.assertEqual(english_left(shown, GERMAN), [])
        self.shoot("settings", "settings-de.png")
        shown = self.open("aids", "settings", "TYPING_AIDS_BUTTON")
        self.assertEqual(s.drive("text", "aids"), GERMAN["AidsTitle"])
        self.assertIn(GERMAN["DwellClickTickBox"], shown)
        self.assertEqual(english_left(shown, GERMAN), [])
        s.click("aids", "OK_BUTTON")
        s.drive("wait-gone", "aids")
        shown = self.open("fkeys", "settings", "FKEYS_SETTINGS_BUTTON")
        self.assertEqual(s.drive("text", "fkeys"), GERMAN["FkeysTitle"])
        self.assertIn(GERMAN["FkeyRowLabel"].replace("{}", "16"), shown)
        self.assertEqual(english_left(shown, GERMAN), [])
        # Nothing was chosen: the keyboard follows Windows.
        self.assertIsNone(s.setting("UI_LANGUAGE"))

    def test_french_chosen_in_the_list_reaches_every_window_at_once(self):
        s = self.start()
        self.wait_text("main", "SETTINGS_BUTTON", ENGLISH["SettingsKey"])
        self.open("settings", "main", "SETTINGS_BUTTON")
        self.shoot("settings", "settings-en.png")
        # Windows' language, English, Deutsch, Français: three down.
        s.click("settings", "LANGUAGE_LIST")
        for _ in range(3):
            s.drive("tap-key", str(VK_DOWN))
        s.drive("tap-key", str(VK_RETURN))
        self.wait_text("main", "SETTINGS_BUTTON", FRENCH["SettingsKey"])
        self.assertEqual(s.setting("UI_LANGUAGE"), "fr")
        self.assertEqual(s.text("settings", "LANGUAGE_LABEL"), FRENCH["LanguageLabel"])
        self.assertEqual(english_left(s.drive("child-texts", "settings").split("\n"), FRENCH), [])
        self.assertEqual(english_left(s.drive("child-texts", "main").split("\n"), FRENCH), [])

    def test_every_dialog_text_fits_its_control_in_every_language(self):
        # Measured in the host's font at the size each control has on the
        # screen: the unit tests' width estimate errs by a tenth either way,
        # which a label that only just fits does not survive.
        with open(os.path.join(ROOT, "data", "texts", "languages.txt"), encoding="utf-8") as f:
            codes = [line.split("\t")[0] for line in f if line.strip() and not line.startswith("#")]
        s = self.start()
        clipped = []
        for code in codes:
            s.close_keyboard()
            s.set_setting("UI_LANGUAGE", code)
            s.start_keyboard()
            self.open("settings", "main", "SETTINGS_BUTTON")
            for form, opener in (("aids", "TYPING_AIDS_BUTTON"), ("fkeys", "FKEYS_SETTINGS_BUTTON")):
                self.open(form, "settings", opener)
                clipped += ["%s %s %s" % (code, form, line) for line in s.drive("clipped", form).splitlines()]
                s.drive("close", form)
                s.drive("wait-gone", form)
            clipped += ["%s settings %s" % (code, line) for line in s.drive("clipped", "settings").splitlines()]
            s.drive("close", "settings")
            s.drive("wait-gone", "settings")
        self.maxDiff = None
        self.assertEqual(clipped, [])

    def test_a_language_not_shipped_reads_english(self):
        s = self.start(lang="it_IT.UTF-8")
        self.wait_text("main", "BUTTON_CTRL_LEFT", ENGLISH["CtrlKey"])
        self.assertEqual(s.text("main", "SETTINGS_BUTTON"), ENGLISH["SettingsKey"])
        shown = self.open("settings", "main", "SETTINGS_BUTTON")
        self.assertIn(ENGLISH["FkeysSettingsButton"], shown)
        self.assertIn(ENGLISH["WindowsLanguage"], shown)


if __name__ == "__main__":
    unittest.main()
