// What the programs that drive the keyboard from outside (osk-drive and
// qmosk-bench) share: finding its windows and controls by the layout's
// names, real mouse and key input, reading window texts, waiting, the
// settings store, and a command table that dispatches and prints usage.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/window/outside_view.h"
#include "layout/layouts.h"

namespace drive {

using osk::win32::kAppBarStateMessage;
using osk::win32::kFirstControlId;
using osk::win32::kMessageCountMessage;
using osk::win32::kRepaintCountMessage;

// What stops a command: printed on stderr, the tool exits with `exitCode`.
struct Failure : std::runtime_error {
  explicit Failure(const std::string& what, int code = 1) : std::runtime_error(what), exitCode(code) {}
  int exitCode;
};

std::string narrow(const std::wstring& w);  // UTF-16 to UTF-8
std::wstring widen(const std::string& s);   // UTF-8 to UTF-16

// One line to stdout as raw UTF-8 bytes.
void out(const std::string& line);

int toInt(const std::wstring& s);
HWND toWindow(const std::wstring& s);  // a handle as printed by hwndText
std::string hwndText(HWND h);

// ---- clock and waiting -----------------------------------------------------

// QueryPerformanceCounter ticks: one clock for every process.
long long now();
double msBetween(long long from, long long to);

// Dispatches whatever messages this thread's windows have waiting.
void pumpMessages();

// Pumps messages and asks `done` about every `pollMs` until it is true
// (then true) or the timeout has passed (then false). The timeout only
// bounds a wait for something expected; it never decides an outcome.
bool waitUntil(DWORD timeoutMs, const std::function<bool()>& done, DWORD pollMs = 20);

// ---- windows and controls --------------------------------------------------

struct FormInfo {
  const wchar_t* className;
  std::unique_ptr<osk::Form> (*make)();
};

// "main", "settings", "fkeys" or the form's window class.
std::optional<FormInfo> formByName(const std::wstring& name);

// A top-level window named by form alias, class name or exact title;
// nullptr when there is none. Visible windows win.
HWND findTopLevel(const std::wstring& what);
HWND needTopLevel(const std::wstring& what);  // throws when there is none

// The child window of a form's control, named as in the layout.
HWND findControl(const std::wstring& form, const std::wstring& control);

// The title of a top-level window, read without sending it a message.
std::wstring titleOf(HWND h);

// A window's text through WM_GETTEXT (which reads other processes'
// controls too); nullopt when the window does not answer in time.
std::optional<std::wstring> readText(HWND h, UINT answerMs);
std::wstring windowText(HWND h);  // throws when there is no answer in 2 s

// Sends a registered message and returns the answer; throws on none.
DWORD_PTR ask(HWND h, const wchar_t* message, UINT answerMs);

RECT screenRect(HWND h);
POINT centre(const RECT& r);

// Puts `h` in front and waits until it is the foreground window; throws
// when it never becomes it.
void bringToFront(HWND h, DWORD timeoutMs);

// ---- input -----------------------------------------------------------------

// `p` (screen pixels) once `expected` or one of its children is the window
// there; throws when another window keeps covering it.
POINT uncovered(POINT p, HWND expected);

// The pointer to `p`, also as input so that the window there sees a
// WM_MOUSEMOVE before any button goes down, as from a real mouse.
void moveCursor(POINT p);
// Left-button presses where the pointer is.
void clickHere(int clicks);
// The left button alone going down or up where the pointer is.
void leftButton(bool down);

INPUT keyInput(WORD vk, bool up);
// Each UTF-16 unit as VK_PACKET, typed whatever the keyboard layout.
std::vector<INPUT> unicodeInputs(const std::wstring& text);
void sendInputs(std::vector<INPUT> in);
void tapKey(WORD vk);

// ---- settings store --------------------------------------------------------

// The registry key that holds a program's settings (programs are keyed by
// the executable's name).
std::wstring storePath(const std::wstring& app);
void storeText(const std::wstring& app, const std::wstring& key, const std::wstring& value);

// ---- commands --------------------------------------------------------------

using Args = std::vector<std::wstring>;

constexpr size_t kAnyCount = static_cast<size_t>(-1);

struct Command {
  const wchar_t* name;
  size_t minArgs;  // arguments after the name
  size_t maxArgs;  // kAnyCount: no limit
  const char* usage;
  void (*run)(const Args& a);  // a[0] is the command's name
};

// Runs the command argv names. The usage text is made from the table, so
// it cannot disagree with what is accepted: an unknown command or a wrong
// number of arguments prints it and exits 1, "help" prints it to stdout.
// Failures print "<tool>: <reason>" on stderr and exit 1.
int runCommands(const char* tool, std::span<const Command> commands, int argc, wchar_t** argv);

}  // namespace drive
