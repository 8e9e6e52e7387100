// qmosk-bench: timings of the running keyboard, taken from outside it the
// way a user meets it: real mouse clicks on its keys, characters arriving in
// real windows. bench/run.sh starts the keyboard and calls the commands here.
//
// "qmosk-bench help" lists the commands and their arguments:
//   latency           keyboard clicks and direct key presses into a target
//                     window of our own, interleaved
//   latency-switch    keyboard clicks and rounds of a bare program (a second
//                     process of this one) that activates the target and
//                     injects, interleaved
//   latency-focused   the same for a keyboard in keep-focus mode, against a
//                     bare program that only injects
//   inject-helper     that bare program (started by the above)
//   clicked-helper    a bare window with one button that does the same when
//                     clicked (started by the above)
//   type-osk          stored text typed by the keyboard into Notepad
//   type-direct       the same text by one SendInput from here
//   repaints          the keyboard's running repaint count
//   dblclick          double-click a control of the keyboard
//   cpu               GetProcessTimes of the keyboard, in ms
//   focus-trace       clicks, each with the foreground changes and the
//                     character's arrival after it
//
// Results go to stdout as "key value" lines; failures to stderr, exit 1.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "drive.h"

namespace {

using namespace drive;

constexpr wchar_t kTargetTitle[] = L"QM-OSK bench target";
constexpr wchar_t kTargetClass[] = L"QMOSK_BENCH_TARGET";
constexpr DWORD kSettleMs = 600;  // longer than the 500 ms flash reset

std::string fmt(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

// ---- messages -----------------------------------------------------------

// Pumps our own messages until `done` or the timeout; true when done. Polls
// often: the target window's characters are timed as they arrive.
bool pumpUntil(DWORD timeoutMs, const std::function<bool()>& done) { return waitUntil(timeoutMs, done, 5); }

void pumpFor(DWORD timeoutMs) {
  pumpUntil(timeoutMs, [] { return false; });
}

// Empty when the window does not answer: a look that may be repeated.
std::wstring textOf(HWND h) { return readText(h, 5000).value_or(std::wstring()); }

// ---- the keyboard -------------------------------------------------------

HWND keyboard() { return needTopLevel(L"main"); }

// Positions the cursor over `h`, refusing when another window covers the
// spot: the click would land there instead.
void aimAt(HWND h) { moveCursor(uncovered(centre(screenRect(h)), h)); }

// The click itself, returning the time stamp taken as the button goes down.
long long click() {
  const long long t = now();
  clickHere(1);
  return t;
}

bool foregroundIs(HWND h) { return GetForegroundWindow() == h; }

void bringToFront(HWND h) { drive::bringToFront(h, 5000); }

// Waits (one tracking tick or two) until the keyboard has noted `title`.
void waitTargetNoted(const std::wstring& title) {
  HWND label = findControl(L"main", L"ACTIVE_WINDOW_LABEL");
  if (!pumpUntil(5000, [&] { return textOf(label) == title; }))
    throw Failure("the keyboard did not note the target window");
}

// ---- latency ------------------------------------------------------------

long long gCharAt = 0;
int gChars = 0;

LRESULT CALLBACK targetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR) {
    const long long t = now();
    if (gChars++ == 0) gCharAt = t;
    return 0;
  }
  if (msg == WM_CLOSE) return 0;  // only the bench ends it
  return DefWindowProcW(h, msg, wp, lp);
}

