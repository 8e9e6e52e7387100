// qmosk-deny-window: while it runs, no program on the desktop can make a
// window of the class it is given; tests use it to see how the keyboard
// copes when the system refuses it a window.
//
//   qmosk-deny-window.exe QM_OSK_SETTINGS
//
// Prints "ready" once the hook is in place, then runs until it is ended.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "deny_window.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 || std::wcslen(argv[1]) >= kDenyClassChars) {
    std::fputs("usage: qmosk-deny-window <window class>\n", stderr);
    return 2;
  }
  HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  kDenyClassChars * sizeof(wchar_t), kDenyMappingName);
  if (map == nullptr) {
    std::fprintf(stderr, "CreateFileMapping failed: %lu\n", GetLastError());
    return 1;
  }
  auto* named = static_cast<wchar_t*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0));
  if (named == nullptr) {
    std::fprintf(stderr, "MapViewOfFile failed: %lu\n", GetLastError());
    return 1;
  }
  wcsncpy_s(named, kDenyClassChars, argv[1], _TRUNCATE);

  std::wstring dll(MAX_PATH, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, dll.data(), static_cast<DWORD>(dll.size()));
  dll.resize(n);
  dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"qmosk-deny-hook.dll";
  HMODULE module = LoadLibraryW(dll.c_str());
  auto proc =
      module != nullptr
          ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "denyWindowHook")))
          : nullptr;
  if (proc == nullptr) {
    std::fprintf(stderr, "the hook library is missing: %lu\n", GetLastError());
    return 1;
  }
  HHOOK hook = SetWindowsHookExW(WH_CBT, proc, module, 0);
  if (hook == nullptr) {
    std::fprintf(stderr, "SetWindowsHookEx failed: %lu\n", GetLastError());
    return 1;
  }
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  UnhookWindowsHookEx(hook);
  return 0;
}
