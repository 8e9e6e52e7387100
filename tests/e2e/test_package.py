"""The release artefacts of scripts/package.sh as a Windows user meets them:
the installer run silently, the installed program, the uninstaller, the
portable zip, and the version they all carry."""

import glob
import os
import re
import signal
import struct
import subprocess
import tempfile
import unittest
import zipfile

from xpointer import XPointer
from rig import (BUILD, KEYLOG_EXE, KEYLOG_TITLE, NOTEPAD_TITLE, ROOT, START_TIMEOUT_S, TARGET_GEOMETRY,
                 TYPE_TIMEOUT_S, KeyboardTestCase, unix_pid_of)

PACKAGE_DIR = os.environ.get("QMOSK_PACKAGE_DIR", os.path.join(ROOT, "build", "package"))
# The 32-bit installer writes to the 32-bit view of the registry.
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QM-OSK"
SETTINGS_KEY = r"HKCU\Software\QM-OSK"
SHORTCUT = os.path.join("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", "QM-OSK.lnk")
# A silent install or uninstall of a few megabytes; the uninstaller copies
# itself to %TEMP% and returns at once, so its work is waited for.
SETUP_TIMEOUT_S = 60


def project_version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(qm-osk VERSION (\d+\.\d+\.\d+)", f.read()).group(1)


def installed_files():
    """The files the installer puts, as the build lists them for the
    installer and the uninstaller alike."""
    with open(os.path.join(BUILD, "installed-files.txt"), encoding="utf-8") as f:
        return f.read().split()


def keyboard_pid(s):
    """The one running keyboard's Unix process, or None while there is not
    exactly one."""
    try:
        return unix_pid_of("qm-osk.exe", s.dir)
    except LookupError:
        return None


def artefact(kind):
    path = os.path.join(PACKAGE_DIR, "qm-osk-%s-%s" % (project_version(), kind))
    if not os.path.exists(path):
        raise AssertionError("missing %s: run scripts/package.sh first" % path)
    return path


def version_resource(exe):
    """The fixed file and product versions and the FileVersion and
    ProductVersion strings of a program's version resource."""
    with open(exe, "rb") as f:
        data = f.read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
    if at < 0:
        raise AssertionError("%s has no version resource" % exe)
    fms, fls, pms, pls = struct.unpack_from("<4I", data, at + 8)

    def dotted(ms, ls):
        return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)

    def string(name):
        key = (name + "\0").encode("utf-16-le")
        i = data.find(key, at)
        if i < 0:
            return None
        i += len(key)
        i += (-i) % 4  # values start on a 32-bit boundary
        end = i
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[i:end].decode("utf-16-le")

    return dotted(fms, fls), dotted(pms, pls), string("FileVersion"), string("ProductVersion")


def type_with(s, exe):
    """Starts the program at `exe` and types a key with it into Notepad."""
    s.keyboard = s.start(exe, name="keyboard")
    s.drive("wait-window", "main", str(START_TIMEOUT_S * 1000))
    s.start_notepad(*TARGET_GEOMETRY)
    s.make_target(NOTEPAD_TITLE)
    s.click("main", "BUTTON_LETTER_Q")
    s.wait_for(lambda: s.drive("edit-text", NOTEPAD_TITLE), lambda t: t == "q", TYPE_TIMEOUT_S,
               "Notepad never showed the key")


class Version(unittest.TestCase):
    def test_the_program_carries_the_project_version(self):
        v = project_version()
        exe = os.path.join(BUILD, "src", "host", "qm-osk.exe")
        self.assertEqual(version_resource(exe), (v + ".0", v + ".0", v, v))


