#include "app/keyboard.h"
#include "face/face.h"

namespace osk {

void registerFace(Router& router, Context& ctx) {
  router.on("NCS_TIMER", Event::Timer, [&ctx] { NCS_TIMER_Timer(ctx); });
  router.on("BACKCOLOR_TIMER", Event::Timer, [&ctx] { BACKCOLOR_TIMER_Timer(ctx); });
  router.on("BUTTON_AUTO_BACKSPACE", Event::Click, [&ctx] { BUTTON_AUTO_BACKSPACE_Click(ctx); });
  router.on("BUTTON_AUTO_DELETE", Event::Click, [&ctx] { BUTTON_AUTO_DELETE_Click(ctx); });
  router.on("AUTO_DELETE_TIMER", Event::Timer, [&ctx] { AUTO_DELETE_TIMER_Timer(ctx); });
  router.on("AUTO_DELETE_STOP_TIMER", Event::Timer, [&ctx] { AUTO_DELETE_STOP_TIMER_Timer(ctx); });
  router.on("NUM_LIGHT_LABEL", Event::DblClick, [&ctx] { NUM_LIGHT_LABEL_DblClick(ctx); });
  router.on("CAPS_LIGHT_LABEL", Event::DblClick, [&ctx] { CAPS_LIGHT_LABEL_DblClick(ctx); });
  router.on("SCROLL_LIGHT_LABEL", Event::DblClick, [&ctx] { SCROLL_LIGHT_LABEL_DblClick(ctx); });
}

}  // namespace osk
