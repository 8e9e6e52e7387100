// The keyboard's face: lock lights, key captions and resting colours, each
// repainted from the latches and the system lock state on a timer tick.
#pragma once

#include "base/context.h"
#include "base/router.h"

namespace osk {

void NCS_TIMER_Timer(Context& ctx);
void NUM_LIGHT_LABEL_DblClick(Context& ctx);
void CAPS_LIGHT_LABEL_DblClick(Context& ctx);
void SCROLL_LIGHT_LABEL_DblClick(Context& ctx);

void registerFace(KeyboardRoutes& router, Context& ctx);

void BACKCOLOR_TIMER_Timer(Context& ctx);

}  // namespace osk