class Installed(KeyboardTestCase):
    def unix(self, s, windows_path):
        self.assertRegex(windows_path, r"^C:\\")
        return os.path.join(s.dir, "drive_c", *windows_path[3:].split("\\"))

    def install(self, s, setup=None):
        p = s.start(setup or artefact("setup.exe"), "/S", name="setup")
        self.assertEqual(p.wait(timeout=SETUP_TIMEOUT_S), 0, "the silent install failed")

    def uninstall(self, s, *options):
        entry = s.reg_value(UNINSTALL_KEY, "QuietUninstallString", "32")
        self.assertIsNotNone(entry, "no uninstall entry")
        exe = re.match(r'^"([^"]+)" /S$', entry[1]).group(1)
        s.start(exe, "/S", *options, name="uninstall")
        s.wait_for(lambda: s.reg_value(UNINSTALL_KEY, "DisplayName", "32"), lambda v: v is None,
                   SETUP_TIMEOUT_S, "the uninstall entry stayed")

    def test_the_installer_speaks_the_systems_language_and_english_otherwise(self):
        # Its first page, left open: the session's end closes it.
        for lang, cancel in (("de_DE.UTF-8", "Abbrechen"), ("fr_FR.UTF-8", "Annuler"),
                             ("es_ES.UTF-8", "Cancelar"), ("it_IT.UTF-8", "Cancel")):
            with self.subTest(lang=lang):
                s = self.new_session(name="setup-" + lang[:2], lang=lang)
                s.start(artefact("setup.exe"), name="setup")
                s.wait_for(lambda s=s: s.drive("child-texts", "#32770", check=False)[1].split("\n"),
                           lambda texts, cancel=cancel: cancel in texts, SETUP_TIMEOUT_S,
                           "the installer's page never offered %r" % cancel)
                s.close()

    def test_the_uninstallers_own_page_speaks_german(self):
        # Its settings page is ours, not the installer system's: its text
        # comes from the keyboard's German texts.
        with open(os.path.join(ROOT, "data", "texts", "de.txt"), encoding="utf-8") as f:
            also = dict(line.rstrip("\n").split("\t", 1) for line in f if "\t" in line)["InstallerAlsoRemove"]
        s = self.new_session(name="uninstall-de", lang="de_DE.UTF-8")
        self.install(s)
        where = s.reg_value(UNINSTALL_KEY, "InstallLocation", "32")[1]
        s.start(where + "\\Uninstall.exe", name="uninstall")

        def page():
            return s.drive("child-texts", "#32770", check=False)[1].split("\n")

        s.wait_for(page, lambda texts: "Abbrechen" in texts, SETUP_TIMEOUT_S,
                   "the uninstaller never showed its first page")
        with XPointer(s.env["DISPLAY"]) as hands:
            hands.key("Return")  # on to the settings page
        s.wait_for(page, lambda texts: also in texts, SETUP_TIMEOUT_S, "the settings page never offered %r" % also)

    def test_install_type_uninstall_keeps_then_removes_the_settings(self):
        s = self.new_session()
        v = project_version()
        self.install(s)
        where = s.reg_value(UNINSTALL_KEY, "InstallLocation", "32")
        self.assertIsNotNone(where, "no uninstall entry after the install")
        where = where[1]
        self.assertRegex(where, r"^C:\\Program Files( \(x86\))?\\QM-OSK$")
        exe = where + "\\qm-osk.exe"
        uninstaller = '"%s\\Uninstall.exe"' % where
        size = s.reg_value(UNINSTALL_KEY, "EstimatedSize", "32")
        entry = {name: s.reg_value(UNINSTALL_KEY, name, "32") for name in (
            "DisplayName", "DisplayVersion", "Publisher", "DisplayIcon", "UninstallString",
            "QuietUninstallString", "NoModify", "NoRepair")}
        self.assertEqual(entry, {
            "DisplayName": ("REG_SZ", "QM-OSK"),
            "DisplayVersion": ("REG_SZ", v),
            "Publisher": ("REG_SZ", "QM-OSK"),
            "DisplayIcon": ("REG_SZ", exe),
            "UninstallString": ("REG_SZ", uninstaller),
            "QuietUninstallString": ("REG_SZ", uninstaller + " /S"),
            "NoModify": ("REG_DWORD", "0x1"),
            "NoRepair": ("REG_DWORD", "0x1"),
        })
        # In kilobytes: the program alone is over a megabyte.
        self.assertEqual(size[0], "REG_DWORD")
        self.assertGreater(int(size[1], 16), 1024)
        folder = self.unix(s, where)
        listed = installed_files()
        self.assertIn("LICENSE", listed)
        self.assertIn("user-guide.md", listed)
        self.assertEqual(sorted(os.listdir(folder)), sorted(listed + ["Uninstall.exe"]))
        assert_links_lead_somewhere(self, folder)
        self.assertTrue(os.path.exists(os.path.join(s.dir, "drive_c", SHORTCUT)), "no Start-menu shortcut")

        type_with(s, exe)
        s.close_keyboard()  # saves its geometry: settings of this user
        # Wine names the prefix's one user after the Unix account.
        users = [u for u in os.listdir(os.path.join(s.dir, "drive_c", "users")) if u != "Public"]
        self.assertEqual(len(users), 1, users)
        learned = os.path.join(s.dir, "drive_c", "users", users[0], "AppData", "Roaming", "QM-OSK")
        saved = s.setting("MainLeft")
        self.assertIsNotNone(saved, "the keyboard saved no settings")
        s.kill_all()  # Notepad too, before the uninstaller runs

        self.uninstall(s)
        s.wait_for(lambda: os.path.exists(folder), lambda e: not e, SETUP_TIMEOUT_S,
                   "the uninstaller left the program's folder")
        self.assertFalse(os.path.exists(os.path.join(s.dir, "drive_c", SHORTCUT)), "the shortcut stayed")
        self.assertEqual(s.setting("MainLeft"), saved, "a plain uninstall must keep the settings")

        self.install(s)
        self.assertEqual(s.setting("MainLeft"), saved)
        os.makedirs(os.path.join(learned, "qm-osk"), exist_ok=True)
        with open(os.path.join(learned, "qm-osk", "learned-words.txt"), "w") as f:
            f.write("keyboard\t3\n")
        self.uninstall(s, "/REMOVESETTINGS")
        s.wait_for(lambda: (s.setting("MainLeft"), os.path.exists(learned)), lambda r: r == (None, False),
                   SETUP_TIMEOUT_S, "\"Also remove my settings\" left settings or learned words")
        s.wait_for(lambda: os.path.exists(folder), lambda e: not e, SETUP_TIMEOUT_S,
                   "the uninstaller left the program's folder")

    def test_a_silent_uninstall_closes_the_running_keyboard_first(self):
        s = self.new_session()
        self.install(s)
        where = s.reg_value(UNINSTALL_KEY, "InstallLocation", "32")[1]
        folder = self.unix(s, where)
        s.set_setting("EMAIL_ADDRESS_TEXTBOX", "me@example.org")
        s.keyboard = s.start(where + "\\qm-osk.exe", name="keyboard")
        s.drive("wait-window", "main", str(START_TIMEOUT_S * 1000))

        self.uninstall(s, "/REMOVESETTINGS")
        try:
            s.keyboard.wait(timeout=SETUP_TIMEOUT_S)
        except subprocess.TimeoutExpired:
            raise AssertionError("the uninstaller left the keyboard running")
        # The keyboard's own close saves its place: once it has ended, that
        # save is over, and nothing of the user's settings is left.
        self.assertIsNone(s.setting("MainLeft"), "the keyboard's last save brought the settings back")
        self.assertIsNone(s.setting("EMAIL_ADDRESS_TEXTBOX"), "\"Also remove my settings\" left the settings")
        self.assertFalse(os.path.exists(folder), "files of ours stayed: %r" % (
            os.listdir(folder) if os.path.exists(folder) else None))
        self.assertFalse(os.path.exists(os.path.join(s.dir, "drive_c", SHORTCUT)), "the shortcut stayed")

    def test_a_silent_install_over_a_keyboard_that_will_not_close_changes_nothing(self):
        s = self.new_session()
        self.install(s)
        where = s.reg_value(UNINSTALL_KEY, "InstallLocation", "32")[1]
        uninstaller = os.path.join(self.unix(s, where), "Uninstall.exe")
        written = os.stat(uninstaller).st_mtime_ns
        s.keyboard = s.start(where + "\\qm-osk.exe", name="keyboard")
        s.drive("wait-window", "main", str(START_TIMEOUT_S * 1000))
        pid = s.wait_for(lambda: keyboard_pid(s), lambda p: p is not None, START_TIMEOUT_S,
                         "no single keyboard process")
        os.kill(pid, signal.SIGSTOP)  # hung: it reads no message and never ends
        try:
            setup = s.start(artefact("setup.exe"), "/S", name="setup")
            rc = setup.wait(timeout=SETUP_TIMEOUT_S)
        finally:
            os.kill(pid, signal.SIGCONT)
        # A silent run cannot ask the user to close it: it stops before
        # writing anything, and says so in its exit code.
        self.assertEqual(rc, 2, "the silent install went on over a keyboard that did not close")
        self.assertEqual(os.stat(uninstaller).st_mtime_ns, written, "the installer rewrote its files")
        self.assertIsNone(s.keyboard.poll(), "the keyboard ended")

    def test_a_file_in_use_keeps_the_uninstaller_and_its_entry(self):
        s = self.new_session()
        self.install(s)
        where = s.reg_value(UNINSTALL_KEY, "InstallLocation", "32")[1]
        folder = self.unix(s, where)
        # Another program holds one of our files open, with no leave to
        # delete it.
        holder = s.start(KEYLOG_EXE, where + "\\README.md", KEYLOG_TITLE, name="holder")
        s.drive("wait-window", KEYLOG_TITLE, str(START_TIMEOUT_S * 1000))
        # In place (_?=), so that its exit code is its own, not that of the
        # copy it otherwise hands over to. _?= takes no quotes, so the folder
        # goes by its short name, which has no spaces.
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", "winepath", "-s", where], env=s.env, cwd=s.dir, stdin=subprocess.DEVNULL,
                           stdout=out, stderr=subprocess.DEVNULL, timeout=START_TIMEOUT_S, check=True)
            out.seek(0)
            short = out.read().decode("utf-8", "replace").strip()
        self.assertNotIn(" ", short)
        un = s.start(where + "\\Uninstall.exe", "/S", "_?=" + short, name="uninstall")
        self.assertEqual(un.wait(timeout=SETUP_TIMEOUT_S), 2, "the uninstaller did not say it left a file")
        self.assertEqual(sorted(os.listdir(folder)), ["README.md", "Uninstall.exe"])
        self.assertIsNotNone(s.reg_value(UNINSTALL_KEY, "DisplayName", "32"), "the entry went, the file stayed")
        self.assertTrue(os.path.exists(os.path.join(s.dir, "drive_c", SHORTCUT)), "the shortcut went")

        # Once nothing holds it, the entry's uninstaller removes the rest.
        s.drive("close", KEYLOG_TITLE)
        holder.wait(timeout=START_TIMEOUT_S)
        self.uninstall(s)
        s.wait_for(lambda: os.path.exists(folder), lambda e: not e, SETUP_TIMEOUT_S,
                   "the second uninstall left the program's folder")

    def test_an_upgrade_keeps_the_settings_and_leaves_one_entry(self):
        s = self.new_session()
        # The same program packaged as an older version: what the installer
        # does with an earlier install is what is looked at here.
        old = os.path.join(s.dir, "old")
        subprocess.run(["cpack", "-G", "NSIS", "-D", "CPACK_PACKAGE_VERSION=0.9.0", "-B", old],
                       cwd=BUILD, stdout=subprocess.DEVNULL, check=True, timeout=SETUP_TIMEOUT_S)
        self.install(s, os.path.join(old, "qm-osk-0.9.0-setup.exe"))
        self.assertEqual(s.reg_value(UNINSTALL_KEY, "DisplayVersion", "32"), ("REG_SZ", "0.9.0"))
        where = s.reg_value(UNINSTALL_KEY, "InstallLocation", "32")[1]
        s.set_setting("EMAIL_ADDRESS_TEXTBOX", "me@example.org")
        s.keyboard = s.start(where + "\\qm-osk.exe", name="keyboard")
        s.drive("wait-window", "main", str(START_TIMEOUT_S * 1000))
        old_pid = s.wait_for(lambda: keyboard_pid(s), lambda p: p is not None, START_TIMEOUT_S,
                             "no single keyboard process")

        self.install(s)
        # The keyboard that ran was closed, as its close box would, and a
        # new one started in its place: one keyboard, not the old one.
        self.assertIsNotNone(s.keyboard.poll(), "the upgrade left the old keyboard running")
        new_pid = s.wait_for(lambda: keyboard_pid(s), lambda p: p is not None and p != old_pid,
                             START_TIMEOUT_S, "no new keyboard after the upgrade")
        s.drive("wait-window", "main", str(START_TIMEOUT_S * 1000))
        self.assertEqual(keyboard_pid(s), new_pid, "not one keyboard after the upgrade")
        self.assertEqual(s.reg_value(UNINSTALL_KEY, "DisplayVersion", "32"), ("REG_SZ", project_version()))
        self.assertEqual(s.reg_value(UNINSTALL_KEY, "InstallLocation", "32"), ("REG_SZ", where))
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", "reg", "query", UNINSTALL_KEY.rsplit("\\", 1)[0], "/s", "/reg:32"],
                           env=s.env, cwd=s.dir, stdin=subprocess.DEVNULL, stdout=out,
                           stderr=subprocess.DEVNULL, timeout=START_TIMEOUT_S)
            out.seek(0)
            names = re.findall(r"DisplayName\s+REG_SZ\s+(.*)", out.read().decode("utf-8", "replace"))
        self.assertEqual([n.strip() for n in names].count("QM-OSK"), 1, names)
        self.assertEqual(s.setting("EMAIL_ADDRESS_TEXTBOX"), "me@example.org")


