// The modifier rows: latches that a later key consumes, and the buttons that
// act at once (Caps Lock, the Windows key).
#include <array>
#include <string_view>
#include <vector>

#include "app/keyboard.h"
#include "delivery/handlers.h"
#include "delivery/latches.h"
#include "delivery/send.h"

namespace osk {
namespace {

struct Latch {
  std::string_view clicked;               // the button whose click toggles the latch
  std::string_view tested;                // the button whose colour says whether it is on
  std::vector<std::string_view> buttons;  // written together, left one first
  Color latched;
  std::string_view onLatch;  // injected directly when it latches
};

// Shift tests the left button from both sides, so a pair never disagrees.
// One latch per row: formatting would spread most rows over five lines.
// clang-format off
const std::array<Latch, 8> kLatches{{
    {"BUTTON_SHIFT_LEFT", "BUTTON_SHIFT_LEFT", {"BUTTON_SHIFT_LEFT", "BUTTON_SHIFT_RIGHT"}, colors::kGreen, ""},
    {"BUTTON_SHIFT_RIGHT", "BUTTON_SHIFT_LEFT", {"BUTTON_SHIFT_LEFT", "BUTTON_SHIFT_RIGHT"}, colors::kGreen, ""},
    {"BUTTON_CTRL_LEFT", "BUTTON_CTRL_LEFT", {"BUTTON_CTRL_LEFT", "BUTTON_CTRL_RIGHT"}, colors::kGreen, ""},
    {"BUTTON_CTRL_RIGHT", "BUTTON_CTRL_RIGHT", {"BUTTON_CTRL_LEFT", "BUTTON_CTRL_RIGHT"}, colors::kGreen, "{^}"},
    {"BUTTON_ALT_LEFT", "BUTTON_ALT_LEFT", {"BUTTON_ALT_LEFT"}, colors::kGreen, ""},
    {"SHIFT_LOCK_BUTTON", "SHIFT_LOCK_BUTTON", {"SHIFT_LOCK_BUTTON"}, colors::kGreen, ""},
    {"LOCK_TOP_NUMBER_KEYS_BUTTON", "LOCK_TOP_NUMBER_KEYS_BUTTON", {"LOCK_TOP_NUMBER_KEYS_BUTTON"}, colors::kGreen, ""},
    // The highlight only tints the arrow keys; what they send is unchanged.
    {"SHIFT_ARROW_HIGHLIGHT_BUTTON",
     "SHIFT_ARROW_HIGHLIGHT_BUTTON",
     {"SHIFT_ARROW_HIGHLIGHT_BUTTON", "BUTTON_KEY_UP", "BUTTON_KEY_DOWN", "BUTTON_KEY_LEFT", "BUTTON_KEY_RIGHT"},
     colors::kPink,
     ""},
}};
// clang-format on

// Returns true when the click latched.
bool toggle(Form& f, const Latch& latch) {
  const bool latching = f.control(latch.tested).back() == colors::kWhite;
  for (auto name : latch.buttons) f.control(name).setBack(latching ? latch.latched : colors::kWhite);
  return latching;
}

void latchClick(Context& ctx, const Latch& latch) {
  // The latch is the button's colour and holds whatever the system did with
  // the key sent on latching.
  if (toggle(ctx.main, latch) && !latch.onLatch.empty()) static_cast<void>(injectDirect(ctx, latch.onLatch));
}

// The Windows key opens the Start menu when it latches and closes it again.
void windowsKeyClick(Context& ctx, std::string_view clicked) {
  const Latch win{clicked, clicked, {"BUTTON_WIN_KEY_LEFT", "BUTTON_WIN_KEY_RIGHT"}, colors::kGreen, ""};
  static_cast<void>(injectDirect(ctx, toggle(ctx.main, win) ? "^{ESC}" : "{ESC}"));
}

}  // namespace

void registerModifierKeys(Router& router, Context& ctx) {
  for (const Latch& latch : kLatches) {
    router.on(latch.clicked, Event::Click, [&ctx, &latch] { latchClick(ctx, latch); });
  }
  for (std::string_view win : {"BUTTON_WIN_KEY_LEFT", "BUTTON_WIN_KEY_RIGHT"})
    router.on(win, Event::Click, [&ctx, win] { windowsKeyClick(ctx, win); });
  // Caps Lock is the system's; the button only mirrors it (caption refresh).
  // A refused toggle shows itself: the caption refresh reads the lock back.
  router.on("BUTTON_CAPS", Event::Click, [&ctx] { static_cast<void>(injectDirect(ctx, "{CAPSLOCK}")); });
}

}  // namespace osk
