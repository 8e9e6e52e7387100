// osk-drive: drives the running keyboard from outside, as a person would.
//
// Controls are found by the names of the layout, so a test says
// "click main BUTTON_LETTER_H" and never deals in pixels. Clicks are real
// mouse input (cursor moved to the control, then button down and up), so
// they go through the same path as a user's click, activation included.
//
// Results go to stdout as UTF-8, one value per line; anything that fails
// prints a reason on stderr and exits non-zero. "osk-drive help" lists the
// commands.

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "drive.h"
#include "host/common/handles.h"

namespace {

using namespace drive;

constexpr DWORD kDefaultTimeoutMs = 10000;
// How long a person's click holds the button down.
constexpr DWORD kPersonsClickHoldMs = 100;

// ---- forms and controls -------------------------------------------------

struct FindAllByTitle {
  std::wstring title;
  std::vector<HWND> found;
};

BOOL CALLBACK collectByTitle(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindAllByTitle*>(lp);
  if (IsWindowVisible(h) != FALSE && titleOf(h) == f->title) f->found.push_back(h);
  return TRUE;
}

// An edit's text watched on a thread of its own (see click-watch-foreground).
struct TextWatch {
  HWND edit;
  std::wstring wanted;
  std::atomic<bool> seen{false};
  std::atomic<bool> stop{false};
};

DWORD WINAPI watchText(void* arg) {
  auto* w = static_cast<TextWatch*>(arg);
  while (!w->stop && windowText(w->edit) != w->wanted) Sleep(5);
  w->seen = true;
  return 0;
}

// Stops the watch and waits for its thread however the command ends: the
// thread reads the watch, which must outlive it.
class WatchJoin {
 public:
  WatchJoin(TextWatch& watch, HANDLE thread) : watch_(watch), thread_(thread) {}
  WatchJoin(const WatchJoin&) = delete;
  WatchJoin& operator=(const WatchJoin&) = delete;
  WatchJoin(WatchJoin&&) = delete;
  WatchJoin& operator=(WatchJoin&&) = delete;
  ~WatchJoin() {
    watch_.stop = true;
    WaitForSingleObject(thread_, INFINITE);
  }

 private:
  TextWatch& watch_;
  HANDLE thread_;
};

// The window a command addresses: a form, or a control of it when given.
HWND target(const Args& a, size_t formAt) {
  if (a.size() > formAt + 1) return findControl(a[formAt], a[formAt + 1]);
  return needTopLevel(a[formAt]);
}

BOOL CALLBACK collectEveryChild(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

// A client-area point of a form that no child window covers, scanning from
// the top-left corner: where a click reaches the window's own background.
struct ChildRects {
  HWND parent;
  std::vector<RECT> rects;
};

BOOL CALLBACK collectChild(HWND h, LPARAM lp) {
  auto* c = reinterpret_cast<ChildRects*>(lp);
  if (GetParent(h) != c->parent || !IsWindowVisible(h)) return TRUE;
  RECT r{};
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, c->parent, reinterpret_cast<POINT*>(&r), 2);
  c->rects.push_back(r);
  return TRUE;
}

POINT freeSpot(HWND form) {
  ChildRects c{form, {}};
  EnumChildWindows(form, collectChild, reinterpret_cast<LPARAM>(&c));
  RECT client{};
  GetClientRect(form, &client);
  // Keep a margin around the point so a pixel of rounding cannot put the
  // click on a control's edge.
  const int margin = 3;
  for (int y = margin; y < client.bottom - margin; ++y)
    for (int x = margin; x < client.right - margin; ++x) {
      bool covered = false;
      for (const RECT& r : c.rects)
        if (x >= r.left - margin && x < r.right + margin && y >= r.top - margin && y < r.bottom + margin) {
          covered = true;
          x = static_cast<int>(r.right) + margin - 1;
          break;
        }
      if (!covered) return POINT{x, y};
    }
  throw Failure("no free spot on the form");
}

// ---- input --------------------------------------------------------------

// Where to click: the centre of a control, or a client-area point of a form
// written as "client:X,Y" (pixels), for spots that have no control. A spot
// that some other window covers is refused: the click would land there.
POINT clickPoint(const Args& a) {
  const std::wstring& what = a[2];
  HWND expected = nullptr;
  POINT p{};
  if (what.rfind(L"client:", 0) == 0) {
    int x = 0;
    int y = 0;
    if (std::swscanf(what.c_str() + 7, L"%d,%d", &x, &y) != 2) throw Failure("bad client point");
    expected = needTopLevel(a[1]);
    p = POINT{x, y};
    if (!ClientToScreen(expected, &p)) throw Failure("ClientToScreen failed");
  } else {
    expected = findControl(a[1], what);
    p = centre(screenRect(expected));
  }
  return uncovered(p, expected);
}

// Whether `control` has the keyboard focus of its own thread: input sent now
// goes to it.
bool hasFocus(HWND control) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  DWORD thread = GetWindowThreadProcessId(control, nullptr);
  return GetGUIThreadInfo(thread, &info) != FALSE && info.hwndFocus == control;
}

// The Num, Caps and Scroll Lock toggles as the key-log window sees them.
// Key state lives in each thread's input queue and follows only the key
// messages that queue has taken in: a fresh process reading its own state
// learns nothing, and under Wine attaching to another thread's queue
// (AttachThreadInput) even resets that thread's toggles. So the state is
// asked of the program that receives the keys.
std::string lockState() {
  HWND log = FindWindowW(L"QMOSK_KEYLOG", nullptr);
  if (log == nullptr) throw Failure("keystate needs a running qmosk-keylog window");
  const DWORD_PTR bits = ask(log, L"QMOSK_KEYLOG_LOCKS", kDefaultTimeoutMs);
  auto bit = [&](unsigned mask) { return (bits & mask) != 0 ? "1" : "0"; };
  return std::string("num=") + bit(1) + " caps=" + bit(2) + " scroll=" + bit(4);
}

