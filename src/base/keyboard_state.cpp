#include "base/keyboard_state.h"

#include <tuple>
#include <utility>
#include <vector>

#include "layout/main_window.h"

namespace osk {
namespace {

// How each latch shows: the buttons that wear it, left one first, and the
// colour they wear while it is on. Off is white on all of them.
struct LatchFace {
  std::vector<KeyboardControl> buttons;
  Color on;
};

const LatchFace& faceOf(Latch latch) {
  using namespace ui;
  static const std::array kFaces{
      LatchFace{{kButtonShiftLeft, kButtonShiftRight}, colors::kGreen},
      LatchFace{{kButtonCtrlLeft, kButtonCtrlRight}, colors::kGreen},
      LatchFace{{kButtonAltLeft}, colors::kGreen},
      LatchFace{{kButtonWinKeyLeft, kButtonWinKeyRight}, colors::kGreen},
      LatchFace{{kShiftLockButton}, colors::kGreen},
      LatchFace{{kLockTopNumberKeysButton}, colors::kGreen},
      LatchFace{{kShiftArrowHighlightButton, kButtonKeyUp, kButtonKeyDown, kButtonKeyLeft, kButtonKeyRight},
                colors::kPink},
      LatchFace{{kButtonMyFkeys}, colors::kGreen},
      LatchFace{{kButtonRightClick}, colors::kGreen},
  };
  static_assert(std::tuple_size_v<decltype(kFaces)> == kLatchCount, "a latch without a face");
  return kFaces.at(static_cast<std::size_t>(latch));
}

// The buttons whose click toggles a latch. Both buttons of a pair toggle it.
struct Toggle {
  KeyboardControl clicked;
  Latch latch{};
};

constexpr std::array<Toggle, 10> kToggles{{
    {ui::kButtonShiftLeft, Latch::Shift},
    {ui::kButtonCtrlLeft, Latch::Ctrl},
    {ui::kButtonAltLeft, Latch::Alt},
    {ui::kShiftLockButton, Latch::ShiftLock},
    {ui::kLockTopNumberKeysButton, Latch::NumberRowLock},
    {ui::kShiftArrowHighlightButton, Latch::Highlight},
    {ui::kButtonShiftRight, Latch::Shift},
    {ui::kButtonCtrlRight, Latch::Ctrl},
    {ui::kButtonWinKeyLeft, Latch::Windows},
    {ui::kButtonWinKeyRight, Latch::Windows},
}};

constexpr std::array<KeyboardControl, 2> kBurstButtons{ui::kButtonAutoBackspace, ui::kButtonAutoDelete};

Color fkeyColour(FkeyFace face) {
  switch (face) {
    case FkeyFace::Armed:
      return colors::kWhite;
    case FkeyFace::Pressed:
      return colors::kGreen;
    case FkeyFace::Commands:
      return colors::kBlueTint;
    case FkeyFace::Settling:
      return colors::kSysWindow;
  }
  return colors::kWhite;
}

}  // namespace

KeyboardState::KeyboardState(KeyboardForm& keyboard) : form_(keyboard) {
  // As the layout draws them.
  for (int n = 1; n <= ui::kFkeyCount; ++n)
    fkeys_.at(fkeyPlace(n)).caption = std::string("F").append(std::to_string(n));
}

void KeyboardState::set(Latch latch, bool on) {
  latches_.at(static_cast<std::size_t>(latch)) = on;
  const LatchFace& face = faceOf(latch);
  for (KeyboardControl name : face.buttons) form_.control(name).setBack(on ? face.on : colors::kWhite);
}

std::span<const KeyboardControl> KeyboardState::toggleButtons() {
  static const std::vector<KeyboardControl> kClicked = [] {
    std::vector<KeyboardControl> names;
    names.reserve(kToggles.size());
    for (const Toggle& t : kToggles) names.push_back(t.clicked);
    return names;
  }();
  return kClicked;
}

bool KeyboardState::toggleFrom(KeyboardControl clicked) {
  for (const Toggle& t : kToggles) {
    if (t.clicked != clicked) continue;
    const bool latching = !latched(t.latch);
    set(t.latch, latching);
    return latching;
  }
  return false;
}

void KeyboardState::setTarget(RecordedTarget target) {
  target_ = std::move(target);
  std::string words;
  switch (target_.kind) {
    case TargetClass::None:
      words = kNoTarget;
      break;
    case TargetClass::CommandLine:
      words = kCommandLineTarget;
      break;
    case TargetClass::Real:
      words = target_.title;
      break;
  }
  form_.control(ui::kActiveWindowLabel).setCaption(std::move(words));
}

void KeyboardState::setBursting(Burst burst, bool on) {
  const auto place = static_cast<std::size_t>(burst);
  bursts_.at(place) = on;
  // A burst that ended leaves the window colour, not the white it started
  // from.
  form_.control(kBurstButtons.at(place)).setBack(on ? colors::kGreen : colors::kSysWindow);
}

void KeyboardState::setFkey(int n, FkeyFace face) {
  fkeys_.at(fkeyPlace(n)).face = face;
  form_.control(ui::kFunctionKeys.at(fkeyPlace(n))).setBack(fkeyColour(face));
}

void KeyboardState::setFkeyCaption(int n, std::string caption) {
  form_.control(ui::kFunctionKeys.at(fkeyPlace(n))).setCaption(caption);
  fkeys_.at(fkeyPlace(n)).caption = std::move(caption);
}

void KeyboardState::appendToCommandLine(std::string_view text) {
  Control& box = form_.control(ui::kCommandLineTextbox);
  box.setText(box.text() + std::string(text));
}

}  // namespace osk
