// Built only by the tests in tests/compile/CMakeLists.txt, never linked:
// once as it stands, which must build, and once with each of the misuses
// below switched on, which must not.
#include "base/context.h"
#include "layout/settings_window.h"

namespace osk {

Control& pick(KeyboardForm& keyboard) {
#ifdef ANOTHER_WINDOWS_CONTROL
  return keyboard.control(ui::settings::kOkButton);
#else
  return keyboard.control(ui::kButtonShiftLeft);
#endif
}

void route(KeyboardRoutes& routes) {
#ifdef ANOTHER_WINDOWS_ROUTE
  routes.on(ui::settings::kOkButton, Event::Click, [] {});
#else
  routes.on(ui::kButtonShiftLeft, Event::Click, [] {});
#endif
}

}  // namespace osk
