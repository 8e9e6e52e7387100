// qmosk-bench: timings of the running keyboard, taken from outside it the
// way a user meets it: real mouse clicks on its keys, characters arriving in
// real windows. bench/run.sh starts the keyboard and calls the commands here.
//
//   latency <n>                 n keyboard clicks and n direct key presses into
//                               a target window of our own, interleaved
//   latency-switch <n> [raw]    n keyboard clicks and n rounds of a bare
//                               program (a second process of this one) that
//                               activates the target and injects, interleaved
//   latency-focused <n> [raw]   the same for a keyboard in keep-focus mode,
//                               against a bare program that only injects
//   inject-helper <hwnd>        that bare program (started by the above)
//   type-osk <chars>            stored text typed by the keyboard into Notepad
//   type-direct <chars> vk|unicode
//                               the same text by one SendInput from here
//   repaints                    the keyboard's running repaint count
//   dblclick <control>          double-click a control of the keyboard
//   cpu                         GetProcessTimes of the keyboard, in ms
//   focus-trace <n> [notepad]   n clicks, each with the foreground changes
//                               and the character's arrival after it
//
// Results go to stdout as "key value" lines; failures to stderr, exit 1.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>

#include "layout/layouts.h"

namespace {

constexpr int kFirstControlId = 1000;
constexpr wchar_t kMainClass[] = L"QM_OSK_MAIN";
constexpr wchar_t kTargetTitle[] = L"QM-OSK bench target";
constexpr wchar_t kTargetClass[] = L"QMOSK_BENCH_TARGET";
constexpr wchar_t kSettings[] = L"Software\\QM-OSK\\qm-osk\\Settings";
constexpr DWORD kSettleMs = 600;  // longer than the 500 ms flash reset

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void out(const std::string& line) {
  std::string s = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &written, nullptr);
}

std::string fmt(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

// ---- clock --------------------------------------------------------------

double qpcFreq() {
  static const double f = [] {
    LARGE_INTEGER q;
    QueryPerformanceFrequency(&q);
    return static_cast<double>(q.QuadPart);
  }();
  return f;
}

long long now() {
  LARGE_INTEGER q;
  QueryPerformanceCounter(&q);
  return q.QuadPart;
}

double ms(long long from, long long to) { return static_cast<double>(to - from) * 1000.0 / qpcFreq(); }

// ---- messages -----------------------------------------------------------

void pumpOnce() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

// Pumps our own messages until `done` or the timeout; true when done.
template <typename F>
bool pumpUntil(DWORD timeoutMs, F done) {
  const long long start = now();
  for (;;) {
    pumpOnce();
    if (done()) return true;
    const double left = timeoutMs - ms(start, now());
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(static_cast<DWORD>(left) + 1, 5),
                              QS_ALLINPUT);
  }
}

void pumpFor(DWORD timeoutMs) {
  pumpUntil(timeoutMs, [] { return false; });
}

std::wstring windowText(HWND h) {
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &n)) return {};
  std::wstring w(n + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(w.data()), SMTO_ABORTIFHUNG, 5000,
                      &got);
  w.resize(std::min<size_t>(got, n));
  return w;
}

// ---- the keyboard -------------------------------------------------------

HWND keyboard() {
  HWND h = FindWindowW(kMainClass, nullptr);
  if (h == nullptr) throw Failure("the keyboard (QM_OSK_MAIN) is not running");
  return h;
}

HWND control(const std::string& name) {
  auto form = osk::makeMainForm();
  const auto& controls = form->controls();
  for (size_t i = 0; i < controls.size(); ++i)
    if (controls[i].name() == name) {
      HWND h = GetDlgItem(keyboard(), kFirstControlId + static_cast<int>(i));
      if (h == nullptr) throw Failure("no child window for " + name);
      return h;
    }
  throw Failure("the layout has no control " + name);
}

POINT centre(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void sendMouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (SendInput(1, &in, sizeof in) != 1) throw Failure("SendInput refused the mouse event");
}

// Positions the cursor over `h` and refuses when another window covers the
// spot: the click would land there instead.
void aimAt(HWND h) {
  const POINT p = centre(h);
  HWND hit = WindowFromPoint(p);
  if (hit != h && !IsChild(h, hit)) throw Failure("the key is covered by another window");
  if (!SetCursorPos(p.x, p.y)) throw Failure("SetCursorPos failed");
}