// Registers a plain window class of this process; false when refused.
bool registerClass(const wchar_t* name, WNDPROC proc, int background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

HWND makeTarget() {
  registerClass(kTargetClass, targetProc, COLOR_WINDOW);
  HWND h = CreateWindowExW(0, kTargetClass, kTargetTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 560, 420,
                           220, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (h == nullptr) throw Failure("cannot create the target window");
  return h;
}

struct Stats {
  double median, p90, mean, min, max;
};

Stats stats(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  auto at = [&](double q) {
    // Nearest rank.
    auto i = static_cast<size_t>(q * static_cast<double>(v.size()) + 0.999999);
    return v[std::clamp<size_t>(i, 1, v.size()) - 1];
  };
  double sum = 0;
  for (double x : v) sum += x;
  return Stats{at(0.5), at(0.9), sum / static_cast<double>(v.size()), v.front(), v.back()};
}

void printStats(const std::string& name, const std::vector<double>& v, int lost) {
  out(name + "_n " + std::to_string(v.size()));
  out(name + "_lost " + std::to_string(lost));
  if (v.empty()) return;
  Stats s = stats(v);
  out(name + "_median_ms " + fmt(s.median));
  out(name + "_p90_ms " + fmt(s.p90));
  out(name + "_mean_ms " + fmt(s.mean));
  out(name + "_min_ms " + fmt(s.min));
  out(name + "_max_ms " + fmt(s.max));
}

void latency(int n, const std::wstring& rawPath) {
  HWND target = makeTarget();
  HWND key = findControl(L"main", L"BUTTON_LETTER_A");
  bringToFront(target);
  waitTargetNoted(kTargetTitle);
  std::vector<double> viaKeyboard;
  std::vector<double> direct;
  int lostKeyboard = 0;
  int lostDirect = 0;
  FILE* raw = rawPath.empty() ? nullptr : _wfopen(rawPath.c_str(), L"w");
  if (raw != nullptr) std::fputs("round,keyboard_ms,direct_ms\n", raw);
  for (int i = 0; i < n; ++i) {
    // The keyboard: a click on its "a" key, the character in our window.
    aimAt(key);
    pumpFor(20);  // the pointer's move is not part of the click
    gChars = 0;
    const long long clicked = click();
    double k = -1;
    if (pumpUntil(3000, [] { return gChars > 0; }))
      viaKeyboard.push_back(k = msBetween(clicked, gCharAt));
    else
      ++lostKeyboard;
    // Let the flash reset and any stray character arrive before the next
    // measurement starts.
    pumpFor(kSettleMs);

    // Direct: the same key from here into the same window, in front.
    if (!foregroundIs(target)) bringToFront(target);
    pumpFor(20);
    gChars = 0;
    const long long sent = now();
    tapKey('A');
    double d = -1;
    if (pumpUntil(3000, [] { return gChars > 0; }))
      direct.push_back(d = msBetween(sent, gCharAt));
    else
      ++lostDirect;
    pumpFor(50);
    if (raw != nullptr) std::fprintf(raw, "%d,%.3f,%.3f\n", i + 1, k, d);
  }
  if (raw != nullptr) std::fclose(raw);
  printStats("keyboard", viaKeyboard, lostKeyboard);
  printStats("direct", direct, lostDirect);
  DestroyWindow(target);
  if (viaKeyboard.empty() || direct.empty()) throw Failure("no character arrived");
}

// ---- latency against a bare program that injects --------------------------

// The keyboard is a program of its own, so the fair yardstick is another
// bare program doing only what the keyboard must: bring the target back
// while the keyboard is in front, wait until it is the foreground window,
// inject the key (or, in keep-focus mode, just inject into the window in
// front). The bench runs that program as a second process of itself, so
// that the target's switch crosses processes as the keyboard's does; the
// helper takes its time stamp just before it starts and hands it over in
// shared memory (QueryPerformanceCounter is one clock for all processes).
// Rounds alternate between keyboard and helper, into the same window.
// Letter keys act whatever their colour, so a round need not wait for the
// flash reset; the pause only lets stray characters show up.
constexpr DWORD kSwitchPauseMs = 150;
constexpr wchar_t kHelperShared[] = L"QmOskBenchHelperShared";
constexpr wchar_t kHelperGo[] = L"QmOskBenchHelperGo";
constexpr wchar_t kHelperDone[] = L"QmOskBenchHelperDone";

// What both bare programs do for a key: bring the target forward and wait
// until it is the foreground window (unless told not to), then inject.
void bareKey(HWND target, bool activate) {
  if (activate) {
    const long long start = now();
    SetForegroundWindow(target);
    while (GetForegroundWindow() != target && msBetween(start, now()) < 3000) Sleep(0);
  }
  tapKey('A');
}

// This program again, as a helper process running `command` on `target`.
PROCESS_INFORMATION startHelper(const std::wstring& command, HWND target, const std::wstring& more) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring cmd(L"\"");
  cmd.append(self).append(L"\" ").append(command).append(L" ");
  cmd.append(std::to_wstring(reinterpret_cast<ULONG_PTR>(target))).append(more);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    throw Failure("cannot start the " + narrow(command));
  return pi;
}

// Waits a while for a helper told to quit, then ends it.
void endHelper(PROCESS_INFORMATION& pi) {
  if (pi.hProcess == nullptr) return;
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  pi = {};
}

struct HelperShared {
  long long startedAt;
  int quit;
  int activate;
};

void injectHelper(HWND target) {
  HANDLE map = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kHelperShared);
  HANDLE go = OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kHelperGo);
  HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, kHelperDone);
  if (map == nullptr || go == nullptr || done == nullptr) throw Failure("helper: no shared state");
  auto* shared =
      static_cast<HelperShared*>(MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(HelperShared)));
  if (shared == nullptr) throw Failure("helper: cannot map the shared state");
  for (;;) {
    if (WaitForSingleObject(go, 60000) != WAIT_OBJECT_0 || shared->quit) break;
    const long long start = now();
    bareKey(target, shared->activate != 0);
    shared->startedAt = start;
    SetEvent(done);
  }
  UnmapViewOfFile(shared);
  CloseHandle(map);
  CloseHandle(go);
  CloseHandle(done);
}

