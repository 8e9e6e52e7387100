// Scan codes that a PC keyboard's own keys send, for keys the system's
// layout tables may not know.
#pragma once

#include <cstdint>

namespace osk {

// The set-1 scan code of function key `vk` (F1 to F24), 0 for other keys.
// Layouts built from an X keymap (Wine's) often have no entry for F13 and
// beyond, and a key that arrives with scan code 0 is one that programs
// reading scan codes cannot tell apart from nothing.
std::uint16_t functionKeyScanCode(std::uint8_t vk);

}  // namespace osk
