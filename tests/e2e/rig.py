"""Runs the real keyboard under Wine on a private display and drives it.

The display and the template prefix are made once per run by
scripts/desktop.sh (run.py starts them when they are missing). Each Session
gets its own copy of the template, so its settings store starts empty, and
ends every Wine process of that copy when it closes, test failure or not.
"""

import os
import select
import sys
import shutil
import subprocess
import tempfile
import time
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.environ.get("QMOSK_MINGW_BUILD", os.path.join(ROOT, "build", "mingw"))
KEYBOARD_EXE = os.environ.get(
    "QMOSK_EXE", os.path.join(BUILD, "src", "host", "qm-osk.exe"))
DRIVE_EXE = os.path.join(BUILD, "tools", "osk-drive", "osk-drive.exe")
KEYLOG_EXE = os.path.join(BUILD, "tools", "keylog", "qmosk-keylog.exe")
# A program for the keyboard to start: it writes its arguments down.
MARKER_EXE = os.path.join(BUILD, "tools", "marker", "qmosk-marker.exe")
MARKER_FILE = "qmosk-marker.txt"  # in the working directory it inherits
# While it runs, no window of the class it is given can be made.
DENY_EXE = os.path.join(BUILD, "tools", "deny-window", "qmosk-deny-window.exe")

APP = "qm-osk"  # the store is keyed by the executable's own name
TWIPS_PER_INCH = 1440
NOTEPAD_TITLE = "Untitled - Notepad"
KEYLOG_TITLE = "QM-OSK Key Log"

# Bounds for waiting on things that are expected to happen; they never
# decide a result by themselves.
START_TIMEOUT_S = 60
# Longer than the longest wait osk-drive is asked for (60 s) plus its own
# start, so that its message, not a bare timeout here, says what was missing.
DRIVE_TIMEOUT_S = 120
# The target title is read once a second. With two CPU-bound jobs beside
# the other work on two CPUs, the label followed a switch within 1.15 s
# (osk-drive's own start included); an osk-drive call then takes about a
# second (0.99 s median, 1.35 s at most).
TRACK_TIMEOUT_MS = 5000
TYPE_TIMEOUT_S = 10
VK_NUMLOCK = 0x90

# The keyboard sits at its default place (about 67,67 to 1187,386 at 96 dpi);
# targets go below it so that no click on a key lands on them.
TARGET_GEOMETRY = (67, 430, 1120, 480)


class DriveError(AssertionError):
    pass


def rig_ready():
    return all(os.environ.get(k) for k in ("DISPLAY", "QMOSK_RUN_DIR", "QMOSK_WINE_TEMPLATE"))


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def unix_pid_of(exe_name, prefix):
    """The Unix process that runs a Windows program in our prefix: Wine
    starts it through its loader, so the Popen pid is not always the
    program's, and other runs on the machine have programs of that name."""
    found = []
    want_env = ("WINEPREFIX=" + prefix).encode()
    for d in os.listdir("/proc"):
        if not d.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % d, "rb") as f:
                argv0 = f.read().split(b"\0")[0].decode("utf-8", "replace")
            if not argv0.replace("\\", "/").lower().endswith(exe_name):
                continue
            with open("/proc/%s/environ" % d, "rb") as f:
                if want_env not in f.read().split(b"\0"):
                    continue
        except OSError:
            continue
        found.append(int(d))
    if len(found) != 1:
        raise LookupError("expected one process of %s, found %r" % (exe_name, found))
    return found[0]


def copy_prefix(template, target):
    """Hard-links the read-only bulk of the prefix and copies what Wine writes,
    the same way desktop.sh does."""
    subprocess.run(["cp", "-al", template, target], check=True)
    for name in os.listdir(template):
        if name.endswith(".reg"):
            os.unlink(os.path.join(target, name))
            shutil.copy2(os.path.join(template, name), os.path.join(target, name))
    users = os.path.join(target, "drive_c", "users")
    shutil.rmtree(users, ignore_errors=True)
    subprocess.run(["cp", "-a", os.path.join(template, "drive_c", "users"), users], check=True)
    # "wineserver" names the server's shared memory: a copy would make two
    # servers share it.
    for name in (".complete", "wineserver"):
        if os.path.lexists(os.path.join(target, name)):
            os.unlink(os.path.join(target, name))


