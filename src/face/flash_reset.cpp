// Returns flashed keys to their resting colour, tinted by the latched modes.
// Only keys whose colour is not state are on these lists: the latch buttons,
// BUTTON_CAPS and the self-managed buttons must never be overwritten here.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "commands/commands.h"
#include "delivery/latches.h"
#include "face/face.h"
#include "keys/character_keys.h"

namespace osk {

namespace {

// The plain keys other than the 48 character keys, which come from their table.
constexpr auto kOtherPlainKeys = std::to_array<std::string_view>({
    "BUTTON_SPACEBAR",
    "BUTTON_RETURN_KEY",
    "BUTTON_ESC",
    "BUTTON_TAB",
    "BUTTON_DELETE",
    "BUTTON_INS",
    "BUTTON_HOME",
    "BUTTON_END",
    "BUTTON_PG_UP",
    "BUTTON_PG_DN",
    "PRINT_SCREEN_APP_WINDOW",
    "PRINT_SCREEN_COMPLETE_SCREEN",
    "BUTTON_RUN_INTERNAL",
    "BUTTON_WINDOWS_RUN_EXTERNAL",
    "BUTTON_KEY_UP",
    "BUTTON_KEY_DOWN",
    "BUTTON_KEY_LEFT",
    "BUTTON_KEY_RIGHT",
});

constexpr auto kToolButtons = std::to_array<std::string_view>({
    "COPY_BUTTON",
    "CUT_BUTTON",
    "PASTE_BUTTON",
    "BUTTON_CALC",
    "AT_SIGN_BUTTON",
    "BTC_BUTTON",
});

constexpr auto kArrowKeys = std::to_array<std::string_view>({
    "BUTTON_KEY_UP",
    "BUTTON_KEY_DOWN",
    "BUTTON_KEY_LEFT",
    "BUTTON_KEY_RIGHT",
});

// The latched modes, read once per tick from their buttons.
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

bool isArrowKey(std::string_view button) {
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
  const Modes modes{shiftLockLatched(form), numberRowLockLatched(form), isLatched(form, "BUTTON_MY_FKEYS"),
                    isLatched(form, "SHIFT_ARROW_HIGHLIGHT_BUTTON", colors::kPink)};

  for (const CharacterKey& key : characterKeys()) form.control(key.button).setBack(restingColor(key, modes));
  for (std::string_view button : kOtherPlainKeys) {
    const bool tinted = modes.highlight && isArrowKey(button);
    form.control(button).setBack(tinted ? colors::kPink : colors::kSysWindow);
  }
  for (std::string_view button : kToolButtons) form.control(button).setBack(colors::kSysButtonFace);

  // The F keys' colour is their mode: white re-arms a standard F key after
  // its flash, blue keeps the user commands in charge.
  const Color fkeys = modes.userFkeys ? colors::kBlueTint : colors::kWhite;
  for (int n = 1; n <= kFunctionKeyCount; ++n) form.control(functionKeyButton(n)).setBack(fkeys);
}

}  // namespace osk
