// The modifier rows: latches that a later key consumes, and the buttons that
// act at once (Caps Lock, the Windows key).
#include "base/keyboard_state.h"
#include "delivery/handlers.h"
#include "delivery/send.h"
#include "layout/main_window.h"

namespace osk {
namespace {

void latchClick(Context& ctx, KeyboardControl clicked) {
  // The latch holds whatever the system did with the key sent on latching:
  // the right Ctrl presses Ctrl as it latches.
  const bool latching = ctx.state.toggleFrom(clicked);
  if (latching && clicked == ui::kButtonCtrlRight) static_cast<void>(injectDirect(ctx, "{^}"));
}

// The Windows key opens the Start menu when it latches and closes it again.
void windowsKeyClick(Context& ctx, KeyboardControl clicked) {
  static_cast<void>(injectDirect(ctx, ctx.state.toggleFrom(clicked) ? "^{ESC}" : "{ESC}"));
}

}  // namespace

void registerModifierKeys(KeyboardRoutes& router, Context& ctx) {
  for (KeyboardControl clicked : KeyboardState::toggleButtons()) {
    const bool windowsKey = clicked == ui::kButtonWinKeyLeft || clicked == ui::kButtonWinKeyRight;
    if (windowsKey)
      router.on(clicked, Event::Click, [&ctx, clicked] { windowsKeyClick(ctx, clicked); });
    else
      router.on(clicked, Event::Click, [&ctx, clicked] { latchClick(ctx, clicked); });
  }
  // Caps Lock is the system's; the button only mirrors it (caption refresh).
  // A refused toggle shows itself: the caption refresh reads the lock back.
  router.on(ui::kButtonCaps, Event::Click, [&ctx] { static_cast<void>(injectDirect(ctx, "{CAPSLOCK}")); });
}

}  // namespace osk