struct Helper {
  HANDLE map = nullptr;
  HANDLE go = nullptr;
  HANDLE done = nullptr;
  HelperShared* shared = nullptr;
  PROCESS_INFORMATION pi{};

  explicit Helper(HWND target, bool activate)
      : map(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(HelperShared),
                               kHelperShared)),
        go(CreateEventW(nullptr, FALSE, FALSE, kHelperGo)),
        done(CreateEventW(nullptr, FALSE, FALSE, kHelperDone)) {
    if (map == nullptr || go == nullptr || done == nullptr)
      throw Failure("cannot make the helper's shared state");
    shared = static_cast<HelperShared*>(MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(HelperShared)));
    if (shared == nullptr) throw Failure("cannot map the helper's shared state");
    shared->quit = 0;
    shared->activate = activate ? 1 : 0;
    pi = startHelper(L"inject-helper", target, L"");
  }
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;
  Helper(Helper&&) = delete;
  Helper& operator=(Helper&&) = delete;
  ~Helper() {
    if (shared != nullptr) {
      shared->quit = 1;
      SetEvent(go);
    }
    endHelper(pi);
    if (shared != nullptr) UnmapViewOfFile(shared);
    for (HANDLE h : {map, go, done})
      if (h != nullptr) CloseHandle(h);
  }
  // One round: the time from the helper's start to the character, or -1.
  double round() const {
    gChars = 0;
    SetEvent(go);
    bool helperDone = false;
    if (!pumpUntil(3000, [&] {
          if (!helperDone) helperDone = WaitForSingleObject(done, 0) == WAIT_OBJECT_0;
          return helperDone && gChars > 0;
        }))
      return -1;
    return msBetween(shared->startedAt, gCharAt);
  }
};

// The floor for any program that is clicked: a bare window with one
// button, in a process of its own, that on the button's click does what
// the bare program above does (activate the target and wait, or only
// inject). Its click reaches it the way the keyboard's does, so the time
// the mouse input takes to reach another process, and in the usual mode the
// activation the click brings, are in its figure as they are in the
// keyboard's. In keep-focus mode it never activates, like the keyboard.
constexpr wchar_t kBareKeyClass[] = L"QMOSK_BENCH_BARE_KEY";
constexpr wchar_t kBareKeyTitle[] = L"QM-OSK bench bare key";

struct BareKey {
  HWND target = nullptr;
  bool activate = true;
};
BareKey gBareKey;

LRESULT CALLBACK bareKeyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      if (!gBareKey.activate) return MA_NOACTIVATE;
      break;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        bareKey(gBareKey.target, gBareKey.activate);
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

