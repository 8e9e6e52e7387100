// The keyboard's windows. A new window is a layout with its names, a
// function that routes its events, and a row here; a part with state of its
// own is made in the set-up below, not in a route.
#include <array>
#include <memory>

#include "aids/hands_free.h"
#include "app/lifecycle.h"
#include "app/window_unit.h"
#include "commands/commands.h"
#include "delivery/handlers.h"
#include "dialogs/dialogs.h"
#include "face/face.h"
#include "keys/character_keys.h"
#include "keys/numpad_keys.h"
#include "keys/suggestion_keys.h"
#include "layout/layouts.h"
#include "screen/docking.h"

namespace osk {

// The parts first, then the routes that bind handlers to them, so no route
// depends on another having run. The order is the order of need: the faces
// as the layout draws them before anything draws one, and the typing aids
// last, since they watch the keys the others may hide.
void setUpKeyboardWindow(Context& ctx, const Router& keyboardRoutes) {
  recordLayoutFaces(ctx.state);
  ctx.docking =
      std::make_shared<Docking>(ctx.main, ctx.platform.host, ctx.platform.appBar, ctx.platform.store);
  ctx.prediction = makeSuggestionStrip(ctx);
  ctx.handsFree = std::make_shared<aids::HandsFree>(ctx, keyboardRoutes);
}

namespace {

void routeKeyboardWindow(KeyboardRoutes& router, Context& ctx) {
  registerLifecycle(router, ctx);
  registerDelivery(router, ctx);
  registerCharacterKeys(router, ctx);
  registerSuggestionKeys(router, ctx);
  registerNumPadKeys(router, ctx);
  registerFace(router, ctx);
  registerCommands(router, ctx);
  registerBursts(router, ctx);
  aids::registerHandsFree(router, ctx);
}

constexpr std::array<WindowUnit, 4> kWindows{{
    unitOf<KeyboardWindow, makeMainForm, routeKeyboardWindow>(),
    unitOf<SettingsWindow, makeSettingsForm, registerSettingsDialog>(),
    unitOf<FkeysWindow, makeFkeysForm, registerFkeysDialog>(),
    unitOf<AidsWindow, makeAidsForm, registerAidsDialog>(),
}};

}  // namespace

std::span<const WindowUnit> windowUnits() { return kWindows; }

}  // namespace osk
