#include "delivery/keyboard_state.h"

#include <array>
#include <vector>

#include "layout/main_window.h"

namespace osk {
namespace {

struct LatchButtons {
  ControlName tested;                // the button whose colour says whether it is on
  std::vector<ControlName> buttons;  // written together, left one first
  Color latched;
};

const LatchButtons& buttonsOf(Latch latch) {
  using namespace ui;
  static const std::array<LatchButtons, 7> kLatches{{
      {kButtonShiftLeft, {kButtonShiftLeft, kButtonShiftRight}, colors::kGreen},
      {kButtonCtrlLeft, {kButtonCtrlLeft, kButtonCtrlRight}, colors::kGreen},
      {kButtonAltLeft, {kButtonAltLeft}, colors::kGreen},
      {kShiftLockButton, {kShiftLockButton}, colors::kGreen},
      {kLockTopNumberKeysButton, {kLockTopNumberKeysButton}, colors::kGreen},
      // The highlight only tints the arrow keys; what they send is unchanged.
      {kShiftArrowHighlightButton,
       {kShiftArrowHighlightButton, kButtonKeyUp, kButtonKeyDown, kButtonKeyLeft, kButtonKeyRight},
       colors::kPink},
      {kButtonMyFkeys, {kButtonMyFkeys}, colors::kGreen},
  }};
  return kLatches.at(static_cast<std::size_t>(latch));
}

// What a click on each toggling button tests and writes. Shift tests the
// left button from both sides, so a pair never disagrees; each Ctrl button
// tests itself.
struct Toggle {
  ControlName clicked;
  ControlName tested;
  std::vector<ControlName> buttons;
  Color latched;
};

const std::vector<Toggle>& toggles() {
  using namespace ui;
  static const std::vector<Toggle> kToggles = [] {
    std::vector<Toggle> t;
    for (Latch l :
         {Latch::Shift, Latch::Ctrl, Latch::Alt, Latch::ShiftLock, Latch::NumberRowLock, Latch::Highlight}) {
      const LatchButtons& b = buttonsOf(l);
      t.push_back({b.tested, b.tested, b.buttons, b.latched});
    }
    t.push_back({kButtonShiftRight, kButtonShiftLeft, buttonsOf(Latch::Shift).buttons, colors::kGreen});
    t.push_back({kButtonCtrlRight, kButtonCtrlRight, buttonsOf(Latch::Ctrl).buttons, colors::kGreen});
    for (ControlName win : {kButtonWinKeyLeft, kButtonWinKeyRight})
      t.push_back({win, win, {kButtonWinKeyLeft, kButtonWinKeyRight}, colors::kGreen});
    return t;
  }();
  return kToggles;
}

std::optional<bool> readingOf(const Form& f, ControlName button, Color latched) {
  const Color back = f.control(button).back();
  if (back == latched) return true;
  if (back == colors::kWhite) return false;
  return std::nullopt;
}

}  // namespace

bool KeyboardState::latched(Latch latch) const {
  const LatchButtons& b = buttonsOf(latch);
  return form_.control(b.tested).back() == b.latched;
}

std::optional<bool> KeyboardState::reading(Latch latch) const {
  const LatchButtons& b = buttonsOf(latch);
  return readingOf(form_, b.tested, b.latched);
}

std::optional<bool> KeyboardState::shiftPair() const {
  const std::optional<bool> left = readingOf(form_, ui::kButtonShiftLeft, colors::kGreen);
  const std::optional<bool> right = readingOf(form_, ui::kButtonShiftRight, colors::kGreen);
  if (!left || !right || *left != *right) return std::nullopt;
  return left;
}

void KeyboardState::release(Latch latch) {
  for (ControlName name : buttonsOf(latch).buttons) form_.control(name).setBack(colors::kWhite);
}

std::span<const ControlName> KeyboardState::toggleButtons() {
  static const std::vector<ControlName> kClicked = [] {
    std::vector<ControlName> names;
    for (const Toggle& t : toggles()) names.push_back(t.clicked);
    return names;
  }();
  return kClicked;
}

bool KeyboardState::toggleFrom(ControlName clicked) {
  for (const Toggle& t : toggles()) {
    if (t.clicked != clicked) continue;
    const bool latching = form_.control(t.tested).back() == colors::kWhite;
    for (ControlName name : t.buttons) form_.control(name).setBack(latching ? t.latched : colors::kWhite);
    return latching;
  }
  return false;
}

void KeyboardState::appendToCommandLine(std::string_view text) {
  Control& box = form_.control(ui::kCommandLineTextbox);
  box.setText(box.text() + std::string(text));
}

}  // namespace osk