void clickedHelper(HWND target, bool activate) {
  gBareKey = {target, activate};
  if (!registerClass(kBareKeyClass, bareKeyProc, COLOR_BTNFACE))
    throw Failure("clicked helper: cannot register its class");
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND top = CreateWindowExW(activate ? 0 : WS_EX_NOACTIVATE, kBareKeyClass, kBareKeyTitle,
                             WS_OVERLAPPEDWINDOW, 1150, 560, 240, 160, nullptr, nullptr, instance, nullptr);
  if (top == nullptr) throw Failure("clicked helper: cannot create its window");
  if (CreateWindowExW(0, L"BUTTON", L"A", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 160, 80, top,
                      nullptr, instance, nullptr) == nullptr)
    throw Failure("clicked helper: cannot create its button");
  // Shown without taking the focus: a window that the window manager
  // focused as it appeared could take the foreground back from the target
  // after the bench has put that in front.
  ShowWindow(top, SW_SHOWNOACTIVATE);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

struct ClickedHelper {
  PROCESS_INFORMATION pi{};
  HWND top = nullptr;
  HWND button = nullptr;

  ClickedHelper(HWND target, bool activate) {
    pi = startHelper(L"clicked-helper", target, activate ? L" 1" : L" 0");
    waitUntil(10000, [&] {
      top = FindWindowW(kBareKeyClass, kBareKeyTitle);
      button = top != nullptr ? FindWindowExW(top, nullptr, L"BUTTON", nullptr) : nullptr;
      return button != nullptr && IsWindowVisible(top) != FALSE;
    });
    if (button == nullptr) throw Failure("the clicked helper opened no button");
  }
  ClickedHelper(const ClickedHelper&) = delete;
  ClickedHelper& operator=(const ClickedHelper&) = delete;
  ClickedHelper(ClickedHelper&&) = delete;
  ClickedHelper& operator=(ClickedHelper&&) = delete;
  ~ClickedHelper() {
    if (top != nullptr) PostMessageW(top, WM_CLOSE, 0, 0);
    endHelper(pi);
  }
};

// One real click on `button` with `target` in front: the time to the
// character (-1 when none came), and whether the target was ever seen out
// of the foreground meanwhile.
struct Round {
  double ms;
  bool left;
};

Round clickRound(HWND target, HWND button) {
  if (!foregroundIs(target)) bringToFront(target);
  aimAt(button);
  pumpFor(20);
  gChars = 0;
  const long long at = click();
  bool left = false;
  const bool arrived = pumpUntil(3000, [&] {
    left = left || !foregroundIs(target);
    return gChars > 0;
  });
  return Round{arrived ? msBetween(at, gCharAt) : -1.0, left};
}

// The times and losses of the three ways to type, round by round.
struct LatencyTally {
  std::vector<double> viaKeyboard, bare, bareClicked;
  int lostKeyboard = 0, lostBare = 0, lostClicked = 0, extra = 0, tookFocus = 0, renoted = 0;

  static void take(double ms, std::vector<double>& times, int& lost) {
    if (ms >= 0)
      times.push_back(ms);
    else
      ++lost;
  }
  // One click, one character: anything more went somewhere unexpected.
  void countExtra() {
    if (gChars > 1) extra += gChars - 1;
  }
  void print(bool focused) const {
    printStats("keyboard", viaKeyboard, lostKeyboard);
    printStats("bare", bare, lostBare);
    printStats("bare_clicked", bareClicked, lostClicked);
    out("extra_chars " + std::to_string(extra));
    out("target_renoted " + std::to_string(renoted));
    if (focused) out("keyboard_took_focus " + std::to_string(tookFocus));
  }
};

// Where the keyboard thought a lost key should go, and what is in front.
void reportLostRound(int round, HWND label, HWND target, HWND kb) {
  HWND fg = GetForegroundWindow();
  std::fprintf(stderr, "round %d lost: target noted as \"%ls\", in front %s \"%ls\"\n", round,
               textOf(label).c_str(),
               fg == target ? "the target"
               : fg == kb   ? "the keyboard"
                            : "another window",
               fg != nullptr ? textOf(fg).c_str() : L"(none)");
}

// What one round of the latency comparison clicks and watches.
struct LatencyRig {
  HWND target;
  HWND key;
  HWND kb;
  HWND label;
  Helper& helper;
  ClickedHelper& clicked;
  bool focused;
};

// The keyboard's key, the clicked bare program and the bare helper, once each.
void latencyRound(int i, const LatencyRig& rig, LatencyTally& tally, FILE* raw) {
  // The clicked bare program's window is in front for a moment at each of
  // its rounds, and a tracking tick that falls there rightly takes it for
  // the target. A keyboard round starts once the keyboard has noted the
  // bench's window again, as a user would look at the label.
  if (!foregroundIs(rig.target)) bringToFront(rig.target);
  if (textOf(rig.label) != kTargetTitle) {
    ++tally.renoted;
    waitTargetNoted(kTargetTitle);
  }
  const Round viaKey = clickRound(rig.target, rig.key);
  const double k = viaKey.ms;
  LatencyTally::take(k, tally.viaKeyboard, tally.lostKeyboard);
  if (k < 0) reportLostRound(i + 1, rig.label, rig.target, rig.kb);
  pumpFor(kSwitchPauseMs);
  tally.countExtra();
  if (rig.focused && (viaKey.left || !foregroundIs(rig.target))) ++tally.tookFocus;

  const double c = clickRound(rig.target, rig.clicked.button).ms;
  LatencyTally::take(c, tally.bareClicked, tally.lostClicked);
  pumpFor(kSwitchPauseMs);
  tally.countExtra();

  HWND front = rig.focused ? rig.target : rig.kb;
  if (!rig.focused) bringToFront(rig.kb);
  if (!foregroundIs(front)) bringToFront(front);
  pumpFor(20);
  const double b = rig.helper.round();
  LatencyTally::take(b, tally.bare, tally.lostBare);
  pumpFor(kSwitchPauseMs);
  tally.countExtra();
  if (raw != nullptr) std::fprintf(raw, "%d,%.3f,%.3f,%.3f\n", i + 1, k, b, c);
}

// focused: the keyboard runs in keep-focus mode; the target stays in front
// and the helper only injects. Otherwise the keyboard is brought to the front
// before each helper round, as a click would bring it.
void latencyAgainstHelper(int n, bool focused, const std::wstring& rawPath) {
  HWND target = makeTarget();
  HWND key = findControl(L"main", L"BUTTON_LETTER_A");
  HWND kb = keyboard();
  bringToFront(target);
  waitTargetNoted(kTargetTitle);
  Helper helper(target, !focused);
  ClickedHelper clicked(target, !focused);
  bringToFront(target);
  LatencyTally tally;
  FILE* raw = rawPath.empty() ? nullptr : _wfopen(rawPath.c_str(), L"w");
  if (raw != nullptr) std::fputs("round,keyboard_ms,bare_ms,bare_clicked_ms\n", raw);
  HWND label = findControl(L"main", L"ACTIVE_WINDOW_LABEL");
  const LatencyRig rig{target, key, kb, label, helper, clicked, focused};
  for (int i = 0; i < n; ++i) latencyRound(i, rig, tally, raw);
  if (raw != nullptr) std::fclose(raw);
  tally.print(focused);
  DestroyWindow(target);
  if (tally.viaKeyboard.empty() || tally.bare.empty()) throw Failure("no character arrived");
}

// ---- throughput ---------------------------------------------------------

// Ordinary characters only: nothing the key-string notation would treat
// specially, a mix of shifted and unshifted keys, a space every eighth.
std::wstring benchText(int n) {
  static const wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  constexpr int kAlphabetLen = static_cast<int>(sizeof kAlphabet / sizeof kAlphabet[0]) - 1;
  std::wstring s;
  s.reserve(static_cast<size_t>(n));
  int k = 0;
  for (int i = 0; i < n; ++i) s.push_back(i % 8 == 7 ? L' ' : kAlphabet[(k++ * 7) % kAlphabetLen]);
  return s;
}

struct Notepad {
  PROCESS_INFORMATION pi{};
  HWND top = nullptr;
  HWND edit = nullptr;
  Notepad() = default;
  Notepad(const Notepad&) = delete;
  Notepad& operator=(const Notepad&) = delete;
  Notepad(Notepad&&) = delete;
  Notepad& operator=(Notepad&&) = delete;
  ~Notepad() {
    if (pi.hProcess != nullptr) {
      TerminateProcess(pi.hProcess, 0);
      WaitForSingleObject(pi.hProcess, 5000);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
};

struct FindTop {
  DWORD pid = 0;
  HWND found = nullptr;
};

BOOL CALLBACK findNotepad(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindTop*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == f->pid && IsWindowVisible(h) && FindWindowExW(h, nullptr, L"Edit", nullptr) != nullptr) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

void startNotepad(Notepad& np) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  wchar_t cmd[] = L"notepad.exe";
  if (!CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &np.pi))
    throw Failure("cannot start notepad.exe");
  WaitForInputIdle(np.pi.hProcess, 10000);
  FindTop f{np.pi.dwProcessId};
  pumpUntil(10000, [&] {
    EnumWindows(findNotepad, reinterpret_cast<LPARAM>(&f));
    return f.found != nullptr;
  });
  if (f.found == nullptr) throw Failure("Notepad opened no window");
  np.top = f.found;
  np.edit = FindWindowExW(np.top, nullptr, L"Edit", nullptr);
  // Below the keyboard, so that neither covers the other's keys.
  SetWindowPos(np.top, nullptr, 0, 430, 1000, 520, SWP_NOZORDER);
  bringToFront(np.top);
}

LRESULT textLength(HWND edit) {
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &n)) return -1;
  return static_cast<LRESULT>(n);
}