// The click itself, returning the time stamp taken as the button goes down.
long long click() {
  const long long t = now();
  sendMouse(MOUSEEVENTF_LEFTDOWN);
  sendMouse(MOUSEEVENTF_LEFTUP);
  return t;
}

bool foregroundIs(HWND h) { return GetForegroundWindow() == h; }

void bringToFront(HWND h) {
  SetForegroundWindow(h);
  // Activation is asynchronous under Wine.
  if (!pumpUntil(5000, [&] { return foregroundIs(h); })) throw Failure("could not activate a window");
}

// Waits (one tracking tick or two) until the keyboard has noted `title`.
void waitTargetNoted(const std::wstring& title) {
  HWND label = control("ACTIVE_WINDOW_LABEL");
  if (!pumpUntil(5000, [&] { return windowText(label) == title; }))
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

HWND makeTarget() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = targetProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = kTargetClass;
  RegisterClassExW(&wc);
  HWND h = CreateWindowExW(0, kTargetClass, kTargetTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 560, 420,
                           220, nullptr, nullptr, wc.hInstance, nullptr);
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
    size_t i = static_cast<size_t>(q * static_cast<double>(v.size()) + 0.999999);
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

void tapA() {
  INPUT in[2]{};
  for (auto& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = 'A';
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyW('A', MAPVK_VK_TO_VSC));
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  if (SendInput(2, in, sizeof(INPUT)) != 2) throw Failure("SendInput refused the key");
}

int latency(int n, const std::wstring& rawPath) {
  HWND target = makeTarget();
  HWND key = control("BUTTON_LETTER_A");
  bringToFront(target);
  waitTargetNoted(kTargetTitle);
  std::vector<double> viaKeyboard, direct;
  int lostKeyboard = 0, lostDirect = 0;
  FILE* raw = rawPath.empty() ? nullptr : _wfopen(rawPath.c_str(), L"w");
  if (raw) std::fputs("round,keyboard_ms,direct_ms\n", raw);
  for (int i = 0; i < n; ++i) {
    // The keyboard: a click on its "a" key, the character in our window.
    aimAt(key);
    pumpFor(20);  // the pointer's move is not part of the click
    gChars = 0;
    const long long clicked = click();
    double k = -1;
    if (pumpUntil(3000, [] { return gChars > 0; }))
      viaKeyboard.push_back(k = ms(clicked, gCharAt));
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
    tapA();
    double d = -1;
    if (pumpUntil(3000, [] { return gChars > 0; }))
      direct.push_back(d = ms(sent, gCharAt));
    else
      ++lostDirect;
    pumpFor(50);
    if (raw) std::fprintf(raw, "%d,%.3f,%.3f\n", i + 1, k, d);
  }
  if (raw) std::fclose(raw);
  printStats("keyboard", viaKeyboard, lostKeyboard);
  printStats("direct", direct, lostDirect);
  DestroyWindow(target);
  return viaKeyboard.empty() || direct.empty() ? 1 : 0;
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

struct HelperShared {
  long long startedAt;
  int quit;
  int activate;
};

int injectHelper(HWND target) {
  HANDLE map = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kHelperShared);
  HANDLE go = OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kHelperGo);
  HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, kHelperDone);
  if (map == nullptr || go == nullptr || done == nullptr) throw Failure("helper: no shared state");
  auto* shared = static_cast<HelperShared*>(MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(HelperShared)));
  if (shared == nullptr) throw Failure("helper: cannot map the shared state");
  for (;;) {
    if (WaitForSingleObject(go, 60000) != WAIT_OBJECT_0 || shared->quit) break;
    const long long start = now();
    if (shared->activate) {
      SetForegroundWindow(target);
      while (GetForegroundWindow() != target && ms(start, now()) < 3000) Sleep(0);
    }
    tapA();
    shared->startedAt = start;
    SetEvent(done);
  }
  UnmapViewOfFile(shared);
  CloseHandle(map);
  CloseHandle(go);
  CloseHandle(done);
  return 0;
}

struct Helper {
  HANDLE map = nullptr, go = nullptr, done = nullptr;
  HelperShared* shared = nullptr;
  PROCESS_INFORMATION pi{};

