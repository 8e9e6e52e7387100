// Returns flashed keys to their resting colour, tinted by the latched modes.
// Only keys whose colour is not state are on these lists: the latch buttons,
// BUTTON_CAPS and the self-managed buttons must never be overwritten here.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "base/keyboard_state.h"
#include "commands/commands.h"
#include "face/face.h"
#include "keys/character_keys.h"
#include "keys/numpad_keys.h"
#include "layout/main_window.h"

namespace osk {

namespace {

// The plain keys other than the 48 character keys, which come from their table.
constexpr auto kOtherPlainKeys = std::to_array<KeyboardControl>({
    ui::kButtonSpacebar,
    ui::kButtonReturnKey,
    ui::kButtonEsc,
    ui::kButtonTab,
    ui::kButtonDelete,
    ui::kButtonIns,
    ui::kButtonHome,
    ui::kButtonEnd,
    ui::kButtonPgUp,
    ui::kButtonPgDn,
    ui::kPrintScreenAppWindow,
    ui::kPrintScreenCompleteScreen,
    ui::kButtonRunInternal,
    ui::kButtonWindowsRunExternal,
    ui::kButtonKeyUp,
    ui::kButtonKeyDown,
    ui::kButtonKeyLeft,
    ui::kButtonKeyRight,
});

constexpr auto kToolButtons = std::to_array<KeyboardControl>({
    ui::kCopyButton,
    ui::kCutButton,
    ui::kPasteButton,
    ui::kButtonCalc,
    ui::kAtSignButton,
    ui::kBtcButton,
});

constexpr auto kArrowKeys = std::to_array<KeyboardControl>({
    ui::kButtonKeyUp,
    ui::kButtonKeyDown,
    ui::kButtonKeyLeft,
    ui::kButtonKeyRight,
});

// The latched modes, read once per tick.
struct Modes {
  bool shiftLock;
  bool numberRowLock;
  bool userFkeys;
  bool highlight;
};

Color restingColor(const CharacterKey& key, const Modes& m) {
  // With both locks the top row is pink: the number-row lock wins.
  if (key.group == FaceGroup::TopRow && m.numberRowLock) return colors::kPink;
  if (key.group != FaceGroup::Letter && m.shiftLock) return colors::kYellowTint;
  return colors::kSysWindow;
}

bool isArrowKey(KeyboardControl button) {
  return std::find(kArrowKeys.begin(), kArrowKeys.end(), button) != kArrowKeys.end();
}

}  // namespace

// Each key gets its final resting colour in one write. Painting every key
// the window colour first and tinting it afterwards changed 22 keys twice a
// tick under the Shift lock (13 under the number-row lock, 4 under the
// highlight): two repaints a key, twice a second, with nothing to see.
// The model drops a write of the value already held, so a key at rest
// costs nothing at all.
void BACKCOLOR_TIMER_Timer(Context& ctx) {
  Form& form = ctx.main;
  KeyboardState& state = ctx.state;
  const Modes modes{state.latched(Latch::ShiftLock), state.latched(Latch::NumberRowLock),
                    state.latched(Latch::UserFkeys), state.latched(Latch::Highlight)};
  const Clock::Instant now = ctx.platform.clock.now();
  const auto rest = [&](KeyboardControl button, Color colour) {
    Control& key = form.control(button);
    if (!ctx.flashes.holds(key, now)) key.setBack(colour);
  };

  for (const CharacterKey& key : characterKeys()) rest(key.button, restingColor(key, modes));
  for (KeyboardControl button : kOtherPlainKeys) {
    const bool tinted = modes.highlight && isArrowKey(button);
    rest(button, tinted ? colors::kPink : colors::kSysWindow);
  }
  for (KeyboardControl button : kToolButtons) rest(button, colors::kSysButtonFace);
  // A suggestion flashes as a key does; green left on it would read as a latch.
  for (KeyboardControl button : ui::kSuggestionKeys) rest(button, colors::kWhite);
  for (const NumPadKey& key : numPadKeys()) rest(key.button, colors::kWhite);

  // An F key's face is its mode: the reset arms a standard F key after its
  // press, and keeps the user's commands in charge.
  const FkeyFace fkeys = modes.userFkeys ? FkeyFace::Commands : FkeyFace::Armed;
  for (int n = 1; n <= kFunctionKeyCount; ++n)
    if (!ctx.flashes.holds(form.control(functionKeyButton(n)), now)) state.setFkey(n, fkeys);
}

}  // namespace osk
