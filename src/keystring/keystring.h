// Key strings in the SendKeys notation, parsed into a plan of key events.
// A string is accepted whole or rejected whole: a plan is never partial.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace osk {

// Windows virtual-key codes, copied here so the core stays portable.
namespace vk {
inline constexpr std::uint8_t kCancel = 0x03;  // Break
inline constexpr std::uint8_t kBack = 0x08;
inline constexpr std::uint8_t kTab = 0x09;
inline constexpr std::uint8_t kReturn = 0x0D;
inline constexpr std::uint8_t kShift = 0x10;
inline constexpr std::uint8_t kControl = 0x11;
inline constexpr std::uint8_t kMenu = 0x12;  // Alt
inline constexpr std::uint8_t kCapital = 0x14;
inline constexpr std::uint8_t kEscape = 0x1B;
inline constexpr std::uint8_t kPrior = 0x21;
inline constexpr std::uint8_t kNext = 0x22;
inline constexpr std::uint8_t kEnd = 0x23;
inline constexpr std::uint8_t kHome = 0x24;
inline constexpr std::uint8_t kLeft = 0x25;
inline constexpr std::uint8_t kUp = 0x26;
inline constexpr std::uint8_t kRight = 0x27;
inline constexpr std::uint8_t kDown = 0x28;
inline constexpr std::uint8_t kSnapshot = 0x2C;
inline constexpr std::uint8_t kInsert = 0x2D;
inline constexpr std::uint8_t kDelete = 0x2E;
inline constexpr std::uint8_t kHelp = 0x2F;
inline constexpr std::uint8_t kClear = 0x0C;    // keypad 5 with Num Lock off
inline constexpr std::uint8_t kNumpad0 = 0x60;  // keypad 0..9 are kNumpad0 + n
inline constexpr std::uint8_t kMultiply = 0x6A;
inline constexpr std::uint8_t kAdd = 0x6B;
inline constexpr std::uint8_t kSubtract = 0x6D;
inline constexpr std::uint8_t kDecimal = 0x6E;
inline constexpr std::uint8_t kDivide = 0x6F;
inline constexpr std::uint8_t kF1 = 0x70;  // F1..F16 are kF1 + n - 1
inline constexpr std::uint8_t kNumLock = 0x90;
inline constexpr std::uint8_t kScroll = 0x91;
}  // namespace vk

struct KeyEvent {
  enum class Kind : std::uint8_t {
    KeyDown,  // press the named key `vk`
    KeyUp,    // release the named key `vk`
    Char,     // type the character `ch` (press and release)
  };
  Kind kind = Kind::Char;
  std::uint8_t vk = 0;
  char32_t ch = 0;
  // A named key's hardware scan code when the sender knows the physical key
  // it means; 0 lets the layout say where `vk` sits. Never set by parsing.
  std::uint16_t scan = 0;
  // The numeric keypad's key of that code: it carries the extended flag as
  // the keypad's does (Enter and Divide only), not as the key of the same
  // code elsewhere on the keyboard. Never set by parsing.
  bool keypad = false;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

struct KeyPlan {
  std::string source;  // the key string as given, UTF-8
  std::vector<KeyEvent> events;
};

struct ParseResult {
  std::optional<KeyPlan> plan;  // set exactly when the string is well formed
  std::string error;            // why it was rejected, otherwise empty
  explicit operator bool() const { return plan.has_value(); }
};

// A repeat count ("{LEFT 3}") runs from 1 to this. Anything larger is far
// beyond what a key on the keyboard or a stored snippet needs and would only
// flood the target's input queue.
inline constexpr unsigned kMaxRepeat = 1000;

// Upper bound on the events of one plan, so a string of many large repeats
// cannot make the plan grow without limit.
inline constexpr std::size_t kMaxPlanEvents = 100000;

// Accepts the Windows Script Host SendKeys notation: characters (UTF-8),
// "+" "^" "%" prefixes over the next key or parenthesised group, "~" for
// Enter, key names and literal characters in braces with optional repeat
// counts. Key names are case-insensitive.
ParseResult parseKeyString(std::string_view utf8);

}  // namespace osk