  explicit Helper(HWND target, bool activate) {
    map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(HelperShared), kHelperShared);
    go = CreateEventW(nullptr, FALSE, FALSE, kHelperGo);
    done = CreateEventW(nullptr, FALSE, FALSE, kHelperDone);
    if (map == nullptr || go == nullptr || done == nullptr) throw Failure("cannot make the helper's shared state");
    shared = static_cast<HelperShared*>(MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(HelperShared)));
    if (shared == nullptr) throw Failure("cannot map the helper's shared state");
    shared->quit = 0;
    shared->activate = activate ? 1 : 0;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd(L"\"");
    cmd.append(self).append(L"\" inject-helper ").append(std::to_wstring(reinterpret_cast<ULONG_PTR>(target)));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      throw Failure("cannot start the helper");
  }
  ~Helper() {
    if (shared != nullptr) {
      shared->quit = 1;
      SetEvent(go);
    }
    if (pi.hProcess != nullptr) {
      if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
    if (shared != nullptr) UnmapViewOfFile(shared);
    for (HANDLE h : {map, go, done})
      if (h != nullptr) CloseHandle(h);
  }
  // One round: the time from the helper's start to the character, or -1.
  double round() {
    gChars = 0;
    SetEvent(go);
    bool helperDone = false;
    if (!pumpUntil(3000, [&] {
          if (!helperDone) helperDone = WaitForSingleObject(done, 0) == WAIT_OBJECT_0;
          return helperDone && gChars > 0;
        }))
      return -1;
    return ms(shared->startedAt, gCharAt);
  }
};

