// qmosk-keylog: a target window that writes down every key message it gets.
//
//   qmosk-keylog.exe <log-file> [title [--retitle]]
//
// With --retitle the window renames itself after every character, as an
// editor marks its file changed or a browser names the page it went to:
// "<title> (<n>)" after the n-th.
//
// One line per message, flushed at once, so a test can read the log while
// the window is still open:
//
//   WM_KEYDOWN vk=0x41 scan=0x1e ext=0 up=0 mods=shift num=0 caps=0 scroll=0
//   WM_CHAR ch=0x0041 mods=shift num=0 caps=0 scroll=0
//
// `mods` is the keyboard state of this thread when the message is handled
// (shift, ctrl, alt, lwin, rwin, or "none"), which is what the receiving
// program sees as held down with that key.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;
std::wstring g_last = L"(no keys yet)";
unsigned long g_count = 0;
std::wstring g_title;
bool g_retitle = false;
unsigned long g_chars = 0;

void writeLine(const std::string& line) {
  std::string s = line + "\n";
  DWORD n = 0;
  // Unbuffered WriteFile: the line is in the file when the call returns.
  WriteFile(g_log, s.data(), static_cast<DWORD>(s.size()), &n, nullptr);
  ++g_count;
  g_last.assign(line.begin(), line.end());
}

bool down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

std::string modifiers() {
  std::string m;
  auto add = [&](const char* name) {
    if (!m.empty()) m += ",";
    m += name;
  };
  if (down(VK_SHIFT)) add("shift");
  if (down(VK_CONTROL)) add("ctrl");
  if (down(VK_MENU)) add("alt");
  if (down(VK_LWIN)) add("lwin");
  if (down(VK_RWIN)) add("rwin");
  return m.empty() ? "none" : m;
}

// Toggle states of Num, Caps and Scroll Lock, as "num=0 caps=1 scroll=0".
std::string locks() {
  auto bit = [](int vk) { return (GetKeyState(vk) & 1) != 0 ? "1" : "0"; };
  return std::string("num=") + bit(VK_NUMLOCK) + " caps=" + bit(VK_CAPITAL) + " scroll=" + bit(VK_SCROLL);
}

const char* messageName(UINT msg) {
  // One message per line, read as a table.
  // clang-format off
  switch (msg) {
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_SYSCHAR: return "WM_SYSCHAR";
    default: return nullptr;
  }
  // clang-format on
}

UINT g_locksMessage = 0;

LRESULT CALLBACK wndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == g_locksMessage && msg != 0) {
    writeLine("LOCKS " + locks());
    return (GetKeyState(VK_NUMLOCK) & 1) | ((GetKeyState(VK_CAPITAL) & 1) << 1) |
           ((GetKeyState(VK_SCROLL) & 1) << 2);
  }
  const char* name = messageName(msg);
  if (name != nullptr) {
    char buf[200];
    if (msg == WM_CHAR || msg == WM_SYSCHAR) {
      std::snprintf(buf, sizeof buf, "%s ch=0x%04x mods=%s %s", name, static_cast<unsigned>(wp),
                    modifiers().c_str(), locks().c_str());
    } else {
      const auto scan = static_cast<unsigned>((lp >> 16) & 0xff);
      const auto ext = static_cast<unsigned>((lp >> 24) & 1);
      const auto up = static_cast<unsigned>((lp >> 31) & 1);
      std::snprintf(buf, sizeof buf, "%s vk=0x%02x scan=0x%02x ext=%u up=%u mods=%s %s", name,
                    static_cast<unsigned>(wp), scan, ext, up, modifiers().c_str(), locks().c_str());
    }
    writeLine(buf);
    InvalidateRect(hwnd, nullptr, TRUE);
    if (g_retitle && msg == WM_CHAR)
      SetWindowTextW(hwnd, (g_title + L" (" + std::to_wstring(++g_chars) + L")").c_str());
    // System keys still go to DefWindowProc for Alt+F4 and the like, but the
    // menu loop that a lone Alt would start is kept out: it steals the focus
    // and the next keys would never reach the log.
    if ((msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP) && wp == VK_MENU) return 0;
    if (msg == WM_SYSCHAR) return 0;
  }
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      std::wstring text = std::to_wstring(g_count) + L" events; last: " + g_last;
      TextOutW(dc, 8, 8, text.c_str(), static_cast<int>(text.size()));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, PWSTR /*lpCmdLine*/, int nShowCmd) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) {
    MessageBoxW(nullptr, L"usage: qmosk-keylog <log-file> [title [--retitle]]", L"qmosk-keylog", MB_OK);
    return 2;
  }
  g_log = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (g_log == INVALID_HANDLE_VALUE) return 3;
  const wchar_t* title = argc > 2 ? argv[2] : L"QM-OSK Key Log";
  g_title = title;
  g_retitle = argc > 3 && std::wstring(argv[3]) == L"--retitle";

  g_locksMessage = RegisterWindowMessageW(L"QMOSK_KEYLOG_LOCKS");
  WNDCLASSW wc{};
  wc.lpfnWndProc = wndProc;
  wc.hInstance = hInstance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"QMOSK_KEYLOG";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 300, 450, 600, 200, nullptr,
                              nullptr, hInstance, nullptr);
  if (hwnd == nullptr) return 4;
  ShowWindow(hwnd, nShowCmd);
  UpdateWindow(hwnd);
  writeLine("READY");

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    // No TranslateAccelerator, no dialog handling: every key message the
    // queue holds reaches wndProc. TranslateMessage makes the WM_CHARs.
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  CloseHandle(g_log);
  LocalFree(argv);
  return 0;
}