// ---- screen colour ------------------------------------------------------

osk::win32::UniqueScreenDC screenDc() {
  osk::win32::UniqueScreenDC dc(GetDC(nullptr));
  if (!dc) throw Failure("no screen DC");
  return dc;
}

// The colour that fills most of a strip just inside the control's border.
// Captions are centred, so the strip near the top edge is background.
COLORREF sampleRect(const RECT& r) {
  std::vector<COLORREF> seen;
  {
    const auto dc = screenDc();
    const int inset = 4;
    for (int x = r.left + inset; x < r.right - inset; x += 2)
      for (int y = r.top + inset; y < std::min<LONG>(r.top + inset + 3, r.bottom - inset); ++y)
        seen.push_back(GetPixel(dc.get(), x, y));
  }
  if (seen.empty()) throw Failure("control too small to sample");
  std::sort(seen.begin(), seen.end());
  COLORREF best = seen[0];
  size_t bestRun = 0;
  for (size_t i = 0; i < seen.size();) {
    size_t j = i;
    while (j < seen.size() && seen[j] == seen[i]) ++j;
    if (j - i > bestRun) {
      bestRun = j - i;
      best = seen[i];
    }
    i = j;
  }
  return best;
}

COLORREF sampleColour(HWND h) { return sampleRect(screenRect(h)); }

// A few pixels of the same strip, for watching a colour change as it
// happens: a full sample costs tens of milliseconds under Wine, longer than
// some states last. The majority of the points wins, so a caption or the
// cursor over one of them does not decide.
COLORREF quickColour(HWND h) {
  RECT r = screenRect(h);
  const int inset = 4;
  const int y = std::min<LONG>(r.top + inset + 1, r.bottom - 1);
  const int width = static_cast<int>(r.right - r.left) - 2 * inset;
  if (width <= 0) throw Failure("control too small to sample");
  constexpr int kPoints = 5;
  COLORREF seen[kPoints];
  {
    const auto dc = screenDc();
    for (int i = 0; i < kPoints; ++i)
      seen[i] =
          GetPixel(dc.get(), r.left + inset + width * i / (kPoints - 1) - (i == kPoints - 1 ? 1 : 0), y);
  }
  std::sort(std::begin(seen), std::end(seen));
  COLORREF best = seen[0];
  int bestRun = 0;
  for (int i = 0; i < kPoints;) {
    int j = i;
    while (j < kPoints && seen[j] == seen[i]) ++j;
    if (j - i > bestRun) {
      bestRun = j - i;
      best = seen[i];
    }
    i = j;
  }
  return best;
}

// The colour of a key's left edge halfway down, one pixel in: the inner
// line of its edge, light while the key stands out and dark while it is
// pushed in.
COLORREF edgeColour(HWND h) {
  const RECT r = screenRect(h);
  return GetPixel(screenDc().get(), r.left + 1, (r.top + r.bottom) / 2);
}

std::string colourText(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%06lX", static_cast<unsigned long>(c));
  return buf;
}

// ---- notes ---------------------------------------------------------------

struct FindNote {
  HWND owner = nullptr;
  HWND found = nullptr;
};