// Polls the edit control every `pollMs` until it holds `want` characters;
// the time from `start` to the first poll that sees them all.
double waitForText(HWND edit, int want, long long start, DWORD timeoutMs, int pollMs = 20) {
  // Every poll is a message Notepad has to answer between keystrokes, so a
  // run of typing is polled gently; 20 ms is far below the resolution that
  // matters there.
  long long done = 0;
  long long lastPoll = 0;
  const auto polled = [&] {
    if (lastPoll != 0 && msBetween(lastPoll, now()) < pollMs) return false;
    lastPoll = now();
    if (textLength(edit) < want) return false;
    done = lastPoll;
    return true;
  };
  const bool ok = waitUntil(timeoutMs, polled, static_cast<DWORD>(std::min(pollMs, 5)));
  if (!ok)
    throw Failure("Notepad holds " + std::to_string(textLength(edit)) + " of " + std::to_string(want) +
                  " characters after the timeout");
  return msBetween(start, done);
}

void report(const std::string& name, int chars, double elapsedMs, HWND edit, const std::wstring& want) {
  out(name + "_chars " + std::to_string(chars));
  out(name + "_ms " + fmt(elapsedMs));
  out(name + "_chars_per_s " + fmt(chars * 1000.0 / elapsedMs));
  out(name + "_text_matches " + std::string(textOf(edit) == want ? "1" : "0"));
}

