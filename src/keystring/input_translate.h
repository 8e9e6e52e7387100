// Turns a key plan into the raw keyboard records that SendInput takes, so
// that what reaches the target is what the key string says whatever the
// keyboard layout, Caps Lock and the modifiers the user happens to hold.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "keystring/keystring.h"

namespace osk {

namespace vk {
inline constexpr std::uint8_t kLWin = 0x5B;
inline constexpr std::uint8_t kRWin = 0x5C;
inline constexpr std::uint8_t kApps = 0x5D;
inline constexpr std::uint8_t kLShift = 0xA0;
inline constexpr std::uint8_t kRShift = 0xA1;
inline constexpr std::uint8_t kLControl = 0xA2;
inline constexpr std::uint8_t kRControl = 0xA3;
inline constexpr std::uint8_t kLMenu = 0xA4;
inline constexpr std::uint8_t kRMenu = 0xA5;
// Unassigned; tapped before a held Alt or Windows key is let go so the
// system does not take the release as a lone tap (menu bar, Start menu).
inline constexpr std::uint8_t kMask = 0xE8;
}  // namespace vk

// Same values as the KEYEVENTF_ flags, so the Windows side copies them.
namespace rawflag {
inline constexpr std::uint32_t kExtendedKey = 0x0001;
inline constexpr std::uint32_t kKeyUp = 0x0002;
inline constexpr std::uint32_t kUnicode = 0x0004;
}  // namespace rawflag

struct RawKey {
  std::uint16_t vk = 0;    // 0 for a Unicode record
  std::uint16_t scan = 0;  // the UTF-16 code unit for a Unicode record
  std::uint32_t flags = 0;
  friend bool operator==(const RawKey&, const RawKey&) = default;
};

// Where a character sits on the layout, as VkKeyScanW reports it.
struct LayoutKey {
  std::uint8_t vk = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool other = false;  // any further shift state (Hankaku and the like)
};

// The questions the translation asks of the live keyboard layout.
class KeyboardLayout {
 public:
  virtual ~KeyboardLayout() = default;
  // The key that types `ch` with Caps Lock off, or nothing when the layout
  // has no key for it (characters outside the BMP never have one).
  virtual std::optional<LayoutKey> keyFor(char32_t ch) const = 0;
  // The hardware scan code of `vk` (without any E0 prefix); 0 if unknown.
  virtual std::uint16_t scanCode(std::uint8_t vk) const = 0;
  virtual bool capsLockOn() const = 0;
  // The left/right-specific modifier keys that are down right now (from the
  // set kLShift..kRMenu, kLWin, kRWin), in the order to release them.
  virtual std::vector<std::uint8_t> heldModifiers() const = 0;
};

// True for keys whose scan code carries the E0 prefix; without the flag the
// system takes an arrow for its keypad twin, which Num Lock turns into a digit
// and which drops Shift.
bool isExtendedKey(std::uint8_t code);

// True for characters that Caps Lock turns into their other case on the key
// that types them: letters that have an upper and a lower form.
bool capsLockShifts(char32_t ch);

std::vector<RawKey> translatePlan(const KeyPlan& plan, const KeyboardLayout& layout);

}  // namespace osk