BOOL CALLBACK findVisibleNote(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindNote*>(lp);
  wchar_t cls[64];
  if (IsWindowVisible(h) && GetWindow(h, GW_OWNER) == f->owner && GetClassNameW(h, cls, 64) > 0 &&
      lstrcmpiW(cls, L"tooltips_class32") == 0) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

// The balloon a form shows beside one of its controls, if it shows one.
HWND visibleNote(HWND form) {
  FindNote f{form};
  EnumWindows(findVisibleNote, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// ---- settings store -----------------------------------------------------

std::optional<std::wstring> getReg(const std::wstring& app, const std::wstring& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, storePath(app).c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::wstring> result;
  if (RegQueryValueExW(k, key.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    std::wstring v(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(k, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(v.data()), &size) ==
        ERROR_SUCCESS) {
      v.resize(wcsnlen(v.c_str(), v.size()));
      result = v;
    }
  }
  RegCloseKey(k);
  return result;
}

void deleteReg(const std::wstring& app, const std::wstring& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, storePath(app).c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
  RegDeleteValueW(k, key.c_str());
  RegCloseKey(k);
}

// Hostile stores: values of other registry types, strings with NULs inside,
// and a settings key nobody may change.

// `text` with each "\\0" turned into a NUL character.
std::wstring withNuls(const std::wstring& text) {
  std::wstring w;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'0') {
      w.push_back(L'\0');
      ++i;
    } else {
      w.push_back(text[i]);
    }
  }
  return w;
}

// type: sz or expand (the text, "\\0" for a NUL inside it, terminated),
// multi (the text as one string of a list), dword or qword (a number),
// binary (the UTF-16 bytes of the text, unterminated: a string in all but
// its type).
void setRegTyped(const std::wstring& app, const std::wstring& key, const std::wstring& type,
                 const std::wstring& text) {
  std::vector<BYTE> data;
  DWORD regType = 0;
  auto addText = [&](const std::wstring& w) {
    const BYTE* p = reinterpret_cast<const BYTE*>(w.data());
    data.insert(data.end(), p, p + w.size() * sizeof(wchar_t));
  };
  if (type == L"sz" || type == L"expand") {
    regType = type == L"sz" ? REG_SZ : REG_EXPAND_SZ;
    addText(withNuls(text) + L'\0');
  } else if (type == L"multi") {
    regType = REG_MULTI_SZ;
    addText(withNuls(text) + L'\0' + L'\0');
  } else if (type == L"binary") {
    regType = REG_BINARY;
    addText(withNuls(text));
  } else if (type == L"dword") {
    regType = REG_DWORD;
    const auto v = static_cast<DWORD>(toInt(text));
    const BYTE* p = reinterpret_cast<const BYTE*>(&v);
    data.assign(p, p + sizeof v);
  } else if (type == L"qword") {
    regType = REG_QWORD;
    const auto v = static_cast<ULONGLONG>(toInt(text));
    const BYTE* p = reinterpret_cast<const BYTE*>(&v);
    data.assign(p, p + sizeof v);
  } else {
    throw Failure("unknown type " + narrow(type));
  }
  HKEY k = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, storePath(app).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    throw Failure("cannot create the settings key");
  const LONG rc = RegSetValueExW(k, key.c_str(), 0, regType, data.empty() ? nullptr : data.data(),
                                 static_cast<DWORD>(data.size()));
  RegCloseKey(k);
  if (rc != ERROR_SUCCESS) throw Failure("cannot write the value");
}

// Everyone may read the settings key but nobody may set, add or delete a
// value in it or below it. Wine's server checks registry access against the
// key's DACL: after this, RegCreateKeyExW with KEY_SET_VALUE fails with
// ERROR_ACCESS_DENIED in every process of the prefix (checked under Wine 8).
void lockReg(const std::wstring& app) {
  HKEY k = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, storePath(app).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    throw Failure("cannot create the settings key");
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
    RegCloseKey(k);
    throw Failure("no SID for everyone");
  }
  const DWORD sidBytes = GetLengthSid(everyone);
  const DWORD aclBytes = sizeof(ACL) + sizeof(ACCESS_DENIED_ACE) + sizeof(ACCESS_ALLOWED_ACE) + 2 * sidBytes;
  std::vector<BYTE> aclBuf(aclBytes);
  PACL acl = reinterpret_cast<PACL>(aclBuf.data());
  SECURITY_DESCRIPTOR sd{};
  const bool built =
      InitializeAcl(acl, aclBytes, ACL_REVISION) != FALSE &&
      AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE | WRITE_DAC,
                         everyone) != FALSE &&
      AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone) != FALSE &&
      InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) != FALSE &&
      SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) != FALSE;
  const LONG rc = built ? RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, &sd) : ERROR_INVALID_ACL;
  FreeSid(everyone);
  RegCloseKey(k);
  if (rc != ERROR_SUCCESS) throw Failure("cannot lock the settings key");
  // Proof, not hope: the lock must be felt by the next opener.
  if (RegCreateKeyExW(HKEY_CURRENT_USER, storePath(app).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                      nullptr) == ERROR_SUCCESS) {
    RegCloseKey(k);
    throw Failure("the settings key is still writable");
  }
}

// ---- soak ---------------------------------------------------------------

// GetGuiResources is a stub under Wine 8 (it returns 0 and sets
// ERROR_CALL_NOT_IMPLEMENTED, for this process as for others), and Wine
// leaves PEB.GdiSharedHandleTable empty, so GDI objects cannot be counted
// from outside there. The USER objects that matter to a keyboard are its
// windows: every top-level window of the process and all their children.
struct WindowCount {
  DWORD pid = 0;
  unsigned long count = 0;
};

BOOL CALLBACK countChild(HWND /*child*/, LPARAM lp) {
  ++reinterpret_cast<WindowCount*>(lp)->count;
  return TRUE;
}

BOOL CALLBACK countTopLevel(HWND h, LPARAM lp) {
  auto* c = reinterpret_cast<WindowCount*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == c->pid) {
    ++c->count;
    EnumChildWindows(h, countChild, lp);
  }
  return TRUE;
}

unsigned long windowsOfProcessOf(HWND h) {
  WindowCount c{0};
  GetWindowThreadProcessId(h, &c.pid);
  EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&c));
  return c.count;
}

// While it lives, this thread works at the DPI Wine gives window `h`. Wine 8
// takes a per-monitor aware window to be at 96 DPI whatever the display's
// DPI is, and scales a SetWindowPos from a thread at the display's DPI by
// the ratio: at 144 DPI a move to 900 x 300 placed the keyboard at 600 x
// 200, reading its rectangle unchanged. A thread that is DPI-unaware works
// at 96 DPI, where nothing is scaled. On Windows the two DPIs agree and
// nothing changes.
class WindowDpiThread {
 public:
  explicit WindowDpiThread(HWND h) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto forWindow = reinterpret_cast<UINT(WINAPI*)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    auto forSystem =
        reinterpret_cast<UINT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForSystem")));
    set_ = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
    if (forWindow == nullptr || forSystem == nullptr || set_ == nullptr) return;
    if (forWindow(h) != USER_DEFAULT_SCREEN_DPI || forSystem() == USER_DEFAULT_SCREEN_DPI) return;
    // DPI_AWARENESS_CONTEXT_UNAWARE
    previous_ = set_(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1)));
  }
  ~WindowDpiThread() {
    if (previous_ != nullptr) set_(previous_);
  }
  WindowDpiThread(const WindowDpiThread&) = delete;
  WindowDpiThread& operator=(const WindowDpiThread&) = delete;
  WindowDpiThread(WindowDpiThread&&) = delete;
  WindowDpiThread& operator=(WindowDpiThread&&) = delete;

 private:
  using SetContext = HANDLE(WINAPI*)(HANDLE);
  SetContext set_ = nullptr;
  HANDLE previous_ = nullptr;
};

