#include "drive.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <iterator>

namespace drive {

constexpr wchar_t kStoreRoot[] = L"Software\\QM-OSK\\";

std::string narrow(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring widen(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

// Bytes straight to the handle: no console code page gets to re-encode them.
void out(const std::string& line) {
  std::string s = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &written, nullptr);
}

int toInt(const std::wstring& s) {
  wchar_t* end = nullptr;
  long v = std::wcstol(s.c_str(), &end, 0);
  if (s.empty() || *end != L'\0') throw Failure("not a number: " + narrow(s));
  return static_cast<int>(v);
}

HWND toWindow(const std::wstring& s) {
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(s.c_str(), nullptr, 0)));
}

std::string hwndText(HWND h) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%lx", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(h)));
  return buf;
}

// ---- clock and waiting -----------------------------------------------------

long long now() {
  LARGE_INTEGER q;
  QueryPerformanceCounter(&q);
  return q.QuadPart;
}

double msBetween(long long from, long long to) {
  static const double perMs = [] {
    LARGE_INTEGER q;
    QueryPerformanceFrequency(&q);
    return static_cast<double>(q.QuadPart) / 1000.0;
  }();
  return static_cast<double>(to - from) / perMs;
}

void pumpMessages() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

bool waitUntil(DWORD timeoutMs, const std::function<bool()>& done, DWORD pollMs) {
  const long long start = now();
  for (;;) {
    pumpMessages();
    if (done()) return true;
    const double left = timeoutMs - msBetween(start, now());
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(static_cast<DWORD>(left) + 1, pollMs),
                              QS_ALLINPUT);
  }
}

// ---- windows and controls --------------------------------------------------

std::optional<FormInfo> formByName(const std::wstring& name) {
  if (name == L"main" || name == L"QM_OSK_MAIN")
    return FormInfo{L"QM_OSK_MAIN", []() -> std::unique_ptr<osk::Form> { return osk::makeMainForm(); }};
  if (name == L"settings" || name == L"QM_OSK_SETTINGS")
    return FormInfo{L"QM_OSK_SETTINGS",
                    []() -> std::unique_ptr<osk::Form> { return osk::makeSettingsForm(); }};
  if (name == L"fkeys" || name == L"QM_OSK_FKEYS_SETTINGS")
    return FormInfo{L"QM_OSK_FKEYS_SETTINGS",
                    []() -> std::unique_ptr<osk::Form> { return osk::makeFkeysForm(); }};
  if (name == L"aids" || name == L"QM_OSK_TYPING_AIDS")
    return FormInfo{L"QM_OSK_TYPING_AIDS",
                    []() -> std::unique_ptr<osk::Form> { return osk::makeAidsForm(); }};
  return std::nullopt;
}

std::wstring titleOf(HWND h) {
  wchar_t buf[512];
  int n = GetWindowTextW(h, buf, static_cast<int>(std::size(buf)));
  return {buf, static_cast<size_t>(std::max(n, 0))};
}