void typeViaKeyboard(int n) {
  const std::wstring text = benchText(n);
  storeText(L"qm-osk", L"EMAIL_ADDRESS_TEXTBOX", text);
  Notepad np;
  startNotepad(np);
  // A tick of the tracking timer, so that the keyboard has noted this very
  // window and not an earlier Notepad of the same title.
  pumpFor(1100);
  waitTargetNoted(textOf(np.top));
  HWND button = findControl(L"main", L"AT_SIGN_BUTTON");
  aimAt(button);
  pumpFor(20);
  const long long clicked = click();
  report("keyboard", n, waitForText(np.edit, n, clicked, 600000), np.edit, text);
}

void typeDirect(int n, bool unicode) {
  const std::wstring text = benchText(n);
  std::vector<INPUT> inputs = unicode ? unicodeInputs(text) : std::vector<INPUT>();
  for (wchar_t c : unicode ? std::wstring() : text) {
    const SHORT vks = VkKeyScanW(c);
    if (vks == -1) throw Failure("no key for a character of the text");
    const WORD vk = LOBYTE(vks);
    const bool shift = (HIBYTE(vks) & 1) != 0;
    if (shift) inputs.push_back(keyInput(VK_SHIFT, false));
    inputs.push_back(keyInput(vk, false));
    inputs.push_back(keyInput(vk, true));
    if (shift) inputs.push_back(keyInput(VK_SHIFT, true));
  }
  Notepad np;
  startNotepad(np);
  pumpFor(100);
  const long long start = now();
  sendInputs(inputs);
  const double sendMs = msBetween(start, now());
  report(unicode ? "direct_unicode" : "direct_vk", n, waitForText(np.edit, n, start, 600000), np.edit, text);
  out(std::string(unicode ? "direct_unicode" : "direct_vk") + "_sendinput_call_ms " + fmt(sendMs));
  out(std::string(unicode ? "direct_unicode" : "direct_vk") + "_events " + std::to_string(inputs.size()));
}

// ---- focus trace --------------------------------------------------------

// What happens to the foreground around one click on a key: every change of
// GetForegroundWindow, polled as fast as this thread can, and the moment
// the character arrives. For finding out where a key goes missing. The
// target is a window of the bench's own, or Notepad (whose text length is
// polled, which costs it a little time between keys).
// Follows the foreground through one click after another; one line a round.
struct FocusTracer {
  HWND target = nullptr;
  HWND kb = nullptr;
  HWND edit = nullptr;  // Notepad's text, when Notepad is the target
  LRESULT length = 0;

  std::string name(HWND h) const {
    if (h == nullptr) return "none";
    if (h == target) return "target";
    if (h == kb) return "keyboard";
    return "other";
  }
  // Whether the character has come, noted once in `line` with its time.
  bool charArrived(long long clicked, std::string& line) const {
    if (edit != nullptr ? textLength(edit) <= length : gChars == 0) return false;
    const long long at = edit != nullptr ? now() : gCharAt;
    line.append(" ").append(fmt(msBetween(clicked, at))).append(":CHAR");
    return true;
  }
  // Clicks `key` and watches for 300 ms; false when no character came.
  bool round(int i, HWND key, std::string& line) {
    if (!foregroundIs(target)) bringToFront(target);
    aimAt(key);
    pumpFor(20);
    gChars = 0;
    HWND last = GetForegroundWindow();
    const long long clicked = click();
    line = "round " + std::to_string(i + 1) + ": " + name(last);
    bool charSeen = false;
    while (msBetween(clicked, now()) < 300) {
      pumpMessages();
      HWND fg = GetForegroundWindow();
      if (fg != last) {
        line.append(" ").append(fmt(msBetween(clicked, now()))).append(":").append(name(fg));
        last = fg;
      }
      if (!charSeen) charSeen = charArrived(clicked, line);
    }
    pumpFor(kSettleMs);
    if (edit != nullptr) {
      const LRESULT after = textLength(edit);
      if (after != length + 1) line += " length+" + std::to_string(after - length);
      length = after;
    }
    return charSeen;
  }
};

void focusTrace(int n, bool notepad) {
  Notepad np;
  FocusTracer tracer;
  if (notepad) {
    startNotepad(np);
    tracer.target = np.top;
    tracer.edit = np.edit;
    pumpFor(1100);
    waitTargetNoted(textOf(np.top));
    tracer.length = textLength(np.edit);
  } else {
    tracer.target = makeTarget();
    bringToFront(tracer.target);
    waitTargetNoted(kTargetTitle);
  }
  HWND key = findControl(L"main", L"BUTTON_LETTER_A");
  tracer.kb = keyboard();
  int lost = 0;
  for (int i = 0; i < n; ++i) {
    std::string line;
    const bool charSeen = tracer.round(i, key, line);
    if (!charSeen) ++lost;
    out(line + (charSeen ? "" : " LOST"));
  }
  out("lost " + std::to_string(lost) + " of " + std::to_string(n));
  if (!notepad) DestroyWindow(tracer.target);
}