// A watchdog: every `intervalMs` until the window is gone, one WM_NULL that
// must be answered within five seconds, the time after which Windows itself
// calls a window hung. One line per look: "answer <ms since start> <ms to
// answer> <windows of its process>", "hang <ms since start> <error>" when it
// was not answered in time, and "gone <ms since start>" at the end. (A limit
// of one second failed a soak with two CPU-bound jobs on two CPUs: one answer
// took just over it, while a keyboard that really hangs never answers.)
void watch(HWND h, DWORD intervalMs) {
  constexpr UINT kAnswerMs = 5000;
  const long long start = now();
  auto msSince = [](long long from) { return msBetween(from, now()); };
  for (;;) {
    if (!IsWindow(h)) {
      out("gone " + std::to_string(static_cast<long>(msSince(start))));
      return;
    }
    const long long asked = now();
    DWORD_PTR ignored = 0;
    SetLastError(0);
    const bool answered = SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &ignored) != 0;
    const double took = msSince(asked);
    char line[96];
    if (answered)
      std::snprintf(line, sizeof line, "answer %ld %.1f %lu", static_cast<long>(msSince(start)), took,
                    windowsOfProcessOf(h));
    else if (IsWindow(h))
      std::snprintf(line, sizeof line, "hang %ld %lu", static_cast<long>(msSince(start)), GetLastError());
    else
      continue;  // it closed while being asked: reported as gone next round
    out(line);
    Sleep(intervalMs);
  }
}

// ---- files ----------------------------------------------------------------

std::string readFileBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw Failure("cannot open " + narrow(path));
  std::string data;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  CloseHandle(f);
  return data;
}

void writeFileUtf8(const std::wstring& path, const std::string& data) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw Failure("cannot create " + narrow(path));
  DWORD written = 0;
  const BOOL ok = WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(f);
  if (!ok || written != data.size()) throw Failure("cannot write " + narrow(path));
}

// ---- commands -----------------------------------------------------------

DWORD timeoutArg(const Args& a, size_t at) {
  return a.size() > at ? static_cast<DWORD>(toInt(a[at])) : kDefaultTimeoutMs;
}

std::string rectText(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
         std::to_string(r.bottom - r.top);
}

// Whether `text` shows whole in control `c` (window `h`) as the host draws
// it: in the host's font, at the size the control has on the screen.
bool fitsItsControl(HDC dc, const osk::Control& c, HWND h, const std::wstring& text) {
  RECT client{};
  if (GetClientRect(h, &client) == FALSE || c.rect().width <= 0) return true;
  const double dpi = client.right * 1440.0 / c.rect().width;
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(c.font().points * dpi / 72.0));
  lf.lfWeight = c.font().bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(lf.lfFaceName, L"MS Sans Serif");
  const osk::win32::UniqueFont font(CreateFontIndirectW(&lf));
  if (!font) throw Failure("CreateFontIndirectW failed");
  const osk::win32::SelectGuard selected(dc, font.get());
  TEXTMETRICW tm{};
  if (GetTextMetricsW(dc, &tm) == FALSE) throw Failure("GetTextMetricsW failed");
  // A tick box draws its text after the box and half a character; a push
  // button inside its raised edge; a label wraps at blanks.
  const bool label = c.kind() == osk::ControlKind::Label;
  int room = client.right;
  if (c.kind() == osk::ControlKind::CheckBox)
    room -= GetSystemMetrics(SM_CXMENUCHECK) + tm.tmAveCharWidth / 2;
  if (c.kind() == osk::ControlKind::Button) room -= 2 * GetSystemMetrics(SM_CXEDGE);
  RECT need{0, 0, room, 0};
  if (DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | (label ? DT_WORDBREAK : DT_SINGLELINE)) == 0)
    throw Failure("DrawTextW failed");
  return need.right <= room && need.bottom <= client.bottom;
}

void click(POINT p, int clicks) {
  moveCursor(p);
  clickHere(clicks);
}