namespace {

struct FindByTitle {
  std::wstring title;
  HWND found = nullptr;
};

// Titles are read without a message, so windows that are busy starting up
// or hidden service windows never make the search wait.
BOOL CALLBACK findVisibleByTitle(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindByTitle*>(lp);
  if (IsWindowVisible(h) != FALSE && titleOf(h) == f->title) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

struct FindById {
  int id = 0;
  HWND found = nullptr;
};

BOOL CALLBACK findChildById(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindById*>(lp);
  if (GetDlgCtrlID(h) == f->id) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

int controlIndex(const FormInfo& form, const std::string& control) {
  auto layout = form.make();
  const auto& controls = layout->controls();
  for (size_t i = 0; i < controls.size(); ++i)
    if (controls[i].name() == control) return static_cast<int>(i);
  throw Failure("the layout has no control " + control);
}

}  // namespace

// A dialog that is created but hidden is not "there".
HWND findTopLevel(const std::wstring& what) {
  const wchar_t* cls = what.c_str();
  if (auto f = formByName(what)) cls = f->className;
  HWND h = FindWindowW(cls, nullptr);
  if (h != nullptr && IsWindowVisible(h)) return h;
  FindByTitle f{what};
  EnumWindows(findVisibleByTitle, reinterpret_cast<LPARAM>(&f));
  if (f.found != nullptr) return f.found;
  return h;
}

HWND needTopLevel(const std::wstring& what) {
  HWND h = findTopLevel(what);
  if (h == nullptr) throw Failure("no window " + narrow(what));
  return h;
}

HWND findControl(const std::wstring& formName, const std::wstring& control) {
  auto form = formByName(formName);
  if (!form) throw Failure("unknown form " + narrow(formName) + " (main, settings, fkeys)");
  HWND top = needTopLevel(formName);
  int id = kFirstControlId + controlIndex(*form, narrow(control));
  if (HWND h = GetDlgItem(top, id)) return h;
  FindById f{id};
  EnumChildWindows(top, findChildById, reinterpret_cast<LPARAM>(&f));
  if (f.found == nullptr) throw Failure("no child window for " + narrow(control));
  return f.found;
}

std::optional<std::wstring> readText(HWND h, UINT answerMs) {
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, answerMs, &n)) return std::nullopt;
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXT, static_cast<WPARAM>(w.size()), reinterpret_cast<LPARAM>(w.data()),
                           SMTO_ABORTIFHUNG, answerMs, &got))
    return std::nullopt;
  w.resize(std::min<size_t>(static_cast<size_t>(got), w.size() - 1));
  return w;
}

// Bounded, so that a busy or hung window cannot stall the tool.
std::wstring windowText(HWND h) {
  auto text = readText(h, 2000);
  if (!text) throw Failure("window " + hwndText(h) + " does not answer");
  return *text;
}

DWORD_PTR ask(HWND h, const wchar_t* message, UINT answerMs) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(h, RegisterWindowMessageW(message), 0, 0, SMTO_ABORTIFHUNG, answerMs, &answer))
    throw Failure("window " + hwndText(h) + " does not answer " + narrow(message));
  return answer;
}

RECT screenRect(HWND h) {
  RECT r{};
  if (!GetWindowRect(h, &r)) throw Failure("no rectangle");
  return r;
}

POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void bringToFront(HWND h, DWORD timeoutMs) {
  // No AttachThreadInput here: under Wine it resets the lock toggles of the
  // thread attached to, which would change what a test observes.
  if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
  SetForegroundWindow(h);
  // Activation is asynchronous under Wine: wait until it has happened.
  auto inFront = [h] { return GetForegroundWindow() == h; };
  if (!waitUntil(timeoutMs, inFront, 5)) throw Failure("could not activate \"" + narrow(titleOf(h)) + "\"");
}

// ---- input -----------------------------------------------------------------

namespace {

void sendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = x;
  in.mi.dy = y;
  in.mi.dwFlags = flags;
  if (SendInput(1, &in, sizeof in) != 1) throw Failure("SendInput refused the mouse event");
}

}  // namespace

POINT uncovered(POINT p, HWND expected) {
  // A window that has just been shown may still be below the others for a
  // moment (the window manager restacks it asynchronously): wait a little,
  // as a person would, before calling the spot covered.
  HWND hit = nullptr;
  auto reached = [&] {
    hit = WindowFromPoint(p);
    return hit == expected || IsChild(expected, hit) != FALSE;
  };
  if (waitUntil(2000, reached)) return p;
  HWND top = hit != nullptr ? GetAncestor(hit, GA_ROOT) : nullptr;
  throw Failure("the point " + std::to_string(p.x) + "," + std::to_string(p.y) + " is covered by \"" +
                (top != nullptr ? narrow(titleOf(top)) : "") + "\"");
}

