#!/usr/bin/env python3
"""Soak: the real keyboard under random real clicks for a bounded time.

    tests/soak/soak.py [--seconds N | --minutes N] [--seed N]

Random clicks and double-clicks over every control of the keyboard and of
both dialogs, random latches and modes, random targets (Notepad, the key-log
window, the keyboard's own command line, windows closed and started again),
dialogs closed by OK and by the title-bar close. It fails when:

- the keyboard stops answering: a watchdog (osk-drive watch) sends it
  WM_NULL every second and needs an answer within five seconds (the time
  after which Windows calls a window hung);
- the keyboard ends before it is closed, or does not end when it is;
- a key lands where it was not sent: Notepad's text and the key-log
  window's log may change only while that window is the recorded target,
  and a stored text typed while it is the target must arrive there;
- its windows (the USER objects it owns) or its private memory do not come
  back to their level after warm-up (sampled every few seconds, printed as
  a table);
- the settings store afterwards holds anything but well-formed values.

Needs the virtual desktop of tests/e2e (scripts/soak.sh provides one).
"""

import argparse
import os
import random
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import rig  # noqa: E402
from rig import APP, KEYLOG_TITLE, MARKER_EXE, NOTEPAD_TITLE, TRACK_TIMEOUT_MS, windows_path  # noqa: E402

# Where the targets go: below the keyboard, side by side, so that no click
# on a key lands on them and both can be seen.
NOTEPAD_GEOMETRY = (67, 430, 540, 420)
KEYLOG_GEOMETRY = (640, 430, 540, 420)
CMD_TITLE = "QM-OSK-CMD"

# Started programs that would stay around for ever (a command prompt) or
# that act on the session (the workstation lock) are left out; the command
# line's run button is clicked only with the marker program in the line.
NEVER_CLICKED = {"BUTTON_CMD", "BUTTON_WINDOWS_LOCK", "BUTTON_RUN_INTERNAL",
                 # opens a modal dialog: the dialog action does it and closes it again
                 "SETTINGS_BUTTON",
                 # entered only by a change of target, which the soak keeps account of
                 "COMMAND_LINE_TEXTBOX"}
# Latches a key from the key-log's turn must not carry into Notepad, where
# Ctrl, Alt and Windows chords open dialogs and menus of Notepad's own.
CHORD_LATCHES = ("BUTTON_CTRL_LEFT", "BUTTON_CTRL_RIGHT", "BUTTON_ALT_LEFT", "BUTTON_ALT_GR",
                 "BUTTON_WIN_KEY_LEFT", "BUTTON_WIN_KEY_RIGHT")
GREEN = "0x00FF00"
# Keys that are safe in Notepad: they type or move, never open anything.
NOTEPAD_PREFIXES = ("BUTTON_LETTER_", "BUTTON_NUMBER_", "BUTTON_SHIFT_", "SHIFT_LOCK_BUTTON",
                    "LOCK_TOP_NUMBER_KEYS_BUTTON", "BUTTON_SPACEBAR", "BUTTON_BACKSPACE", "BUTTON_DELETE",
                    "BUTTON_KEY_", "BUTTON_HOME", "BUTTON_END", "BUTTON_RETURN_KEY", "BUTTON_COMMA",
                    "BUTTON_FULL_STOP", "BUTTON_DASH", "BUTTON_EQUALS", "BUTTON_HASH", "BUTTON_SEMI_COLON",
                    "BUTTON_APOS_SIGN", "BUTTON_SQUARE_BRACKET_", "BUTTON_FORWARD_SLASH", "BUTTON_BACK_SLASH",
                    "BUTTON_CAPS", "SHIFT_ARROW_HIGHLIGHT_BUTTON", "BTC_BUTTON", "AT_SIGN_BUTTON")
# What the two stored-text keys type: key-downs of these letters are what
# a target must receive when it is sent them.
PROBE_TEXT = "zq"
PROBE_VKS = (0x5A, 0x51)
VK_ESCAPE = 0x1B

# Sampling and settling, measured on the 2-CPU machine the suite runs on:
# an osk-drive call costs 0.3 to 0.5 s, and a key sent from a click has
# reached its window within 0.5 s of the keyboard recording a new target
# (rig.TYPE_TIMEOUT_S bounds the waits that expect something).
SAMPLE_EVERY_S = 5
SETTLE_S = 1.0
# After warm-up the keyboard's windows must be back at their level exactly
# (a window that is never destroyed is a leak); memory may wander by what
# Wine's heap keeps for reuse.
MEMORY_SLACK_KB = 2048