const Command kCommands[] = {
    {L"wait-window", 1, 2, "<form|class|title> [timeout-ms]",
     [](const Args& a) {
       HWND w = nullptr;
       if (!waitUntil(timeoutArg(a, 2),
                      [&] { return (w = findTopLevel(a[1])) != nullptr && IsWindowVisible(w) != FALSE; }))
         throw Failure("no visible window " + narrow(a[1]));
       out(hwndText(w));
     }},
    {L"wait-gone", 1, 2, "<form|class|title> [timeout-ms]",
     [](const Args& a) {
       const bool gone = waitUntil(timeoutArg(a, 2), [&] {
         HWND w = findTopLevel(a[1]);
         return w == nullptr || IsWindowVisible(w) == FALSE;
       });
       if (!gone) throw Failure("still there: " + narrow(a[1]));
     }},
    {L"exists", 1, 1, "<form|class|title>",
     [](const Args& a) {
       HWND w = findTopLevel(a[1]);
       out(w != nullptr && IsWindowVisible(w) ? "1" : "0");
     }},
    {L"click", 2, 2, "<form> <control | client:X,Y>", [](const Args& a) { click(clickPoint(a), 1); }},
    {L"dblclick", 2, 2, "<form> <control | client:X,Y>", [](const Args& a) { click(clickPoint(a), 2); }},
    // The pointer comes to rest on the spot, with no click. A disabled key
    // is not a window that WindowFromPoint finds, so no cover check.
    {L"point", 2, 2, "<form> <control | client:X,Y>",
     [](const Args& a) {
       const bool control = a[2].rfind(L"client:", 0) != 0;
       POINT p = control ? centre(screenRect(findControl(a[1], a[2]))) : clickPoint(a);
       moveCursor(p);
     }},
    {L"point-at", 2, 2, "<x> <y>",
     [](const Args& a) {
       moveCursor(POINT{toInt(a[1]), toInt(a[2])});
     }},
    // What the keyboard has done so far: control repaints and messages its
    // loop has taken; two readings apart give what happened in between.
    {L"activity", 1, 1, "<form>",
     [](const Args& a) {
       HWND w = needTopLevel(a[1]);
       for (const wchar_t* name : {kRepaintCountMessage, kMessageCountMessage})
         out(std::to_string(ask(w, name, 2000)));
     }},
    // The window's layered opacity in percent (100 when it is not layered).
    {L"opacity", 1, 1, "<form>",
     [](const Args& a) {
       HWND w = needTopLevel(a[1]);
       BYTE alpha = 255;
       DWORD flags = 0;
       const bool layered = (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
       if (layered && !::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags))
         throw Failure("GetLayeredWindowAttributes failed", 1);
       if ((flags & LWA_ALPHA) == 0) alpha = 255;
       out(std::to_string(::MulDiv(alpha, 100, 255)));
     }},
    // 1 while the keyboard is an application bar, plus twice the app-bar
    // calls the system refused.
    {L"appbar", 1, 1, "<form>", [](const Args& a) { out(std::to_string(ask(needTopLevel(a[1]), kAppBarStateMessage, 2000))); }},
    {L"click-at", 2, 2, "<x> <y>",
     [](const Args& a) {
       click(POINT{toInt(a[1]), toInt(a[2])}, 1);
     }},
    {L"dblclick-at", 2, 2, "<x> <y>",
     [](const Args& a) {
       click(POINT{toInt(a[1]), toInt(a[2])}, 2);
     }},
    {L"rect", 1, 2, "<form> [control]", [](const Args& a) { out(rectText(screenRect(target(a, 1)))); }},
    // The client area on screen: with `rect`, the window's frame.
    {L"client-rect", 1, 1, "<form>",
     [](const Args& a) {
       HWND h = needTopLevel(a[1]);
       RECT r{};
       if (!GetClientRect(h, &r)) throw Failure("GetClientRect failed");
       MapWindowPoints(h, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
       out(rectText(r));
     }},
    {L"free-spot", 1, 1, "<form>",
     [](const Args& a) {
       POINT p = freeSpot(needTopLevel(a[1]));
       out(std::to_string(p.x) + " " + std::to_string(p.y));
     }},
    {L"text", 1, 2, "<form> [control]", [](const Args& a) { out(narrow(windowText(target(a, 1)))); }},
    {L"wait-text", 3, 4, "<form> <control> <text> [timeout-ms]",
     [](const Args& a) {
       std::wstring last;
       if (!waitUntil(timeoutArg(a, 4), [&] { return (last = windowText(findControl(a[1], a[2]))) == a[3]; }))
         throw Failure("text stayed \"" + narrow(last) + "\"");
       out(narrow(last));
     }},
    // As if the user had typed it: the control reports the change.
    {L"set-text", 3, 3, "<form> <control> <text>",
     [](const Args& a) {
       HWND h = findControl(a[1], a[2]);
       DWORD_PTR ignored = 0;
       if (!SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[3].c_str()), SMTO_ABORTIFHUNG,
                                kDefaultTimeoutMs, &ignored))
         throw Failure("the control did not take the text");
     }},
    // Prints the balloon's text and its rectangle; fails when the form
    // shows none.
    {L"note", 1, 1, "<form>",
     [](const Args& a) {
       HWND note = visibleNote(needTopLevel(a[1]));
       if (note == nullptr) throw Failure("no note", 2);
       out(narrow(windowText(note)));
       out(rectText(screenRect(note)));
     }},
    // A real click at the middle of the form's note, found and clicked in one
    // go: the note hides itself after six seconds, and on a loaded machine
    // a look and a click from two starts of this tool took longer than that
    // (the click then landed on the key under the note).
    {L"click-note", 1, 1, "<form>",
     [](const Args& a) {
       HWND note = visibleNote(needTopLevel(a[1]));
       if (note == nullptr) throw Failure("no note", 2);
       // A note that went (its time ran out) before the click must not
       // leave the click to the key that lay under it.
       click(uncovered(centre(screenRect(note)), note), 1);
     }},
    {L"enabled", 1, 2, "<form> [control]",
     [](const Args& a) { out(IsWindowEnabled(target(a, 1)) ? "1" : "0"); }},
    // One line per control, in the order given: a group read in one call.
    {L"enabled-each", 2, kAnyCount, "<form> <control>...",
     [](const Args& a) {
       for (size_t i = 2; i < a.size(); ++i)
         out(narrow(a[i]) + " " + (IsWindowEnabled(findControl(a[1], a[i])) ? "1" : "0"));
     }},
    // Whether a drop-down's list is open: a click elsewhere would only close it.
    {L"dropped", 2, 2, "<form> <control>",
     [](const Args& a) {
       HWND h = findControl(a[1], a[2]);
       std::array<wchar_t, 32> cls{};
       const bool combo = GetClassNameW(h, cls.data(), static_cast<int>(cls.size())) > 0 &&
                          _wcsicmp(cls.data(), L"ComboBox") == 0;
       out(combo && SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0 ? "1" : "0");
     }},
    {L"topmost", 1, 1, "<form|class|title>",
     [](const Args& a) {
       out((GetWindowLongW(needTopLevel(a[1]), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ? "1" : "0");
     }},
    {L"set-topmost", 2, 2, "<form|class|title> <0|1>",
     [](const Args& a) {
       SetWindowPos(needTopLevel(a[1]), toInt(a[2]) != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                    SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
     }},
    // Several windows may share a title; tests tell them apart by handle.
    {L"windows", 1, 1, "<title>",
     [](const Args& a) {
       FindAllByTitle all{a[1], {}};
       EnumWindows(collectByTitle, reinterpret_cast<LPARAM>(&all));
       for (HWND h : all.found) out(hwndText(h));
     }},
    // The texts of a window's children, one a line: what a message box says.
    {L"child-texts", 1, 1, "<form|class|title>",
     [](const Args& a) {
       std::vector<HWND> children;
       EnumChildWindows(needTopLevel(a[1]), collectEveryChild, reinterpret_cast<LPARAM>(&children));
       for (HWND h : children) out(narrow(windowText(h)));
     }},
    // Changes the z-order only: the window in front stays in front.
    {L"raise", 1, 1, "<hwnd>",
     [](const Args& a) {
       HWND h = toWindow(a[1]);
       if (!IsWindow(h)) throw Failure("no window " + narrow(a[1]));
       if (!SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE))
         throw Failure("SetWindowPos failed");
     }},
    {L"wait-enabled", 2, 3, "<form> <0|1> [timeout-ms]",
     [](const Args& a) {
       bool want = toInt(a[2]) != 0;
       if (!waitUntil(timeoutArg(a, 3), [&] {
             HWND h = findTopLevel(a[1]);
             return h != nullptr && (IsWindowEnabled(h) != FALSE) == want;
           }))
         throw Failure("enabled state did not become " + narrow(a[2]));
     }},
    {L"title-of-foreground", 0, 0, "",
     [](const Args&) {
       HWND fg = GetForegroundWindow();
       out(fg != nullptr ? narrow(titleOf(fg)) : "");
     }},
    {L"foreground", 1, 1, "<form|class|title>",
     [](const Args& a) { bringToFront(needTopLevel(a[1]), kDefaultTimeoutMs); }},
    {L"color", 2, 2, "<form> <control>",
     [](const Args& a) {
       char buf[16];
       std::snprintf(buf, sizeof buf, "0x%06lX", static_cast<unsigned long>(sampleColour(target(a, 1))));
       out(buf);
     }},
    // Several controls from one look: a test that needs two colours at one
    // moment cannot afford an osk-drive start between them (about a second
    // each on a loaded machine).
    {L"color-each", 2, kAnyCount, "<form> <control>...",
     [](const Args& a) {
       for (size_t i = 2; i < a.size(); ++i) {
         char buf[16];
         std::snprintf(buf, sizeof buf, "0x%06lX",
                       static_cast<unsigned long>(sampleColour(findControl(a[1], a[i]))));
         out(narrow(a[i]) + " " + buf);
       }
     }},
    // What is shown in a spot of the screen, whatever window draws it.
    {L"color-in", 4, 4, "<x> <y> <w> <h>",
     [](const Args& a) {
       const RECT r{toInt(a[1]), toInt(a[2]), toInt(a[1]) + toInt(a[3]), toInt(a[2]) + toInt(a[4])};
       char buf[16];
       std::snprintf(buf, sizeof buf, "0x%06lX", static_cast<unsigned long>(sampleRect(r)));
       out(buf);
     }},
    // The messages the system's loop sends as the user starts and ends a
    // drag of the window's frame; the resizes between are `move`s.
    {L"size-loop", 2, 2, "<form> <enter|exit>",
     [](const Args& a) {
       const UINT msg = a[2] == L"enter" ? WM_ENTERSIZEMOVE : a[2] == L"exit" ? WM_EXITSIZEMOVE : 0;
       if (msg == 0) throw Failure("size-loop takes enter or exit");
       DWORD_PTR ignored = 0;
       if (!SendMessageTimeoutW(needTopLevel(a[1]), msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored))
         throw Failure("the window does not answer");
     }},
    {L"press-edge", 2, 2, "<form> <control>",
     [](const Args& a) {
       // The key's edge before, while the button is held down over it, and
       // after the release; each look waits (bounded) for a change.
       HWND h = findControl(a[1], a[2]);
       const POINT p = clickPoint(a);
       moveCursor(p);
       const COLORREF before = edgeColour(h);
       out("before " + colourText(before));
       COLORREF held = before;
       leftButton(true);
       waitUntil(kDefaultTimeoutMs, [&] { return (held = edgeColour(h)) != before; });
       out("held " + colourText(held));
       COLORREF after = held;
       leftButton(false);
       waitUntil(kDefaultTimeoutMs, [&] { return (after = edgeColour(h)) != held; });
       out("after " + colourText(after));
     }},
    // Clicks a control and reports its colour from the same process, so no
    // process start-up lies between the click and the first look: the
    // colour before the click, then every change as "<ms after the click>
    // <colour>", then how many looks were taken, then as "also <control>
    // <colour>" each further control of the form as the watch ends: a state
    // that must outlast the click is seen without another process start
    // (about a second on a loaded machine).
    {L"click-watch-color", 3, kAnyCount, "<form> <control> <ms> [<control>...]",
     [](const Args& a) {
       auto span = static_cast<DWORD>(toInt(a[3]));
       HWND h = findControl(a[1], a[2]);
       POINT p = clickPoint(a);
       COLORREF last = quickColour(h);
       out("before " + colourText(last));
       click(p, 1);
       DWORD start = GetTickCount();
       unsigned long looks = 0;
       bool first = true;
       for (;;) {
         DWORD elapsed = GetTickCount() - start;
         COLORREF c = quickColour(h);
         ++looks;
         if (first || c != last) out(std::to_string(elapsed) + " " + colourText(c));
         first = false;
         last = c;
         if (elapsed >= span) break;
         Sleep(1);
       }
       out("looks " + std::to_string(looks));
       for (size_t i = 4; i < a.size(); ++i)
         out("also " + narrow(a[i]) + " " + colourText(sampleColour(findControl(a[1], a[i]))));
     }},
    // Clicks a control and reports the title of the foreground window from
    // the same process: the one before the click, then every change as
    // "<ms after the press> <title>", until the edit child of <window>
    // shows <text> (the click's whole effect) or <ms> have passed. The
    // button is held as long as a person holds it: released at once, the
    // keyboard's turn in front lasted 2 ms, and a watcher that lost the
    // processor for that long on a busy machine saw no change at all. The
    // system's foreground events do not reach another process under Wine,
    // and a read of the edit waits for the target's thread, which would hide
    // the change; so the edit is read on a thread of its own.
    {L"click-watch-foreground", 5, 5, "<form> <control> <ms> <window> <text>",
     [](const Args& a) {
       const auto span = static_cast<DWORD>(toInt(a[3]));
       TextWatch watch{FindWindowExW(needTopLevel(a[4]), nullptr, L"Edit", nullptr), a[5]};
       if (watch.edit == nullptr) throw Failure("no Edit child");
       const POINT p = clickPoint(a);
       auto title = [] {
         HWND fg = GetForegroundWindow();
         return fg != nullptr ? narrow(titleOf(fg)) : std::string("(none)");
       };
       std::string last = title();
       out("before " + last);
       moveCursor(p);
       leftButton(true);
       const DWORD start = GetTickCount();
       bool held = true;
       // Started after the press: it compares the text as it stands, so
       // nothing can be missed.
       const osk::win32::UniqueKernelHandle reader{CreateThread(nullptr, 0, watchText, &watch, 0, nullptr)};
       if (!reader) {
         leftButton(false);
         throw Failure("CreateThread failed");
       }
       const WatchJoin join{watch, reader.get()};
       for (;;) {
         const DWORD elapsed = GetTickCount() - start;
         const std::string now = title();
         if (now != last) out(std::to_string(elapsed) + " " + now);
         last = now;
         if (held && elapsed >= kPersonsClickHoldMs) {
           held = false;
           leftButton(false);
         }
         if (!held && (elapsed >= span || watch.seen)) break;
         Sleep(1);
       }
     }},
    // The clipboard's text ("" when it holds none). Another program may
    // hold it open for a moment; that is waited out.
    {L"clipboard", 0, 0, "",
     [](const Args&) {
       if (!waitUntil(kDefaultTimeoutMs, [] { return OpenClipboard(nullptr) != FALSE; }))
         throw Failure("the clipboard stayed open elsewhere");
       std::wstring text;
       if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
         if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data)); chars != nullptr) {
           text = chars;
           GlobalUnlock(data);
         }
       }
       CloseClipboard();
       out(narrow(text));
     }},
    {L"syscolor", 1, 1, "<index>", [](const Args& a) { out(colourText(GetSysColor(toInt(a[1])))); }},
    {L"close", 1, 2, "<form|class|title> [timeout-ms]",
     [](const Args& a) {
       HWND h = needTopLevel(a[1]);
       PostMessageW(h, WM_CLOSE, 0, 0);
       if (!waitUntil(timeoutArg(a, 2), [&] { return IsWindow(h) == FALSE || IsWindowVisible(h) == FALSE; }))
         throw Failure("window did not close");
     }},
    {L"edit-text", 1, 1, "<title|class>",
     [](const Args& a) {
       HWND top = needTopLevel(a[1]);
       HWND edit = FindWindowExW(top, nullptr, L"Edit", nullptr);
       if (edit == nullptr) throw Failure("no Edit child");
       out(narrow(windowText(edit)));
     }},
    // Where the caret is in a window's edit child, as "<start> <end>" of
    // its selection: a test waits for a real key or click to have moved it.
    {L"edit-caret", 1, 1, "<title|class>",
     [](const Args& a) {
       HWND top = needTopLevel(a[1]);
       HWND edit = FindWindowExW(top, nullptr, L"Edit", nullptr);
       if (edit == nullptr) throw Failure("no Edit child");
       DWORD start = 0;
       DWORD end = 0;
       SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
       out(std::to_string(start) + " " + std::to_string(end));
     }},
    // A person replacing what a field holds: a click into it, Ctrl+End,
    // Ctrl+Shift+Home, Delete, then the new text typed.
    {L"set-field", 3, 3, "<form> <control> <text>",
     [](const Args& a) {
       HWND field = findControl(a[1], a[2]);
       POINT p = clickPoint(a);
       click(p, 1);
       if (!waitUntil(kDefaultTimeoutMs, [&] { return hasFocus(field); }))
         throw Failure("the field never took the focus");
       sendInputs({keyInput(VK_CONTROL, false), keyInput(VK_END, false), keyInput(VK_END, true),
                   keyInput(VK_SHIFT, false), keyInput(VK_HOME, false), keyInput(VK_HOME, true),
                   keyInput(VK_SHIFT, true), keyInput(VK_CONTROL, true), keyInput(VK_DELETE, false),
                   keyInput(VK_DELETE, true)});
       sendInputs(unicodeInputs(a[3]));
       // Bounded: the characters are in the field's queue, not yet in its text.
       std::wstring last;
       if (!waitUntil(kDefaultTimeoutMs, [&] { return (last = windowText(field)) == a[3]; }))
         throw Failure("the field shows \"" + narrow(last) + "\"");
     }},
    {L"type", 1, 1, "<text>", [](const Args& a) { sendInputs(unicodeInputs(a[1])); }},
    {L"checked", 2, 2, "<form> <control>",
     [](const Args& a) {
       DWORD_PTR state = 0;
       if (!SendMessageTimeoutW(findControl(a[1], a[2]), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state))
         throw Failure("the check box does not answer");
       out(state == BST_CHECKED ? "1" : "0");
     }},
    // What the close box of the title bar sends.
    {L"close-box", 1, 2, "<form|class|title> [timeout-ms]",
     [](const Args& a) {
       HWND h = needTopLevel(a[1]);
       PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
       if (!waitUntil(timeoutArg(a, 2), [&] { return IsWindow(h) == FALSE || IsWindowVisible(h) == FALSE; }))
         throw Failure("window did not close");
     }},
    // Long or multi-line texts go through a file as raw UTF-8: a command
    // line and the console both have their limits and line-end rewriting.
    // Long or multi-line texts go through a file as raw UTF-8: a command
    // line and the console both have their limits and line-end rewriting.
    {L"text-file", 3, 3, "<form> <control> <path>",
     [](const Args& a) { writeFileUtf8(a[3], narrow(windowText(findControl(a[1], a[2])))); }},
    {L"get-reg-file", 3, 3, "<app> <key> <path>",
     [](const Args& a) {
       auto v = getReg(a[1], a[2]);
       if (!v) throw Failure("absent");
       writeFileUtf8(a[3], narrow(*v));
     }},
    {L"set-reg-file", 3, 3, "<app> <key> <path>",
     [](const Args& a) { storeText(a[1], a[2], widen(readFileBytes(a[3]))); }},
    {L"keystate", 0, 0, "", [](const Args&) { out(lockState()); }},
    {L"tap-key", 1, 1, "<vk>", [](const Args& a) { tapKey(static_cast<WORD>(toInt(a[1]))); }},
    {L"move", 5, 5, "<form|title> <x> <y> <w> <h>",
     [](const Args& a) {
       HWND h = needTopLevel(a[1]);
       const WindowDpiThread sameDpi(h);
       if (!SetWindowPos(h, nullptr, toInt(a[2]), toInt(a[3]), toInt(a[4]), toInt(a[5]),
                         SWP_NOZORDER | SWP_NOACTIVATE))
         throw Failure("SetWindowPos failed");
       out(rectText(screenRect(h)));
     }},
    {L"set-reg", 3, 3, "<app> <key> <value>", [](const Args& a) { storeText(a[1], a[2], a[3]); }},
    {L"get-reg", 2, 2, "<app> <key>",
     [](const Args& a) {
       auto v = getReg(a[1], a[2]);
       if (!v) throw Failure("absent", 2);
       out(narrow(*v));
     }},
    {L"del-reg", 2, 2, "<app> <key>", [](const Args& a) { deleteReg(a[1], a[2]); }},
    {L"set-reg-typed", 4, 4, "<app> <key> <sz|expand|multi|binary|dword|qword> <value>",
     [](const Args& a) { setRegTyped(a[1], a[2], a[3], a[4]); }},
    {L"lock-reg", 1, 1, "<app>", [](const Args& a) { lockReg(a[1]); }},
    {L"objects", 1, 1, "<form|class|title>",
     [](const Args& a) { out(std::to_string(windowsOfProcessOf(needTopLevel(a[1])))); }},
    {L"watch", 2, 2, "<form|class|title> <interval-ms>",
     [](const Args& a) { watch(needTopLevel(a[1]), static_cast<DWORD>(toInt(a[2]))); }},
    // The monitor that holds most of the window (or the primary one).
    {L"monitor", 0, 1, "[form|class|title]",
     [](const Args& a) {
       HWND h = a.size() > 1 ? needTopLevel(a[1]) : nullptr;
       HMONITOR m = h != nullptr ? MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST)
                                 : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
       MONITORINFO mi{};
       mi.cbSize = sizeof mi;
       if (!GetMonitorInfoW(m, &mi)) throw Failure("no monitor information");
       out(rectText(mi.rcMonitor));
       out(rectText(mi.rcWork));
     }},
    {L"dpi", 0, 0, "",
     [](const Args&) {
       out(std::to_string(GetDeviceCaps(screenDc().get(), LOGPIXELSX)));
     }},
    // Every shown control of a form with its screen rectangle, one a line:
    // "NAME x y w h".
    {L"control-rects", 1, 1, "<form>",
     [](const Args& a) {
       auto form = formByName(a[1]);
       if (!form) throw Failure("unknown form");
       auto layout = form->make();
       for (const auto& c : layout->controls()) {
         HWND h = findControl(a[1], widen(c.name()));
         if (h != nullptr && IsWindowVisible(h)) out(c.name() + " " + rectText(screenRect(h)));
       }
     }},
    // The captions of a form's labels, tick boxes and push buttons that do
    // not fit their control as the host draws them: "<control> <text>" each.
    {L"clipped", 1, 1, "<form>",
     [](const Args& a) {
       auto form = formByName(a[1]);
       if (!form) throw Failure("unknown form");
       auto layout = form->make();
       const auto dc = screenDc();
       for (const auto& c : layout->controls()) {
         const bool measured = c.kind() == osk::ControlKind::Label || c.kind() == osk::ControlKind::CheckBox ||
                               (c.kind() == osk::ControlKind::Button && c.standardStyle());
         HWND h = measured ? findControl(a[1], widen(c.name())) : nullptr;
         if (h == nullptr || IsWindowVisible(h) == FALSE) continue;
         const std::wstring text = windowText(h);
         if (!text.empty() && !fitsItsControl(dc.get(), c, h, text)) out(c.name() + " " + narrow(text));
       }
     }},
    {L"controls", 1, 1, "<form>",
     [](const Args& a) {
       auto form = formByName(a[1]);
       if (!form) throw Failure("unknown form");
       auto layout = form->make();
       for (size_t i = 0; i < layout->controls().size(); ++i)
         out(std::to_string(kFirstControlId + static_cast<int>(i)) + " " + layout->controls()[i].name());
     }},
};

}  // namespace

int wmain(int argc, wchar_t** argv) { return runCommands("osk-drive", kCommands, argc, argv); }
