// A window of the keyboard as one unit: its layout and the function that
// routes its events to their handlers.
#pragma once

#include <memory>
#include <span>

#include "base/context.h"
#include "base/router.h"

namespace osk {

struct WindowUnit {
  std::unique_ptr<Form> (*layout)();
  // Routes every event of the window; throws std::logic_error for a route
  // the window cannot have (see Router).
  void (*routes)(Router& router, Context& ctx);
};

// The unit of `Window`: `Layout` makes its form, and `Routes` routes its
// events by the window's own names.
template <class Window, std::unique_ptr<FormOf<Window>> (*Layout)(),
          void (*Routes)(RoutesOf<Window>&, Context&)>
constexpr WindowUnit unitOf() {
  return {[]() -> std::unique_ptr<Form> { return Layout(); },
          [](Router& router, Context& ctx) {
            RoutesOf<Window> routes(router);
            Routes(routes, ctx);
          }};
}

// Every window, the keyboard window first.
std::span<const WindowUnit> windowUnits();

// Makes the keyboard window's parts that keep state (the faces as drawn,
// docking, word prediction, the typing aids) and hands them to `ctx`,
// before any window is routed. `keyboardRoutes` is the keyboard window's
// router, routed afterwards.
void setUpKeyboardWindow(Context& ctx, const Router& keyboardRoutes);

}  // namespace osk
