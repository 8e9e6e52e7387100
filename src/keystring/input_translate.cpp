#include "keystring/input_translate.h"

#include <algorithm>

namespace osk {

bool isExtendedKey(std::uint8_t code) {
  switch (code) {
    case vk::kInsert:
    case vk::kDelete:
    case vk::kHome:
    case vk::kEnd:
    case vk::kPrior:
    case vk::kNext:
    case vk::kLeft:
    case vk::kUp:
    case vk::kRight:
    case vk::kDown:
    case vk::kDivide:
    case vk::kNumLock:
    case vk::kSnapshot:
    case vk::kCancel:
    case vk::kRControl:
    case vk::kRMenu:
    case vk::kLWin:
    case vk::kRWin:
    case vk::kApps:
      return true;
    default:
      // Right Shift is the one right-hand modifier that has a plain scan
      // code (0x36) of its own; flagging it would make it an unknown key.
      return false;
  }
}

bool capsLockShifts(char32_t ch) {
  if ((ch >= U'A' && ch <= U'Z') || (ch >= U'a' && ch <= U'z')) return true;
  // Latin-1 letters, less the signs in their midst and ß, which has no
  // single-character capital.
  if (ch >= 0xC0 && ch <= 0xFF) return ch != 0xD7 && ch != 0xF7 && ch != 0xDF;
  // Latin Extended-A is almost all case pairs.
  if (ch >= 0x100 && ch <= 0x17F) return ch != 0x138 && ch != 0x149 && ch != 0x17F;
  // Greek and Cyrillic base letters.
  if (ch >= 0x391 && ch <= 0x3A9) return ch != 0x3A2;
  if (ch >= 0x3AC && ch <= 0x3CE) return true;
  if (ch >= 0x400 && ch <= 0x45F) return true;
  return false;
}

namespace {

enum PlanModifier : unsigned { kPlanShift = 1, kPlanCtrl = 2, kPlanAlt = 4 };

unsigned planBit(std::uint8_t code) {
  switch (code) {
    case vk::kShift:
      return kPlanShift;
    case vk::kControl:
      return kPlanCtrl;
    case vk::kMenu:
      return kPlanAlt;
    default:
      return 0;
  }
}

class Translator {
 public:
  explicit Translator(const KeyboardLayout& layout)
      : layout_(layout), caps_(layout.capsLockOn()), userHeld_(layout.heldModifiers()) {}

  std::vector<RawKey> run(const KeyPlan& plan) {
    for (const KeyEvent& e : plan.events) {
      if (e.kind == KeyEvent::Kind::Char) {
        character(e.ch);
      } else {
        named(e.vk, e.kind == KeyEvent::Kind::KeyUp, e.scan, e.keypad);
      }
    }
    restoreUserModifiers();
    return std::move(out_);
  }

 private:
  void key(std::uint8_t code, bool up, std::uint16_t scan = 0, bool keypad = false) {
    std::uint32_t flags = up ? rawflag::kKeyUp : 0;
    // The keypad's Home is the plain-coded twin of the extended one; its
    // Enter is the extended twin of the main one.
    const bool extended = keypad ? (code == vk::kReturn || code == vk::kDivide) : isExtendedKey(code);
    if (extended) flags |= rawflag::kExtendedKey;
    out_.push_back({code, scan != 0 ? scan : layout_.scanCode(code), flags});
  }
  void tap(std::uint8_t code) {
    key(code, false);
    key(code, true);
  }

  // Named keys, plan modifiers included, go out with whatever the user
  // holds: a Shift held on the real keyboard still extends a selection.
  void named(std::uint8_t code, bool up, std::uint16_t scan, bool keypad) {
    restoreUserModifiers();
    key(code, up, scan, keypad);
    if (!up && code == vk::kCapital) caps_ = !caps_;
    const unsigned bit = planBit(code);
    if (up) {
      planHeld_ &= ~bit;
    } else {
      planHeld_ |= bit;
    }
  }

  void character(char32_t ch) {
    const std::optional<LayoutKey> where = layout_.keyFor(ch);
    if (planHeld_ != 0) {
      chord(ch, where);
      return;
    }
    releaseUserModifiers();
    if (!where || where->ctrl || where->alt || where->other) {
      // AltGr and Ctrl combinations would be read as shortcuts by some
      // targets, so characters that need them go in as text.
      unicode(ch);
      return;
    }
    // With Caps Lock on, the unshifted key of a letter gives its capital,
    // so the Shift it needs flips; the lock itself is left alone.
    const bool shift = where->shift != (caps_ && capsLockShifts(ch));
    if (shift) key(vk::kShift, false);
    tap(where->vk);
    if (shift) key(vk::kShift, true);
  }

  // Under a prefix the character names a key for a shortcut ("^{c}", "+2"):
  // its key is pressed so the chord reaches the target as a chord. Caps Lock
  // does not enter into it, or Ctrl+C would turn into Ctrl+Shift+C.
  void chord(char32_t ch, const std::optional<LayoutKey>& where) {
    if (!where) {
      unicode(ch);
      return;
    }
    std::vector<std::uint8_t> extra;
    if (where->ctrl && (planHeld_ & kPlanCtrl) == 0) extra.push_back(vk::kControl);
    if (where->alt && (planHeld_ & kPlanAlt) == 0) extra.push_back(vk::kMenu);
    if (where->shift && (planHeld_ & kPlanShift) == 0) extra.push_back(vk::kShift);
    for (std::uint8_t m : extra) key(m, false);
    tap(where->vk);
    for (std::size_t i = extra.size(); i-- > 0;) key(extra[i], true);
  }

  void unicode(char32_t ch) {
    const auto unit = [this](std::uint16_t u) {
      out_.push_back({0, u, rawflag::kUnicode});
      out_.push_back({0, u, rawflag::kUnicode | rawflag::kKeyUp});
    };
    if (ch < 0x10000) {
      unit(static_cast<std::uint16_t>(ch));
    } else {
      const char32_t v = ch - 0x10000;
      unit(static_cast<std::uint16_t>(0xD800 + (v >> 10)));
      unit(static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)));
    }
  }

  void releaseUserModifiers() {
    if (released_ || userHeld_.empty()) return;
    released_ = true;
    const bool needsMask = std::any_of(userHeld_.begin(), userHeld_.end(), [](std::uint8_t m) {
      return m == vk::kLMenu || m == vk::kRMenu || m == vk::kLWin || m == vk::kRWin;
    });
    if (needsMask) {
      out_.push_back({vk::kMask, 0, 0});
      out_.push_back({vk::kMask, 0, rawflag::kKeyUp});
    }
    for (std::uint8_t m : userHeld_) key(m, true);
  }

  void restoreUserModifiers() {
    if (!released_) return;
    released_ = false;
    for (std::size_t i = userHeld_.size(); i-- > 0;) key(userHeld_[i], false);
  }

  const KeyboardLayout& layout_;
  bool caps_;
  std::vector<std::uint8_t> userHeld_;
  bool released_ = false;
  unsigned planHeld_ = 0;
  std::vector<RawKey> out_;
};

}  // namespace

std::vector<RawKey> translatePlan(const KeyPlan& plan, const KeyboardLayout& layout) {
  return Translator(layout).run(plan);
}

}  // namespace osk
