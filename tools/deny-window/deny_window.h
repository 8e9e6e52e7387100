// What qmosk-deny-window and its hook share.
#pragma once

// A named mapping holding the class name to refuse, NUL-terminated.
inline constexpr wchar_t kDenyMappingName[] = L"QmOskDenyWindowClass";
inline constexpr unsigned kDenyClassChars = 256;