// focused: the keyboard runs in keep-focus mode; the target stays in front
// and the helper only injects. Otherwise the keyboard is brought to the front
// before each helper round, as a click would bring it.
int latencyAgainstHelper(int n, bool focused, const std::wstring& rawPath) {
  HWND target = makeTarget();
  HWND key = control("BUTTON_LETTER_A");
  HWND kb = keyboard();
  bringToFront(target);
  waitTargetNoted(kTargetTitle);
  Helper helper(target, !focused);
  std::vector<double> viaKeyboard, bare;
  int lostKeyboard = 0, lostBare = 0, extra = 0, tookFocus = 0;
  FILE* raw = rawPath.empty() ? nullptr : _wfopen(rawPath.c_str(), L"w");
  if (raw) std::fputs("round,keyboard_ms,bare_ms\n", raw);
  for (int i = 0; i < n; ++i) {
    if (!foregroundIs(target)) bringToFront(target);
    aimAt(key);
    pumpFor(20);
    gChars = 0;
    const long long clicked = click();
    double k = -1;
    bool left = false;
    if (pumpUntil(3000, [&] {
          left = left || !foregroundIs(target);
          return gChars > 0;
        })) {
      viaKeyboard.push_back(k = ms(clicked, gCharAt));
    } else {
      ++lostKeyboard;
      // Where the keyboard thought the key should go, and what is in front.
      HWND fg = GetForegroundWindow();
      std::fprintf(stderr, "round %d lost: target noted as \"%ls\", in front %s \"%ls\"\n", i + 1,
                   windowText(control("ACTIVE_WINDOW_LABEL")).c_str(),
                   fg == target ? "the target" : fg == kb ? "the keyboard" : "another window",
                   fg != nullptr ? windowText(fg).c_str() : L"(none)");
    }
    pumpFor(kSwitchPauseMs);
    // One click, one character: anything more went somewhere unexpected.
    if (gChars > 1) extra += gChars - 1;
    if (focused && (left || !foregroundIs(target))) ++tookFocus;

    if (!focused) bringToFront(kb);
    if (!foregroundIs(focused ? target : kb)) bringToFront(focused ? target : kb);
    pumpFor(20);
    const double b = helper.round();
    if (b >= 0)
      bare.push_back(b);
    else
      ++lostBare;
    pumpFor(kSwitchPauseMs);
    if (gChars > 1) extra += gChars - 1;
    if (raw) std::fprintf(raw, "%d,%.3f,%.3f\n", i + 1, k, b);
  }
  if (raw) std::fclose(raw);
  printStats("keyboard", viaKeyboard, lostKeyboard);
  printStats("bare", bare, lostBare);
  out("extra_chars " + std::to_string(extra));
  if (focused) out("keyboard_took_focus " + std::to_string(tookFocus));
  DestroyWindow(target);
  return viaKeyboard.empty() || bare.empty() ? 1 : 0;
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
  ~Notepad() {
    if (pi.hProcess) {
      TerminateProcess(pi.hProcess, 0);
      WaitForSingleObject(pi.hProcess, 5000);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
};

struct FindTop {
  DWORD pid;
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

// Polls the edit control until it holds `want` characters; the time from
// `start` to the first poll that sees them all.
double waitForText(HWND edit, int want, long long start, DWORD timeoutMs) {
  // Every poll is a message Notepad has to answer between keystrokes, so
  // poll gently; 20 ms is far below the resolution that matters here.
  long long done = 0;
  long long lastPoll = 0;
  const bool ok = pumpUntil(timeoutMs, [&] {
    if (lastPoll != 0 && ms(lastPoll, now()) < 20) return false;
    lastPoll = now();
    if (textLength(edit) < want) return false;
    done = lastPoll;
    return true;
  });
  if (!ok) throw Failure("Notepad holds " + std::to_string(textLength(edit)) + " of " + std::to_string(want) +
                         " characters after the timeout");
  return ms(start, done);
}

void report(const std::string& name, int chars, double elapsedMs, HWND edit, const std::wstring& want) {
  out(name + "_chars " + std::to_string(chars));
  out(name + "_ms " + fmt(elapsedMs));
  out(name + "_chars_per_s " + fmt(chars * 1000.0 / elapsedMs));
  out(name + "_text_matches " + std::string(windowText(edit) == want ? "1" : "0"));
}

void storeText(const std::wstring& text) {
  HKEY k = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettings, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    throw Failure("cannot create the settings key");
  const LONG rc = RegSetValueExW(k, L"EMAIL_ADDRESS_TEXTBOX", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
  if (rc != ERROR_SUCCESS) throw Failure("cannot store the text");
}

int typeViaKeyboard(int n) {
  const std::wstring text = benchText(n);
  storeText(text);
  Notepad np;
  startNotepad(np);
  // A tick of the tracking timer, so that the keyboard has noted this very
  // window and not an earlier Notepad of the same title.
  pumpFor(1100);
  waitTargetNoted(windowText(np.top));
  HWND button = control("AT_SIGN_BUTTON");
  aimAt(button);
  pumpFor(20);
  const long long clicked = click();
  report("keyboard", n, waitForText(np.edit, n, clicked, 600000), np.edit, text);
  return 0;
}

void addKey(std::vector<INPUT>& v, WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  v.push_back(in);
}

int typeDirect(int n, bool unicode) {
  const std::wstring text = benchText(n);
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    if (unicode) {
      for (bool up : {false, true}) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = c;
        in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
        inputs.push_back(in);
      }
      continue;
    }
    const SHORT vks = VkKeyScanW(c);
    if (vks == -1) throw Failure("no key for a character of the text");
    const WORD vk = LOBYTE(vks);
    const bool shift = (HIBYTE(vks) & 1) != 0;
    if (shift) addKey(inputs, VK_SHIFT, false);
    addKey(inputs, vk, false);
    addKey(inputs, vk, true);
    if (shift) addKey(inputs, VK_SHIFT, true);
  }
  Notepad np;
  startNotepad(np);
  pumpFor(100);
  const long long start = now();
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) throw Failure("SendInput took only part of the text");
  const double sendMs = ms(start, now());
  report(unicode ? "direct_unicode" : "direct_vk", n, waitForText(np.edit, n, start, 600000), np.edit, text);
  out(std::string(unicode ? "direct_unicode" : "direct_vk") + "_sendinput_call_ms " + fmt(sendMs));
  out(std::string(unicode ? "direct_unicode" : "direct_vk") + "_events " + std::to_string(inputs.size()));
  return 0;
}

// ---- focus trace --------------------------------------------------------

// What happens to the foreground around one click on a key: every change of
// GetForegroundWindow, polled as fast as this thread can, and the moment
// the character arrives. For finding out where a key goes missing. The
// target is a window of the bench's own, or Notepad (whose text length is
// polled, which costs it a little time between keys).
int focusTrace(int n, bool notepad) {
  Notepad np;
  HWND target = nullptr;
  if (notepad) {
    startNotepad(np);
    target = np.top;
    pumpFor(1100);
    waitTargetNoted(windowText(np.top));
  } else {
    target = makeTarget();
    bringToFront(target);
    waitTargetNoted(kTargetTitle);
  }
  HWND key = control("BUTTON_LETTER_A");
  HWND kb = keyboard();
  auto name = [&](HWND h) -> std::string {
    if (h == nullptr) return "none";
    if (h == target) return "target";
    if (h == kb) return "keyboard";
    return "other";
  };
  int lost = 0;
  LRESULT length = notepad ? textLength(np.edit) : 0;
  for (int i = 0; i < n; ++i) {
    if (!foregroundIs(target)) bringToFront(target);
    aimAt(key);
    pumpFor(20);
    gChars = 0;
    HWND last = GetForegroundWindow();
    const long long clicked = click();
    std::string line = "round " + std::to_string(i + 1) + ": " + name(last);
    bool charSeen = false;
    while (ms(clicked, now()) < 300) {
      pumpOnce();
      HWND fg = GetForegroundWindow();
      if (fg != last) {
        line.append(" ").append(fmt(ms(clicked, now()))).append(":").append(name(fg));
        last = fg;
      }
      if (!charSeen && notepad && textLength(np.edit) > length) {
        charSeen = true;
        line.append(" ").append(fmt(ms(clicked, now()))).append(":CHAR");
      }
      if (!charSeen && !notepad && gChars > 0) {
        charSeen = true;
        line.append(" ").append(fmt(ms(clicked, gCharAt))).append(":CHAR");
      }
    }
    pumpFor(kSettleMs);
    if (notepad) {
      const LRESULT after = textLength(np.edit);
      if (after != length + 1) line += " length+" + std::to_string(after - length);
      length = after;
    }
    if (!charSeen) ++lost;
    out(line + (charSeen ? "" : " LOST"));
  }
  out("lost " + std::to_string(lost) + " of " + std::to_string(n));
  if (!notepad) DestroyWindow(target);
  return 0;
}

// ---- idle ---------------------------------------------------------------

int repaints() {
  const UINT msg = RegisterWindowMessageW(L"QmOskRepaints");
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(keyboard(), msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
    throw Failure("the keyboard did not answer");
  out(std::to_string(count));
  return 0;
}

int dblclick(const std::string& name) {
  HWND h = control(name);
  aimAt(h);
  pumpFor(20);
  click();
  click();
  return 0;
}

int cpu() {
  DWORD pid = 0;
  GetWindowThreadProcessId(keyboard(), &pid);
  HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (p == nullptr) throw Failure("cannot open the keyboard's process");
  FILETIME created, exited, kernel, user;
  const BOOL ok = GetProcessTimes(p, &created, &exited, &kernel, &user);
  CloseHandle(p);
  if (!ok) throw Failure("GetProcessTimes failed");
  auto toMs = [](const FILETIME& f) {
    return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
           10000.0;
  };
  out(fmt(toMs(user) + toMs(kernel)));
  return 0;
}

int toInt(const std::wstring& s) {
  wchar_t* end = nullptr;
  const long v = std::wcstol(s.c_str(), &end, 10);
  if (s.empty() || *end != L'\0' || v <= 0) throw Failure("not a positive number");
  return static_cast<int>(v);
}

std::string narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

int run(const std::vector<std::wstring>& a) {
  auto need = [&](size_t n) {
    if (a.size() < n) throw Failure("missing arguments; see the top of bench/main.cpp");
  };
  need(1);
  const std::wstring& cmd = a[0];
  if (cmd == L"latency") {
    need(2);
    return latency(toInt(a[1]), a.size() > 2 ? a[2] : std::wstring());
  }
  if (cmd == L"latency-switch" || cmd == L"latency-focused") {
    need(2);
    return latencyAgainstHelper(toInt(a[1]), cmd == L"latency-focused", a.size() > 2 ? a[2] : std::wstring());
  }
  if (cmd == L"inject-helper") {
    need(2);
    return injectHelper(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(a[1].c_str(), nullptr, 10))));
  }
  if (cmd == L"type-osk") {
    need(2);
    return typeViaKeyboard(toInt(a[1]));
  }
  if (cmd == L"type-direct") {
    need(3);
    return typeDirect(toInt(a[1]), a[2] == L"unicode");
  }
  if (cmd == L"repaints") return repaints();
  if (cmd == L"dblclick") {
    need(2);
    return dblclick(narrow(a[1]));
  }
  if (cmd == L"cpu") return cpu();
  if (cmd == L"focus-trace") {
    need(2);
    return focusTrace(toInt(a[1]), a.size() > 2 && a[2] == L"notepad");
  }
  throw Failure("unknown command");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Pixel coordinates must mean the same here as to the keyboard.
  using SetAware = BOOL(WINAPI*)();
  if (auto f = reinterpret_cast<SetAware>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware"))))
    f();
  try {
    return run(std::vector<std::wstring>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qmosk-bench: %s\n", e.what());
    return 1;
  }
}
