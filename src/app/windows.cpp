// The keyboard's windows. A new window is a layout with its names, a
// function that routes its events, and a row here.
#include <array>

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

namespace osk {
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
