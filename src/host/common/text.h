// UTF-8 (the core's text) <-> UTF-16 (the Win32 W functions).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace osk::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The whole window text, however long, as UTF-8.
std::string windowText(HWND hwnd);
std::wstring windowTextW(HWND hwnd);

}  // namespace osk::win32