class SoakFailure(AssertionError):
    pass


def rss_anon_kb(pid):
    """The private (anonymous) resident memory of a Unix process."""
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("RssAnon:"):
                return int(line.split()[1])
    raise SoakFailure("no RssAnon for process %d" % pid)


def unix_pid_of(exe_name, prefix):
    try:
        return rig.unix_pid_of(exe_name, prefix)
    except LookupError as e:
        raise SoakFailure(str(e)) from e


class Soak:
    def __init__(self, seconds, seed, out=sys.stdout):
        self.seconds = seconds
        self.rng = random.Random(seed)
        self.seed = seed
        self.out = out
        self.samples = []  # (seconds, windows, memory kB, actions)
        self.actions = 0
        self.counts = {}
        self.keylog_path = None
        self.keylog_runs = 0
        self.trail = []  # what was done, for the report of a failure
        self.t0 = time.monotonic()

    def log(self, text):
        print(text, file=self.out, flush=True)

    def count(self, what, detail=""):
        self.counts[what] = self.counts.get(what, 0) + 1
        self.trail.append("%.1f %s %s" % (time.monotonic() - self.t0, what, detail))

    # -- the pieces ---------------------------------------------------------

    def start(self):
        s = self.s = rig.Session("soak")
        marker = windows_path(MARKER_EXE)
        s.set_setting("CALCULATOR_COMMAND_TEXTBOX", marker)
        for n in range(1, 17):
            s.set_setting("MY-FKEYS-COMMAND-F%d" % n, marker)
        s.set_setting("EMAIL_ADDRESS_TEXTBOX", PROBE_TEXT)
        s.set_setting("BTC_ADDRESS_TEXTBOX", PROBE_TEXT)
        # The first click sound loads Wine's whole audio stack (some 3 MB,
        # once); the run may switch the sound on at any time, so the level
        # that the end is held to has it already.
        s.set_setting("CLICK_SOUND", "1")
        s.start_keyboard()
        self.pid = unix_pid_of("qm-osk.exe", s.dir)
        self.watchdog = s.start(rig.DRIVE_EXE, "watch", "main", "1000", name="watchdog")
        self.watch_log = os.path.join(s.logs, "watchdog-%d.log" % (len(s.procs) - 1))
        self.main_controls = [l.split()[1] for l in s.drive("controls", "main").splitlines()]
        self.settings_controls = [l.split()[1] for l in s.drive("controls", "settings").splitlines()]
        self.fkeys_controls = [l.split()[1] for l in s.drive("controls", "fkeys").splitlines()]
        self.clickable = [c for c in self.main_controls
                          if c not in NEVER_CLICKED and not c.endswith("_TIMER") and not c.startswith("ACTIVE_WINDOW")]
        self.notepad_safe = [c for c in self.clickable if c.startswith(NOTEPAD_PREFIXES)]
        # Windows made at first use and kept for the run go into the level
        # that the end of the run is held to: the dialogs' ...
        s.click("main", "SETTINGS_BUTTON")
        s.drive("wait-window", "settings")
        s.click("settings", "FKEYS_SETTINGS_BUTTON")
        s.drive("wait-window", "fkeys")
        s.click("fkeys", "OK_BUTTON")
        s.drive("wait-gone", "fkeys")
        s.click("settings", "OK_BUTTON")
        s.drive("wait-gone", "settings")
        # ... and the balloon, shown here for a program that does not exist;
        # it covers keys until it goes, six seconds later.
        s.set_text("main", "COMMAND_LINE_TEXTBOX", "qmosk-no-such-program.exe")
        s.click("main", "BUTTON_RUN_INTERNAL")
        s.wait_until(lambda: s.note("main"), 10, "no note for a program that does not exist")
        s.wait_until(lambda: s.note("main") is None, 15, "the note did not go")
        self.target = None
        self.start_notepad()
        self.start_keylog()
        self.switch_target("keylog")
        self.switch_target("keylog")

    def clear_of_keyboard(self, geometry):
        """`geometry` moved above or below the keyboard where it would cover
        it: the settings clicked at random may dock the keyboard along the
        bottom, where the windows' usual place is."""
        x, y, w, h = geometry
        _, top, _, height = self.s.rect("main")
        if y < top + height and y + h > top:
            y = top - h - 10 if top - h - 10 >= 0 else top + height + 10
        return x, y, w, h

    def keep_windows_clear(self):
        for title, base, is_open in ((NOTEPAD_TITLE, NOTEPAD_GEOMETRY, self.notepad_open),
                                     (KEYLOG_TITLE, KEYLOG_GEOMETRY, self.keylog_open)):
            if is_open:
                self.s.drive("move", title, *map(str, self.clear_of_keyboard(base)))

    def start_notepad(self):
        self.s.start_notepad(*self.clear_of_keyboard(NOTEPAD_GEOMETRY))
        self.notepad_open = True
        self.notepad_text = ""

    def start_keylog(self):
        self.keylog_runs += 1
        path = os.path.join(self.s.logs, "keys-%d.log" % self.keylog_runs)
        self.s.start(rig.KEYLOG_EXE, windows_path(path), name="keylog")
        self.s.drive("wait-window", KEYLOG_TITLE, str(rig.START_TIMEOUT_S * 1000))
        self.s.drive("move", KEYLOG_TITLE, *map(str, self.clear_of_keyboard(KEYLOG_GEOMETRY)))
        self.keylog_path = path
        self.keylog_open = True
        self.keylog_events = 0

    def keylog_lines(self):
        if not self.keylog_path or not os.path.exists(self.keylog_path):
            return []
        with open(self.keylog_path, encoding="ascii", errors="replace") as f:
            return [l for l in f.read().splitlines() if l.startswith("WM_")]

    def notepad_now(self):
        return self.s.drive("edit-text", NOTEPAD_TITLE) if self.notepad_open else ""

    def label(self):
        return self.s.text("main", "ACTIVE_WINDOW_LABEL")

    def recorded(self):
        """The target the keyboard has recorded, as the soak names targets."""
        label = self.label()
        return {KEYLOG_TITLE: "keylog", NOTEPAD_TITLE: "notepad", CMD_TITLE: "cmd"}.get(label, "other: " + label)

    def follow_label(self):
        """Windows come to the front by themselves too (the window manager
        activates another one when one closes): when the recorded target is
        no longer the one the soak chose, the windows that were not targets
        must still be as they were, and from now on the recorded one may
        change. The last action's keys may have gone either way."""
        now = self.recorded()
        if now == self.target:
            return
        self.check_untouched(also_allowed=now)
        self.count("target moved by itself", "%s -> %s" % (self.target, now))
        self.target = now
        self.notepad_text = self.notepad_now()
        self.keylog_events = len(self.keylog_lines())

    def check_untouched(self, also_allowed=None):
        """The windows that are not the target have not changed since they
        stopped being it."""
        allowed = (self.target, also_allowed)
        if "notepad" not in allowed and self.notepad_open:
            now = self.notepad_now()
            if now != self.notepad_text:
                raise SoakFailure("Notepad changed while %s was the target: %r -> %r" % (
                    self.target, self.notepad_text[-40:], now[-40:]))
        if "keylog" not in allowed and self.keylog_open:
            now = len(self.keylog_lines())
            if now != self.keylog_events:
                raise SoakFailure("the key-log window got %d key messages while %s was the target: %r" % (
                    now - self.keylog_events, self.target, self.keylog_lines()[self.keylog_events:][:6]))

    def release_chord_latches(self):
        for name in CHORD_LATCHES:
            if self.s.drive("color", "main", name) == GREEN:
                self.s.click("main", name)
        # The context-menu key stays green until the next click closes the
        # menu with Escape: one harmless click on a latch ends it.
        if self.s.drive("color", "main", "BUTTON_RIGHT_CLICK") == GREEN:
            self.s.click("main", "BUTTON_SHIFT_LEFT")
            self.s.click("main", "BUTTON_SHIFT_LEFT")

    def probe(self):
        """A stored text typed now must arrive in the target."""
        if self.target == "keylog":
            before = len(self.keylog_lines())
            self.s.click("main", "AT_SIGN_BUTTON")

            # The releases too: the window's messages are counted once the
            # probe is over, and a key-up still on its way would be counted
            # against the next target.
            def arrived():
                lines = self.keylog_lines()[before:]
                ups = [l.split()[1] for l in lines if l.startswith("WM_KEYUP")]
                downs = [l.split()[1] for l in lines if l.startswith("WM_KEYDOWN")]
                return all(("vk=0x%02x" % v) in vks for v in PROBE_VKS for vks in (downs, ups))
            self.s.wait_until(arrived, rig.TYPE_TIMEOUT_S, "the stored text never reached the key-log window")
        elif self.target == "notepad":
            before = self.notepad_now()
            self.s.click("main", "AT_SIGN_BUTTON")
            self.s.wait_until(lambda: self.notepad_now() != before, rig.TYPE_TIMEOUT_S,
                              "the stored text never reached Notepad")
        self.count("probe " + self.target)

    def switch_target(self, to):
        """Makes `to` the recorded target, checking on the way that the
        windows left behind stayed as they were."""
        s = self.s
        if self.target == "keylog" and to != "keylog":
            self.release_chord_latches()
        if to == "keylog":
            if not self.keylog_open:
                self.start_keylog()
            s.make_target(KEYLOG_TITLE)
        elif to == "notepad":
            if not self.notepad_open:
                self.start_notepad()
            s.make_target(NOTEPAD_TITLE)
        else:
            s.click("main", "COMMAND_LINE_TEXTBOX")
            s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", CMD_TITLE, str(TRACK_TIMEOUT_MS))
        # Keys sent before the label changed may still be on their way.
        time.sleep(SETTLE_S)
        self.check_untouched()
        self.target = to
        if to in ("keylog", "notepad"):
            self.probe()
        time.sleep(SETTLE_S)
        self.notepad_text = self.notepad_now()
        self.keylog_events = len(self.keylog_lines())
        self.count("target " + to)

    def close_a_window(self):
        """Closes Notepad or the key-log window: while the closed one is
        still the recorded title, clicks must type nowhere else."""
        which = self.rng.choice(["notepad", "keylog"])
        if which == "notepad" and self.notepad_open:
            # Notepad would ask whether to save; ending it is what a crash or
            # the task manager does.
            pid = unix_pid_of("notepad.exe", self.s.dir)
            os.kill(pid, 9)
            self.s.wait_until(lambda: self.s.drive("exists", NOTEPAD_TITLE) == "0", 10, "Notepad did not go")
            self.notepad_open = False
        elif which == "keylog" and self.keylog_open:
            self.s.drive("close", KEYLOG_TITLE)
            self.keylog_open = False
        else:
            return
        self.count("closed " + which)

    def click(self, form, name, double=False):
        """A real click on a control; on a disabled one (the window under
        the cursor is then the form itself) a real click at its centre all
        the same, as a person's click would land."""
        verb = "dblclick" if double else "click"
        rc, out = self.s.drive(verb, form, name, check=False)
        if rc != 0:
            x, y, w, h = self.s.rect(form, name)
            self.s.drive(verb + "-at", str(x + w // 2), str(y + h // 2))
        # A drop-down's list opens under the click and holds the mouse: the
        # next click anywhere would only close it. A person closes it first.
        if self.s.drive("dropped", form, name) == "1":
            self.s.drive("tap-key", str(VK_ESCAPE))
            self.s.wait_until(lambda: self.s.drive("dropped", form, name) == "0", 5, "%s stayed open" % name)

    def click_main(self):
        pool = self.clickable if self.target == "keylog" else self.notepad_safe
        name = self.rng.choice(pool)
        if self.rng.random() < 0.1:
            self.count("double-click", name)
            self.click("main", name, double=True)
            # A double-click on a key that is disabled (the target-dependent
            # keys in command-line mode) reaches the keyboard's background,
            # which opens the settings dialog.
            if self.s.drive("exists", "settings") == "1":
                self.count("settings dialog", "by a double-click on a disabled key")
                self.close_dialog("settings")
                self.s.drive("wait-enabled", "main", "1")
        else:
            self.count("click", name)
            self.click("main", name)

    def run_command_line(self):
        if self.target != "cmd":
            return
        self.s.set_text("main", "COMMAND_LINE_TEXTBOX", windows_path(MARKER_EXE) + " soak")
        self.s.click("main", "BUTTON_RUN_INTERNAL")
        self.count("command line run")

    def dialogs(self):
        """Opens the settings dialog by its button or a double-click on the
        keyboard, clicks about in it and maybe in the F-key dialog, and
        closes each by OK or the close box."""
        s = self.s
        if self.rng.random() < 0.5:
            self.count("settings dialog", "by its button")
            s.click("main", "SETTINGS_BUTTON")
        else:
            x, y = s.drive("free-spot", "main").split()
            self.count("settings dialog", "by a double-click at %s,%s" % (x, y))
            s.drive("dblclick", "main", "client:%s,%s" % (x, y))
        s.drive("wait-window", "settings")
        # OK and the F-key button are the dialog's ways out and on, taken
        # below on purpose; the typing aids' button opens a modal dialog of
        # its own, which the dialog tests cover. "Always On Top" is clicked like any other box:
        # its timer raises the keyboard every second without activating it,
        # so the target stays where the run put it.
        safe_settings = [c for c in self.settings_controls
                         if c not in ("OK_BUTTON", "FKEYS_SETTINGS_BUTTON", "TYPING_AIDS_BUTTON")]
        for _ in range(self.rng.randint(1, 4)):
            name = self.rng.choice(safe_settings)
            self.count("settings click", name)
            self.click("settings", name)
        if self.rng.random() < 0.5:
            s.click("settings", "FKEYS_SETTINGS_BUTTON")
            s.drive("wait-window", "fkeys")
            self.count("F-key dialog")
            safe_fkeys = [c for c in self.fkeys_controls if c != "OK_BUTTON"]
            for _ in range(self.rng.randint(1, 4)):
                name = self.rng.choice(safe_fkeys)
                self.count("F-key dialog click", name)
                self.click("fkeys", name)
            self.close_dialog("fkeys")
        self.close_dialog("settings")
        s.drive("wait-enabled", "main", "1")
        self.keep_windows_clear()

    def close_dialog(self, form):
        if self.rng.random() < 0.5:
            self.s.click(form, "OK_BUTTON")
            self.s.drive("wait-gone", form)
            self.count("closed by OK")
        else:
            self.s.drive("close-box", form)
            self.count("closed by the close box")

    # -- checks -------------------------------------------------------------

    def watchdog_lines(self):
        if not os.path.exists(getattr(self, "watch_log", "")):
            return []
        with open(self.watch_log, encoding="ascii", errors="replace") as f:
            return f.read().splitlines()

    def check_alive(self):
        hangs = [l for l in self.watchdog_lines() if l.startswith(("hang", "gone"))]
        if hangs:
            raise SoakFailure("the keyboard did not answer: %s" % hangs[:3])
        if self.s.keyboard.poll() is not None:
            raise SoakFailure("the keyboard ended by itself (exit %r)" % self.s.keyboard.returncode)

    def sample(self, t):
        windows = int(self.s.drive("objects", "main"))
        memory = rss_anon_kb(self.pid)
        self.samples.append((t, windows, memory, self.actions))

    def check_levels(self, warmup_s):
        settled = [x for x in self.samples if x[0] >= warmup_s]
        warm = [x for x in self.samples if x[0] < warmup_s]
        if not warm or len(settled) < 2:
            raise SoakFailure("too few samples to judge the levels: %r" % self.samples)
        level_windows = max(x[1] for x in warm)
        level_memory = max(x[2] for x in warm)
        end = settled[-1]
        problems = []
        if end[1] > level_windows:
            problems.append("windows %d at the end, %d after warm-up" % (end[1], level_windows))
        if end[2] > level_memory + MEMORY_SLACK_KB:
            problems.append("private memory %d kB at the end, %d kB after warm-up" % (end[2], level_memory))
        # Not only the last look: memory that only ever climbs is a leak even
        # within the slack.
        if len(settled) >= 4 and all(b[2] > a[2] for a, b in zip(settled, settled[1:])):
            problems.append("private memory grew at every sample after warm-up")
        if problems:
            raise SoakFailure("; ".join(problems))
        return level_windows, level_memory

    def check_store(self):
        bad = []
        for prefix in ("Main", "AboutMain", "FKEYSSETTINGSMain"):
            for side in ("Left", "Top", "Width", "Height"):
                v = self.s.setting(prefix + side)
                if v is None:
                    if prefix == "Main":
                        bad.append((prefix + side, v))
                    continue
                try:
                    f = float(v)
                    if not (abs(f) <= 1e6) or (side in ("Width", "Height") and f <= 0):
                        bad.append((prefix + side, v))
                except ValueError:
                    bad.append((prefix + side, v))
        if self.s.setting("ALWAYS_ON_TOP_TICKBOX") not in (None, "0", "1"):
            bad.append(("ALWAYS_ON_TOP_TICKBOX", self.s.setting("ALWAYS_ON_TOP_TICKBOX")))
        marker = windows_path(MARKER_EXE)
        for key, want in ([("CALCULATOR_COMMAND_TEXTBOX", marker), ("EMAIL_ADDRESS_TEXTBOX", PROBE_TEXT),
                           ("BTC_ADDRESS_TEXTBOX", PROBE_TEXT)]
                          + [("MY-FKEYS-COMMAND-F%d" % n, marker) for n in range(1, 17)]
                          + [("BUTTON_F_NUM_%d_CAPTION" % n, None) for n in range(1, 17)]):
            v = self.s.setting(key)
            if (want is not None and v != want) or (want is None and v not in (None, "FK%d" % int(key.split("_")[3]))):
                bad.append((key, v))
        if bad:
            raise SoakFailure("the store holds values that are not well-formed: %r" % bad)

    # -- the run --------------------------------------------------------------

    def run(self):
        self.log("soak: %d s, seed %d" % (self.seconds, self.seed))
        try:
            self.start()
            started = time.monotonic()
            warmup_s = min(60.0, self.seconds / 4)
            next_sample = 0.0
            actions = [(self.click_main, 60), (lambda: self.switch_target(
                self.rng.choice(["keylog", "notepad", "cmd"])), 10), (self.dialogs, 6),
                (self.close_a_window, 3), (self.run_command_line, 3)]
            funcs = [a for a, _ in actions]
            weights = [w for _, w in actions]
            while True:
                t = time.monotonic() - started
                if t >= next_sample:
                    self.check_alive()
                    self.sample(t)
                    next_sample = t + SAMPLE_EVERY_S
                if t >= self.seconds:
                    break
                self.rng.choices(funcs, weights)[0]()
                self.actions += 1
                self.follow_label()
            # Everything typed at the end went where it was sent.
            if self.target not in ("keylog", "notepad"):
                self.switch_target("keylog")
            self.switch_target("notepad" if self.target == "keylog" else "keylog")
            self.check_alive()
            self.sample(time.monotonic() - started)
            level_windows, level_memory = self.check_levels(warmup_s)
            self.s.close_keyboard()
            self.check_store()
        finally:
            if hasattr(self, "s"):
                self.report()
                self.s.close()
        return level_windows, level_memory

    def report(self):
        answers = [float(l.split()[2]) for l in self.watchdog_lines() if l.startswith("answer")]
        self.log("")
        self.log("| Time (s) | Actions | Windows of the keyboard | Private memory (kB) |")
        self.log("|---|---|---|---|")
        for t, w, m, a in self.samples:
            self.log("| %d | %d | %d | %d |" % (t, a, w, m))
        if answers:
            answers.sort()
            self.log("")
            self.log("watchdog: %d answers, median %.1f ms, slowest %.1f ms" % (
                len(answers), answers[len(answers) // 2], answers[-1]))
        self.log("actions: " + ", ".join("%s %d" % kv for kv in sorted(self.counts.items())))
        self.log("marker starts: %d" % len(self.s.marker_lines()))


def main(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--seconds", type=float)
    p.add_argument("--minutes", type=float, default=10)
    p.add_argument("--seed", type=int, default=None)
    a = p.parse_args(argv)
    seconds = a.seconds if a.seconds is not None else a.minutes * 60
    seed = a.seed if a.seed is not None else int(time.time())
    if not rig.rig_ready():
        print("no virtual desktop: run scripts/soak.sh", file=sys.stderr)
        return 2
    soak = Soak(seconds, seed)
    try:
        soak.run()
    except (SoakFailure, rig.DriveError) as e:
        print("last actions:\n  " + "\n  ".join(soak.trail[-15:]))
        print("SOAK FAILED (seed %d): %s" % (seed, e))
        return 1
    print("soak passed (seed %d)" % seed)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