// ---- idle ---------------------------------------------------------------

void cpu() {
  DWORD pid = 0;
  GetWindowThreadProcessId(keyboard(), &pid);
  HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (p == nullptr) throw Failure("cannot open the keyboard's process");
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  const BOOL ok = GetProcessTimes(p, &created, &exited, &kernel, &user);
  CloseHandle(p);
  if (!ok) throw Failure("GetProcessTimes failed");
  auto toMs = [](const FILETIME& f) {
    return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
           10000.0;
  };
  out(fmt(toMs(user) + toMs(kernel)));
}

// Hover accuracy: the keyboard started with hover on (DWELL_CLICK "1",
// DWELL_TIME_MS `dwellMs`, focus kept in the target). Each round the pointer
// leaves the keyboard, then comes to rest on a letter key; the time from the
// move to the character in Notepad, less the hover time, is how late the
// click came (the delivery itself is measured by "latency").
void hoverAccuracy(int n, int dwellMs) {
  constexpr int kHoverPollMs = 2;
  Notepad np;
  startNotepad(np);
  pumpFor(1100);
  waitTargetNoted(textOf(np.top));
  HWND key = findControl(L"main", L"BUTTON_LETTER_H");
  const POINT away{1500, 100};
  std::vector<double> late;
  int lost = 0;
  for (int i = 0; i < n; ++i) {
    // Longer than Wine's 400 ms poll for a pointer's leave: away for 300 ms,
    // the pointer was often back on the key it had just clicked before the
    // leave was seen, so the key stayed spent (6 of 15 rounds lost at
    // 2000 ms, none at 500 ms). On Windows the leave comes at once.
    moveCursor(away);
    pumpFor(500);
    const LRESULT before = textLength(np.edit);
    aimAt(key);
    const long long rested = now();
    try {
      // One character awaited: a 2 ms poll costs Notepad nothing, and keeps
      // the poll's own delay (half the period on average) out of a figure
      // whose goal is 20 ms.
      late.push_back(waitForText(np.edit, static_cast<int>(before) + 1, rested,
                                 static_cast<DWORD>(dwellMs) + 5000, kHoverPollMs) -
                     dwellMs);
    } catch (const Failure&) {
      ++lost;
    }
  }
  moveCursor(away);
  out("hover_setting_ms " + std::to_string(dwellMs));
  printStats("hover_late", late, lost);
}

int count(const std::wstring& s) {
  const int v = toInt(s);
  if (v <= 0) throw Failure("not a positive number");
  return v;
}

