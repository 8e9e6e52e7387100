// Keys that send one fixed named key: Tab, Esc, Enter, space, the editing
// keys and the arrows. None of them consumes a latch.
#include <array>
#include <chrono>
#include <string_view>

#include "base/keyboard_state.h"
#include "delivery/handlers.h"
#include "delivery/send.h"
#include "layout/main_window.h"

namespace osk {
namespace {

enum class Afterwards : unsigned char {
  Flash,  // green until the next flash reset
  Keep,   // Esc keeps its colour
  White,  // Backspace is on no reset list, so it rests white itself
};

struct NavigationKey {
  KeyboardControl button;
  std::string_view keys;
  Afterwards afterwards;
  std::string_view shifted;  // sent as well while Shift is latched
};

constexpr std::array<NavigationKey, 15> kNavigationKeys{{
    {ui::kButtonDelete, "{DEL}", Afterwards::Flash, ""},
    {ui::kButtonIns, "{INSERT}", Afterwards::Flash, ""},
    {ui::kButtonHome, "{HOME}", Afterwards::Flash, ""},
    {ui::kButtonEnd, "{END}", Afterwards::Flash, ""},
    {ui::kButtonPgUp, "{PGUP}", Afterwards::Flash, ""},
    {ui::kButtonPgDn, "{PGDN}", Afterwards::Flash, ""},
    {ui::kButtonTab, "{TAB}", Afterwards::Flash, ""},
    {ui::kButtonReturnKey, "{ENTER}", Afterwards::Flash, ""},
    {ui::kButtonEsc, "{ESC}", Afterwards::Keep, ""},
    {ui::kButtonBackspace, "{BACKSPACE}", Afterwards::White, ""},
    {ui::kButtonSpacebar, " ", Afterwards::Flash, ""},
    {ui::kButtonKeyUp, "{UP}", Afterwards::Flash, ""},
    {ui::kButtonKeyDown, "{DOWN}", Afterwards::Flash, "+{DOWN}"},
    {ui::kButtonKeyLeft, "{LEFT}", Afterwards::Flash, "+{LEFT}"},
    {ui::kButtonKeyRight, "{RIGHT}", Afterwards::Flash, "+{RIGHT}"},
}};

void navigationKeyClick(Context& ctx, const NavigationKey& key) {
  Control& button = ctx.main.control(key.button);
  switch (target(ctx)) {
    case TargetClass::None:
      return;
    case TargetClass::CommandLine:
      // The command line is an edit box of our own: space types into it,
      // Backspace only settles its colour, the rest have nothing to do there.
      if (key.button == ui::kButtonSpacebar) {
        ctx.state.appendToCommandLine(" ");
        flashKey(ctx, button);
      } else if (key.afterwards == Afterwards::White) {
        button.setBack(colors::kWhite);
      }
      return;
    case TargetClass::Real:
      break;
  }
  if (!deliver(ctx, key.keys)) return;
  switch (key.afterwards) {
    case Afterwards::Flash:
      flashKey(ctx, button);
      break;
    case Afterwards::White:
      button.setBack(colors::kWhite);
      break;
    case Afterwards::Keep:
      break;
  }
  // The key itself went in and shows so; a refused follow-up has nothing
  // further to undo.
  if (!key.shifted.empty() && ctx.state.latched(Latch::Shift)) static_cast<void>(deliver(ctx, key.shifted));
}

}  // namespace

void registerDelivery(KeyboardRoutes& router, Context& ctx) {
  for (const NavigationKey& key : kNavigationKeys)
    router.on(key.button, Event::Click, [&ctx, &key] { navigationKeyClick(ctx, key); });
  registerModifierKeys(router, ctx);
  // The target is noted once a second: a window in front for less than that
  // is not taken as the target.
  router.every(ui::kActiveWindowTimer, std::chrono::milliseconds(1000),
               [&ctx] { ACTIVE_WINDOW_TIMER_Timer(ctx); });
  router.on(ui::kCommandLineTextbox, Event::GotFocus, [&ctx] { COMMAND_LINE_TEXTBOX_GotFocus(ctx); });
  router.on(ui::kCommandLineTextbox, Event::LostFocus, [&ctx] { COMMAND_LINE_TEXTBOX_LostFocus(ctx); });
  router.on(ui::kCommandLineTextbox, Event::Click, [&ctx] { COMMAND_LINE_TEXTBOX_Click(ctx); });
}

}  // namespace osk
