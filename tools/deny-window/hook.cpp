// qmosk-deny-hook.dll: the hook procedure of qmosk-deny-window. The system
// loads it into every program that makes a window while the hook is set;
// it refuses the window when its class is the one the tool has named.
#include <windows.h>

#include <cwchar>

#include "deny_window.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK denyWindowHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    bool deny = false;
    if (HANDLE map = OpenFileMappingW(FILE_MAP_READ, FALSE, kDenyMappingName)) {
      if (const auto* named = static_cast<const wchar_t*>(MapViewOfFile(map, FILE_MAP_READ, 0, 0, 0))) {
        wchar_t cls[kDenyClassChars] = {};
        if (GetClassNameW(reinterpret_cast<HWND>(wp), cls, kDenyClassChars) > 0)
          deny = std::wcsncmp(cls, named, kDenyClassChars) == 0;
        UnmapViewOfFile(named);
      }
      CloseHandle(map);
    }
    // Non-zero: CreateWindowEx fails, as it does when the system is out of
    // window resources.
    if (deny) return 1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