void moveCursor(POINT p) {
  if (!SetCursorPos(p.x, p.y)) throw Failure("SetCursorPos failed");
  int w = GetSystemMetrics(SM_CXSCREEN);
  int h = GetSystemMetrics(SM_CYSCREEN);
  sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, MulDiv(p.x, 65535, std::max(w - 1, 1)),
            MulDiv(p.y, 65535, std::max(h - 1, 1)));
}

void clickHere(int clicks) {
  for (int i = 0; i < clicks; ++i) {
    leftButton(true);
    leftButton(false);
  }
}

void leftButton(bool down) { sendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }

INPUT keyInput(WORD vk, bool up) {
  INPUT i{};
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = vk;
  i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  const bool extended = vk == VK_HOME || vk == VK_END || vk == VK_DELETE || vk == VK_LEFT || vk == VK_RIGHT ||
                        vk == VK_UP || vk == VK_DOWN;
  i.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return i;
}

std::vector<INPUT> unicodeInputs(const std::wstring& text) {
  std::vector<INPUT> in;
  for (wchar_t ch : text) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wScan = ch;
    i.ki.dwFlags = KEYEVENTF_UNICODE;
    in.push_back(i);
    i.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  return in;
}

void sendInputs(std::vector<INPUT> in) {
  if (in.empty()) return;
  if (SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)) != in.size())
    throw Failure("SendInput refused the keys");
}

void tapKey(WORD vk) { sendInputs({keyInput(vk, false), keyInput(vk, true)}); }

// ---- settings store --------------------------------------------------------

std::wstring storePath(const std::wstring& app) { return kStoreRoot + app + L"\\Settings"; }

void storeText(const std::wstring& app, const std::wstring& key, const std::wstring& value) {
  HKEY k = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, storePath(app).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    throw Failure("cannot create the settings key");
  const std::size_t bytes = (value.size() + 1) * sizeof(wchar_t);
  LONG rc = RegSetValueExW(k, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(bytes));
  RegCloseKey(k);
  if (rc != ERROR_SUCCESS) throw Failure("cannot write the value");
}

// ---- commands --------------------------------------------------------------

namespace {

std::string usageLine(const char* tool, const Command& c) {
  std::string line = std::string(tool) + " " + narrow(c.name);
  if (*c.usage != '\0') line.append(" ").append(c.usage);
  return line;
}

std::string usage(const char* tool, std::span<const Command> commands) {
  std::string text = std::string("usage: ") + tool + " <command> [argument...]; " + tool + " help lists:";
  for (const Command& c : commands) text += "\n  " + usageLine(tool, c);
  return text;
}

}  // namespace

int runCommands(const char* tool, std::span<const Command> commands, int argc, wchar_t** argv) {
  // Pixel coordinates must mean the same to this tool as to the keyboard.
  using SetAware = BOOL(WINAPI*)();
  if (auto f = reinterpret_cast<SetAware>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware"))))
    f();
  const Args a(argv + 1, argv + argc);
  if (a.size() == 1 && a[0] == L"help") {
    out(usage(tool, commands));
    return 0;
  }
  const auto c = std::find_if(commands.begin(), commands.end(),
                              [&](const Command& k) { return !a.empty() && a[0] == k.name; });
  try {
    if (c == commands.end()) {
      if (!a.empty()) std::fprintf(stderr, "%s: unknown command %s\n", tool, narrow(a[0]).c_str());
      std::fprintf(stderr, "%s\n", usage(tool, commands).c_str());
      return 1;
    }
    const size_t n = a.size() - 1;
    if (n < c->minArgs || n > c->maxArgs) throw Failure("usage: " + usageLine(tool, *c));
    c->run(a);
    return 0;
  } catch (const Failure& e) {
    std::fprintf(stderr, "%s: %s\n", tool, e.what());
    return e.exitCode;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", tool, e.what());
    return 1;
  }
}

}  // namespace drive
