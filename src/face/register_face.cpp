#include <chrono>

#include "face/face.h"
#include "layout/main_window.h"

namespace osk {

using std::chrono::milliseconds;

void registerFace(KeyboardRoutes& router, Context& ctx) {
  // Ten refreshes a second where the system does not report key events:
  // a latch or lock shows within a tenth of a second.
  router.every(ui::kNcsTimer, milliseconds(100), [&ctx] { NCS_TIMER_Timer(ctx); });
  // A press flash lasts up to half a second.
  router.every(ui::kBackcolorTimer, milliseconds(500), [&ctx] { BACKCOLOR_TIMER_Timer(ctx); });
  router.on(ui::kNumLightLabel, Event::DblClick, [&ctx] { NUM_LIGHT_LABEL_DblClick(ctx); });
  router.on(ui::kCapsLightLabel, Event::DblClick, [&ctx] { CAPS_LIGHT_LABEL_DblClick(ctx); });
  router.on(ui::kScrollLightLabel, Event::DblClick, [&ctx] { SCROLL_LIGHT_LABEL_DblClick(ctx); });
}

}  // namespace osk
