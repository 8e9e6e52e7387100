// Returns flashed keys to their resting colour and repaints the mode tints.
// Only keys whose colour is not state are on these lists: the latch buttons,
// BUTTON_CAPS and the self-managed buttons must never be overwritten here.
#include <array>
#include <string>
#include <string_view>

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

constexpr int kFKeyCount = 16;

void paint(Form& form, std::string_view button, Color color) { form.control(button).setBack(color); }

}  // namespace

void BACKCOLOR_TIMER_Timer(Context& ctx) {
  Form& form = ctx.main;

  // All 48 character keys rest at the window colour, together with the
  // other plain keys.
  for (const CharacterKey& key : characterKeys()) paint(form, key.button, colors::kSysWindow);
  for (std::string_view button : kOtherPlainKeys) paint(form, button, colors::kSysWindow);
  for (std::string_view button : kToolButtons) paint(form, button, colors::kSysButtonFace);

  if (shiftLockLatched(form)) {
    for (const CharacterKey& key : characterKeys()) {
      if (key.group != FaceGroup::Letter) paint(form, key.button, colors::kYellowTint);
    }
  }
  // After the Shift-lock tint, so that with both locks the top row ends pink.
  if (numberRowLockLatched(form)) {
    for (const CharacterKey& key : characterKeys()) {
      if (key.group == FaceGroup::TopRow) paint(form, key.button, colors::kPink);
    }
  }
  // The F keys' colour is their mode: white re-arms a standard F key after
  // its flash, blue keeps the user commands in charge.
  const Color fkeys = isLatched(form, "BUTTON_MY_FKEYS") ? colors::kBlueTint : colors::kWhite;
  for (int n = 1; n <= kFKeyCount; ++n) paint(form, std::string("BUTTON_F_NUM_").append(std::to_string(n)), fkeys);

  if (isLatched(form, "SHIFT_ARROW_HIGHLIGHT_BUTTON", colors::kPink)) {
    for (std::string_view button : kArrowKeys) paint(form, button, colors::kPink);
  }
}

}  // namespace osk
