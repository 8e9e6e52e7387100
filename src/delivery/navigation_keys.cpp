// Keys that send one fixed named key: Tab, Esc, Enter, space, the editing
// keys and the arrows. None of them consumes a latch.
#include <array>
#include <string_view>

#include "app/keyboard.h"
#include "delivery/handlers.h"
#include "delivery/latches.h"
#include "delivery/send.h"

namespace osk {
namespace {

enum class Afterwards : unsigned char {
  Flash,  // green until the next flash reset
  Keep,   // Esc keeps its colour
  White,  // Backspace is on no reset list, so it rests white itself
};

struct NavigationKey {
  std::string_view button;
  std::string_view keys;
  Afterwards afterwards;
  std::string_view shifted;  // sent as well while Shift is latched
};

constexpr std::array<NavigationKey, 15> kNavigationKeys{{
    {"BUTTON_DELETE", "{DEL}", Afterwards::Flash, ""},
    {"BUTTON_INS", "{INSERT}", Afterwards::Flash, ""},
    {"BUTTON_HOME", "{HOME}", Afterwards::Flash, ""},
    {"BUTTON_END", "{END}", Afterwards::Flash, ""},
    {"BUTTON_PG_UP", "{PGUP}", Afterwards::Flash, ""},
    {"BUTTON_PG_DN", "{PGDN}", Afterwards::Flash, ""},
    {"BUTTON_TAB", "{TAB}", Afterwards::Flash, ""},
    {"BUTTON_RETURN_KEY", "{ENTER}", Afterwards::Flash, ""},
    {"BUTTON_ESC", "{ESC}", Afterwards::Keep, ""},
    {"BUTTON_BACKSPACE", "{BACKSPACE}", Afterwards::White, ""},
    {"BUTTON_SPACEBAR", " ", Afterwards::Flash, ""},
    {"BUTTON_KEY_UP", "{UP}", Afterwards::Flash, ""},
    {"BUTTON_KEY_DOWN", "{DOWN}", Afterwards::Flash, "+{DOWN}"},
    {"BUTTON_KEY_LEFT", "{LEFT}", Afterwards::Flash, "+{LEFT}"},
    {"BUTTON_KEY_RIGHT", "{RIGHT}", Afterwards::Flash, "+{RIGHT}"},
}};

void navigationKeyClick(Context& ctx, const NavigationKey& key) {
  Control& button = ctx.main.control(key.button);
  switch (target(ctx)) {
    case TargetClass::None:
      return;
    case TargetClass::CommandLine:
      // The command line is an edit box of our own: space types into it,
      // Backspace only settles its colour, the rest have nothing to do there.
      if (key.button == "BUTTON_SPACEBAR") {
        appendToCommandLine(ctx.main, " ");
        button.setBack(colors::kGreen);
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
      button.setBack(colors::kGreen);
      break;
    case Afterwards::White:
      button.setBack(colors::kWhite);
      break;
    case Afterwards::Keep:
      break;
  }
  // The key itself went in and shows so; a refused follow-up has nothing
  // further to undo.
  if (!key.shifted.empty() && shiftLatched(ctx.main)) static_cast<void>(deliver(ctx, key.shifted));
}

}  // namespace

void registerDelivery(Router& router, Context& ctx) {
  for (const NavigationKey& key : kNavigationKeys)
    router.on(key.button, Event::Click, [&ctx, &key] { navigationKeyClick(ctx, key); });
  registerModifierKeys(router, ctx);
  router.on("ACTIVE_WINDOW_TIMER", Event::Timer, [&ctx] { ACTIVE_WINDOW_TIMER_Timer(ctx); });
  router.on("COMMAND_LINE_TEXTBOX", Event::GotFocus, [&ctx] { COMMAND_LINE_TEXTBOX_GotFocus(ctx); });
  router.on("COMMAND_LINE_TEXTBOX", Event::LostFocus, [&ctx] { COMMAND_LINE_TEXTBOX_LostFocus(ctx); });
  router.on("COMMAND_LINE_TEXTBOX", Event::Click, [&ctx] { COMMAND_LINE_TEXTBOX_Click(ctx); });
}

}  // namespace osk