// The time to redraw the whole keyboard at a new size: a SetWindowPos (sent
// to the keyboard's thread, which fits the layout before it returns), then
// an UpdateWindow of the keyboard and every child (each sent WM_PAINT in
// turn), as a frame of a live resize asks. The sizes step from 100 % to 50 %
// of the opening size and back. `drag`: inside the system's loop that
// drags the frame (WM_ENTERSIZEMOVE .. WM_EXITSIZEMOVE), with the release
// timed on its own; otherwise each step is a resize of its own, as a
// program or a maximise makes.
void resizeSteps(HWND kb, int n, bool drag, const std::string& name) {
  RECT r{};
  if (!GetWindowRect(kb, &r)) throw Failure("GetWindowRect failed");
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  std::vector<double> times;
  std::vector<double> placing;
  const bool ours = kb == keyboard();
  const DWORD_PTR paintsBefore = ours ? ask(kb, kRepaintCountMessage, 5000) : 0;
  if (drag) SendMessageW(kb, WM_ENTERSIZEMOVE, 0, 0);
  for (int i = 0; i < n; ++i) {
    // Down to half the size and back up, a new size at every step, as a
    // drag of the pointer gives: sizes seen before would find their fonts
    // and pictures made already, and only a growing window uncovers parts.
    const int half = std::max(n / 2, 1);
    const double f = i < half ? 1.0 - 0.5 * (i + 1) / half : 0.5 + 0.5 * (i - half + 0.5) / half;
    const long long start = now();
    SetWindowPos(kb, nullptr, 0, 0, static_cast<int>(w * f), static_cast<int>(h * f),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    placing.push_back(msBetween(start, now()));
    RedrawWindow(kb, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    times.push_back(msBetween(start, now()));
    pumpFor(5);
  }
  if (ours) out(name + "_key_paints " + std::to_string(ask(kb, kRepaintCountMessage, 5000) - paintsBefore));
  if (drag) {
    // The release: every key placed at the last size and painted.
    const long long start = now();
    SendMessageW(kb, WM_EXITSIZEMOVE, 0, 0);
    RedrawWindow(kb, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    out(name + "_release_ms " + fmt(msBetween(start, now())));
  }
  SetWindowPos(kb, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  printStats(name, times, 0);
  printStats(name + "_place", placing, 0);
}

// A window of the keyboard's size with nothing in it, on a thread of its
// own so that it is resized across threads as the keyboard is: what any
// window's resize costs, whatever it holds.
class BareWindow {
 public:
  explicit BareWindow(const RECT& r) : rect_(r), made_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (made_ == nullptr) return;
    thread_ = CreateThread(nullptr, 0, &BareWindow::run, this, 0, &threadId_);
    if (thread_ != nullptr) WaitForSingleObject(made_, 10000);
  }
  BareWindow(const BareWindow&) = delete;
  BareWindow& operator=(const BareWindow&) = delete;
  BareWindow(BareWindow&&) = delete;
  BareWindow& operator=(BareWindow&&) = delete;
  ~BareWindow() {
    if (thread_ != nullptr) {
      PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
      WaitForSingleObject(thread_, 10000);
      CloseHandle(thread_);
    }
    if (made_ != nullptr) CloseHandle(made_);
  }
  HWND hwnd() const { return hwnd_; }

 private:
  static DWORD WINAPI run(void* p) {
    auto* self = static_cast<BareWindow*>(p);
    const RECT& r = self->rect_;
    registerClass(L"QmOskBenchBare", DefWindowProcW, COLOR_BTNFACE);
    HWND h = CreateWindowExW(0, L"QmOskBenchBare", L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    self->hwnd_ = h;
    SetEvent(self->made_);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    if (h != nullptr) DestroyWindow(h);
    return 0;
  }

  RECT rect_;
  HANDLE made_;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  HWND hwnd_ = nullptr;
};

void resize(int n) {
  HWND kb = keyboard();
  resizeSteps(kb, n, true, "drag");
  resizeSteps(kb, n, false, "resize");
  RECT r{};
  if (!GetWindowRect(kb, &r)) throw Failure("GetWindowRect failed");
  const BareWindow bare(r);
  if (bare.hwnd() == nullptr) throw Failure("cannot create the bare window");
  pumpFor(200);
  resizeSteps(bare.hwnd(), n, false, "bare");
}

std::wstring argAt(const Args& a, size_t at) { return a.size() > at ? a[at] : std::wstring(); }

const Command kCommands[] = {
    {L"latency", 1, 2, "<n> [raw-csv]", [](const Args& a) { latency(count(a[1]), argAt(a, 2)); }},
    {L"latency-switch", 1, 2, "<n> [raw-csv]",
     [](const Args& a) { latencyAgainstHelper(count(a[1]), false, argAt(a, 2)); }},
    {L"latency-focused", 1, 2, "<n> [raw-csv]",
     [](const Args& a) { latencyAgainstHelper(count(a[1]), true, argAt(a, 2)); }},
    {L"inject-helper", 1, 1, "<hwnd>", [](const Args& a) { injectHelper(toWindow(a[1])); }},
    {L"clicked-helper", 2, 2, "<hwnd> <activate 0|1>",
     [](const Args& a) { clickedHelper(toWindow(a[1]), a[2] == L"1"); }},
    {L"type-osk", 1, 1, "<chars>", [](const Args& a) { typeViaKeyboard(count(a[1])); }},
    {L"type-direct", 2, 2, "<chars> <vk|unicode>",
     [](const Args& a) { typeDirect(count(a[1]), a[2] == L"unicode"); }},
    {L"repaints", 0, 0, "",
     [](const Args&) { out(std::to_string(ask(keyboard(), kRepaintCountMessage, 5000))); }},
    {L"dblclick", 1, 1, "<control>",
     [](const Args& a) {
       aimAt(findControl(L"main", a[1]));
       pumpFor(20);
       clickHere(2);
     }},
    {L"cpu", 0, 0, "", [](const Args&) { cpu(); }},
    {L"resize", 1, 1, "<n>", [](const Args& a) { resize(count(a[1])); }},
    {L"hover", 2, 2, "<n> <hover-ms>", [](const Args& a) { hoverAccuracy(count(a[1]), count(a[2])); }},
    {L"focus-trace", 1, 2, "<n> [notepad]",
     [](const Args& a) { focusTrace(count(a[1]), argAt(a, 2) == L"notepad"); }},
};

}  // namespace

int wmain(int argc, wchar_t** argv) { return runCommands("qmosk-bench", kCommands, argc, argv); }