def start_server(env, timeout_s=30):
    """Starts the prefix's server before any program of it.

    Debian's Wine gives each server a private directory under /tmp and records
    its name in the prefix. When two programs start together in a fresh
    prefix, both make a directory and one of them then waits forever on the
    other's; one server started first leaves them nothing to race for.
    """
    subprocess.run(["wineserver", "-p"], env=env, check=True, timeout=timeout_s)
    pointer = os.path.join(env["WINEPREFIX"], "wineserver")
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        if os.path.exists(pointer):
            with open(pointer) as f:
                server_dir = os.path.join("/tmp", f.read().strip())
            if os.path.isdir(server_dir) and any(
                    os.path.exists(os.path.join(server_dir, d, "socket")) for d in os.listdir(server_dir)):
                return
        time.sleep(0.05)
    raise AssertionError("the Wine server of %s never came up" % env["WINEPREFIX"])


class Display:
    """A virtual display of its own size, made as scripts/desktop.sh makes the
    run's: Xvfb, the UK keymap (or `keymap`) and openbox. For a test about
    screens or keymaps other than the run's; close() ends exactly what it
    started."""

    def __init__(self, size, timeout_s=30, keymap="gb"):
        run_dir = os.environ["QMOSK_RUN_DIR"]
        self.wm = None
        read_fd, write_fd = os.pipe()
        log = open(os.path.join(run_dir, "xvfb-%s-%d.log" % (size, os.getpid())), "wb")
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", size + "x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        log.close()
        os.close(write_fd)
        try:
            # Xvfb writes the number it took once it listens; it picks a free
            # one itself, so parallel runs never race for a number.
            number = b""
            deadline = time.monotonic() + timeout_s
            while not number.endswith(b"\n"):
                if time.monotonic() > deadline or self.xvfb.poll() is not None:
                    raise AssertionError("Xvfb %s did not start" % size)
                ready, _, _ = select.select([read_fd], [], [], 0.1)
                if ready:
                    chunk = os.read(read_fd, 16)
                    if not chunk:
                        raise AssertionError("Xvfb %s did not start" % size)
                    number += chunk
            self.name = ":" + number.decode().strip()
            self.env = dict(os.environ, DISPLAY=self.name)
            subprocess.run(["setxkbmap", "-display", self.name, keymap], check=True, timeout=timeout_s)
            self.wm = subprocess.Popen(["openbox"], env=self.env, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

            def has_wm():
                r = subprocess.run(["xprop", "-display", self.name, "-root", "_NET_SUPPORTING_WM_CHECK"],
                                   capture_output=True, timeout=timeout_s)
                return b"window id" in r.stdout
            while not has_wm():
                if time.monotonic() > deadline:
                    raise AssertionError("openbox did not take over %s" % self.name)
                time.sleep(0.1)
        except BaseException:
            self.close()
            raise
        finally:
            os.close(read_fd)

    def close(self):
        for p in (self.wm, self.xvfb):
            if p is None or p.poll() is not None:
                continue
            p.terminate()
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()


class Session:
    """One Wine prefix (one empty settings store) and what runs in it; on
    `display` when given (a Display), at `dpi` when given, in the Unix
    locale `lang` when given."""

    _counter = 0

    def __init__(self, name, display=None, dpi=None, lang=None):
        Session._counter += 1
        run_dir = os.environ["QMOSK_RUN_DIR"]
        self.dir = os.path.join(run_dir, "prefixes.d", "%s-%d-%d" % (name, os.getpid(), Session._counter))
        os.makedirs(os.path.dirname(self.dir), exist_ok=True)
        copy_prefix(os.environ["QMOSK_WINE_TEMPLATE"], self.dir)
        self.env = dict(os.environ)
        if display is not None:
            self.env["DISPLAY"] = display.name
        if lang is not None:
            self.env["LANG"] = self.env["LC_ALL"] = lang
        self.env["WINEPREFIX"] = self.dir
        self.env.setdefault("WINEDEBUG", "-all")
        self.env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
        start_server(self.env)
        self.logs = os.path.join(self.dir, "logs")
        os.makedirs(self.logs, exist_ok=True)
        self.procs = []
        self.keyboard = None
        if dpi is not None:
            # What Wine reports as the display's DPI, read as each program
            # starts.
            subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                            "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=self.env, cwd=self.dir,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=True, timeout=START_TIMEOUT_S)

    def kill_all(self):
        """Ends every program of the prefix at once, as a crash or a power
        cut would: nothing gets to close or save. The prefix's server starts
        again, ready for the next program."""
        subprocess.run(["wineserver", "-k"], env=self.env, check=True, timeout=START_TIMEOUT_S,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, check=True, timeout=START_TIMEOUT_S,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for p in self.procs:
            p.wait(timeout=START_TIMEOUT_S)
        self.keyboard = None
        start_server(self.env)

    # -- processes ---------------------------------------------------------

    def start(self, *argv, name="proc"):
        log = open(os.path.join(self.logs, "%s-%d.log" % (name, len(self.procs))), "wb")
        p = subprocess.Popen(["wine", *argv], env=self.env, cwd=self.dir,
                             stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        log.close()
        self.procs.append(p)
        return p

    def start_keyboard(self, *args):
        self.keyboard = self.start(KEYBOARD_EXE, *args, name="keyboard")
        self.drive("wait-window", "main", str(START_TIMEOUT_S * 1000))
        return self.keyboard

    def close_keyboard(self):
        """Closes the window as a user would and waits for the program to end."""
        self.drive("close", "main")
        try:
            self.keyboard.wait(timeout=START_TIMEOUT_S)
        except subprocess.TimeoutExpired:
            raise AssertionError("the keyboard program kept running after its window closed")
        self.keyboard = None

    def start_notepad(self, x, y, w, h):
        self.start("notepad", name="notepad")
        self.drive("wait-window", NOTEPAD_TITLE, str(START_TIMEOUT_S * 1000))
        # Out of the keyboard's way, so that clicks land on the keys.
        self.drive("move", NOTEPAD_TITLE, str(x), str(y), str(w), str(h))

    def start_keylog(self, x, y, w, h, *options):
        path = os.path.join(self.logs, "keys.log")
        self.start(KEYLOG_EXE, windows_path(path), *((KEYLOG_TITLE,) + options if options else ()),
                   name="keylog")
        self.drive("wait-window", KEYLOG_TITLE, str(START_TIMEOUT_S * 1000))
        self.drive("move", KEYLOG_TITLE, str(x), str(y), str(w), str(h))
        return path

    def deny_windows(self, window_class):
        """Makes the system refuse every window of `window_class`, as it does
        when it is out of window resources, until the returned process is
        ended."""
        return self.start_ready(DENY_EXE, window_class, "deny", "the window hook was never set")

    def start_ready(self, exe, arg, name, never):
        """Starts a helper tool that writes "ready" to its log once it holds
        what it was started to hold, and waits for that (`never`: the
        failure's words)."""
        p = self.start(exe, arg, name=name)
        log = os.path.join(self.logs, "%s-%d.log" % (name, len(self.procs) - 1))

        def ready():
            if p.poll() is not None:
                raise AssertionError("%s ended (%d)" % (os.path.basename(exe), p.returncode))
            with open(log, "rb") as f:
                return b"ready" in f.read()
        self.wait_until(ready, START_TIMEOUT_S, never)
        return p

    def set_num_lock(self, test, on, window):
        """Sets Num Lock, tapped in `window` (Wine delivers the key only to a
        window with the focus), and puts it back when `test` ends: the lock
        lives in the display that later tests share."""

        def toggle_to(state):
            if ("num=%d" % state) not in self.drive("keystate"):
                self.drive("foreground", window)
                self.drive("tap-key", str(VK_NUMLOCK))
                self.wait_until(lambda: ("num=%d" % state) in self.drive("keystate"), TYPE_TIMEOUT_S,
                                "Num Lock did not follow the key")

        original = 1 if "num=1" in self.drive("keystate") else 0
        toggle_to(1 if on else 0)
        test.addCleanup(toggle_to, original)

    def shoot(self, name, form="main"):
        """A window as shown, for the guides: into the folder that
        QMOSK_SHOTS names, when it names one."""
        folder = os.environ.get("QMOSK_SHOTS")
        if not folder:
            return
        x, y, w, h = self.rect(form)
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root",
                        "-crop", "%dx%d+%d+%d" % (w, h, x, y), os.path.join(folder, name)],
                       check=False, timeout=60)

    def close(self):
        if getattr(self, "_closed", False):
            return
        self._closed = True
        subprocess.run(["wineserver", "-k"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for p in self.procs:
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if os.environ.get("QMOSK_KEEP_PREFIXES") != "1":
            shutil.rmtree(self.dir, ignore_errors=True)

    # -- osk-drive ---------------------------------------------------------

    def drive(self, *args, check=True):
        # Files, not pipes: the first Wine program of a prefix starts Wine's
        # own services, which inherit its output handles and never close
        # them, so reading a pipe to its end would wait forever.
        with tempfile.TemporaryFile() as so, tempfile.TemporaryFile() as se:
            r = subprocess.run(["wine", DRIVE_EXE, *args], env=self.env, cwd=self.dir,
                               stdin=subprocess.DEVNULL, stdout=so, stderr=se,
                               timeout=DRIVE_TIMEOUT_S)
            so.seek(0)
            se.seek(0)
            stdout, stderr = so.read(), se.read()
        out = stdout.decode("utf-8", "replace").replace("\r\n", "\n").rstrip("\n")
        if check and r.returncode != 0:
            raise DriveError("osk-drive %s failed (%d): %s" % (
                " ".join(args), r.returncode, stderr.decode("utf-8", "replace").strip()))
        return out if check else (r.returncode, out)

    def make_target(self, title, attempts=3):
        """Puts `title` in front and waits until the keyboard has recorded it.

        On a loaded machine the window manager can still be raising a window
        that started a moment earlier (the keyboard itself, usually) after
        `title` was put in front; the keyboard then rightly records that
        window. Such a start-up race is the desktop's, not the keyboard's, so
        the window is put in front again rather than failing the test."""
        for attempt in range(attempts):
            # Wine can refuse the switch while another window is still taking
            # the front (one just started, or a dialog just closed); the next
            # attempt asks again.
            self.drive("foreground", title, check=False)
            rc, _ = self.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", title,
                               str(TRACK_TIMEOUT_MS), check=False)
            if rc == 0:
                return
            front = self.drive("title-of-foreground", check=False)[1]
            sys.stderr.write("make_target: %r not recorded, %r in front (attempt %d)\n"
                             % (title, front, attempt + 1))
        raise AssertionError("the keyboard never recorded %r as its target" % title)

    def rect(self, *what):
        return tuple(int(v) for v in self.drive("rect", *what).split())

    def monitor(self, form="main"):
        lines = self.drive("monitor", form).splitlines()
        return tuple(int(v) for v in lines[0].split()), tuple(int(v) for v in lines[1].split())

    def dpi(self):
        return int(self.drive("dpi"))

    def reg_value(self, key, value, view=None):
        """(type, data) of a registry value as `reg query` shows it, or None.
        `view` "32" reads what a 32-bit installer wrote on 64-bit Windows."""
        # A file, not a pipe, for the reason drive() gives.
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", "reg", "query", key, "/v", value] + (["/reg:" + view] if view else []),
                           env=self.env, cwd=self.dir, stdin=subprocess.DEVNULL, stdout=out,
                           stderr=subprocess.DEVNULL, timeout=START_TIMEOUT_S)
            out.seek(0)
            text = out.read().decode("utf-8", "replace")
        for line in text.splitlines():
            fields = line.strip().split(None, 2)
            if len(fields) >= 2 and fields[0] == value:
                return (fields[1], fields[2] if len(fields) == 3 else "")
        return None

    def set_setting(self, key, value):
        self.drive("set-reg", APP, key, value)

    def setting(self, key):
        rc, out = self.drive("get-reg", APP, key, check=False)
        return out if rc == 0 else None

    def text(self, form, control):
        return self.drive("text", form, control)

    def click(self, form, control):
        self.drive("click", form, control)

    def set_text(self, form, control, text):
        """Puts text into a text box as if typed: the keyboard hears of it."""
        self.drive("set-text", form, control, text)

    def note(self, form="main"):
        """The text of the balloon the form shows beside a control, or None."""
        rc, out = self.drive("note", form, check=False)
        return out.split("\n")[0] if rc == 0 else None

    def marker_lines(self):
        """One line per start of the marker program, arguments in brackets.
        Programs the keyboard starts inherit its working directory, the
        prefix's own."""
        path = os.path.join(self.dir, MARKER_FILE)
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return f.read().splitlines()

    def click_watch_foreground(self, form, control, window, text, ms=5000):
        """Clicks a control, holding the button as a person does, and returns
        the foreground window's title before the click and [(ms after the
        press, title), ...] for every change until the edit child of
        `window` shows `text` (at most `ms`)."""
        lines = self.drive("click-watch-foreground", form, control, str(ms), window, text).splitlines()
        before = lines[0].split(" ", 1)[1]
        changes = [(int(t), title) for t, title in (line.split(" ", 1) for line in lines[1:])]
        return before, changes

    def click_watch(self, form, control, ms, also=()):
        """Clicks a control and watches its colour from the same process (a
        press flash can be over before a separate call could look): returns
        the colour before the click and [(ms after the click, colour), ...]
        for the first look and every change. With `also`, returns as well
        the colours of those controls as the watch ends, {name: colour}."""
        before, changes, after = None, [], {}
        for line in self.drive("click-watch-color", form, control, str(ms), *also).splitlines():
            fields = line.split()
            if fields[0] == "before":
                before = fields[1]
            elif fields[0] == "also":
                after[fields[1]] = fields[2]
            elif fields[0] != "looks":
                changes.append((int(fields[0]), fields[1]))
        return (before, changes, after) if also else (before, changes)

    def wait_for(self, read, done, timeout_s, what):
        """Reads a value until done(value) holds and returns that value, so
        that a test asserts on exactly what the wait saw. Fails after the
        timeout with the last value read, which is what a failure needs to
        show; `what` may be a function of that value."""
        deadline = time.monotonic() + timeout_s
        while True:
            last = read()
            if done(last):
                return last
            if time.monotonic() > deadline:
                said = what(last) if callable(what) else what
                raise AssertionError("%s (last seen: %r)" % (said, last))
            time.sleep(0.1)

    def wait_until(self, probe, timeout_s, what):
        """Polls probe() until it returns a true value, and returns it."""
        return self.wait_for(probe, bool, timeout_s, what)


def px(twips, dpi):
    return twips * dpi / TWIPS_PER_INCH


class KeyboardTestCase(unittest.TestCase):
    """A test class with its own empty store; the keyboard is started by the
    tests themselves, since several of them restart it."""

    session = None

    @classmethod
    def setUpClass(cls):
        if not rig_ready():
            raise AssertionError("no virtual desktop: run these tests through tests/e2e/run.py")
        for exe in (KEYBOARD_EXE, DRIVE_EXE, KEYLOG_EXE):
            if not os.path.exists(exe):
                raise AssertionError("missing %s: build the mingw preset first" % exe)

    def new_session(self, name=None, display=None, dpi=None, lang=None):
        s = Session(name or self.__class__.__name__, display=display, dpi=dpi, lang=lang)
        self.addCleanup(s.close)
        return s

    def new_display(self, size, keymap="gb"):
        d = Display(size, keymap=keymap)
        # Cleanups run last in, first out: the session's programs end
        # before their display goes.
        self.addCleanup(d.close)
        return d

    def assertClose(self, actual, expected, tol, msg=None):
        self.assertLessEqual(abs(actual - expected), tol,
                             msg or "%r is not within %r of %r" % (actual, tol, expected))


class NotepadTestCase(KeyboardTestCase):
    """The keyboard with Wine's Notepad in front of it as the target."""

    notepad_geometry = TARGET_GEOMETRY
    keyboard_args = ()

    def setUp(self):
        s = self.s = self.new_session()
        s.start_keyboard(*self.keyboard_args)
        self.start_helpers(s)
        s.start_notepad(*self.notepad_geometry)
        s.make_target(NOTEPAD_TITLE)

    def start_helpers(self, s):
        """Other programs a test needs beside Notepad."""

    def typed(self):
        return self.s.drive("edit-text", NOTEPAD_TITLE)

    def wait_typed(self, want, timeout_s=TYPE_TIMEOUT_S):
        self.s.wait_for(self.typed, lambda got: got == want, timeout_s, "Notepad never showed %r" % want)

    def click_keys(self, *names):
        for n in names:
            self.s.click("main", n)


class KeyLogTestCase(KeyboardTestCase):
    """The keyboard with the key-log window in front of it as the target:
    the exact key messages a program receives."""

    def setUp(self):
        s = self.s = self.new_session()
        s.start_keyboard()
        self.log = s.start_keylog(*TARGET_GEOMETRY)
        s.make_target(KEYLOG_TITLE)

    def events(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="ascii", errors="replace") as f:
            return [l.split() for l in f.read().splitlines() if l.startswith("WM_")]

    def chars(self):
        return "".join(chr(int(e[1][3:], 16)) for e in self.events() if e[0] == "WM_CHAR")

    def wait_chars(self, want):
        self.s.wait_for(self.chars, lambda got: got == want, TYPE_TIMEOUT_S,
                        "the key log never showed %r" % want)

    def keys(self, since=0):
        """Key-down and key-up messages as (message, vk, fields) from the
        index `since` of the event list."""
        result = []
        for e in self.events()[since:]:
            if e[0] in ("WM_KEYDOWN", "WM_KEYUP", "WM_SYSKEYDOWN", "WM_SYSKEYUP"):
                fields = dict(f.split("=", 1) for f in e[1:])
                result.append((e[0], int(fields["vk"], 16), fields))
        return result

    def wait_key_up(self, vk, since=0):
        """Waits for the release of `vk` and returns the key messages from
        `since` up to that point and past it, for a test whose assertions end
        with that release."""
        return self.s.wait_for(
            lambda: self.keys(since),
            lambda got: any(m in ("WM_KEYUP", "WM_SYSKEYUP") and v == vk for m, v, _ in got),
            TYPE_TIMEOUT_S, "no release of vk 0x%02x arrived" % vk)

    def wait_keys(self, count, since=0):
        """Waits until `count` key messages have arrived from the index
        `since` and returns all that have. The keys a click sends arrive one
        by one (a character can be logged before its key-up), so a test that
        compares the whole list waits for the whole list: one missing,
        misplaced or extra message still fails the comparison."""
        return self.s.wait_for(lambda: self.keys(since), lambda got: len(got) >= count, TYPE_TIMEOUT_S,
                               "fewer than %d key messages arrived" % count)