def assert_links_lead_somewhere(test, folder):
    """The README and the guide as they ship: every picture they show and
    every page they link to is in the folder beside them."""
    for page in ("README.md", "user-guide.md"):
        with open(os.path.join(folder, page), encoding="utf-8") as f:
            targets = re.findall(r"\]\(([^)#]+)(?:#[^)]*)?\)", f.read())
        local = [t for t in targets if "://" not in t]
        test.assertIn("keyboard.png", local, "%s shows no picture" % page)
        for target in local:
            test.assertTrue(os.path.exists(os.path.join(folder, target)), "%s links to %s" % (page, target))


class Portable(KeyboardTestCase):
    def test_the_zip_runs_from_a_fresh_folder(self):
        s = self.new_session()
        folder = os.path.join(s.dir, "drive_c", "stick", "qm-osk")
        with zipfile.ZipFile(artefact("portable.zip")) as z:
            names = z.namelist()
            self.assertEqual(sorted(n for n in names if not n.endswith(".png")),
                             ["LICENSE", "LICENSE-pairs-en.md", "LICENSE-words-en.md", "READ-ME.txt", "README.md",
                              "qm-osk.exe", "user-guide.md"])
            z.extractall(folder)
        assert_links_lead_somewhere(self, folder)
        type_with(s, r"C:\stick\qm-osk\qm-osk.exe")


if __name__ == "__main__":
    unittest.main()
