// The keyboard window's own handlers: opening, closing, staying on top and
// opening the settings dialog.
#pragma once

#include "base/context.h"
#include "base/router.h"

namespace osk {

void Form_Load(Context& ctx);
void Form_Unload(Context& ctx);
void Form_Move(Context& ctx);
void PLACE_SAVE_TIMER_Timer(Context& ctx);
void AlwaysOnTopTimer_Timer(Context& ctx);
void Form_DblClick(Context& ctx);
void SETTINGS_BUTTON_Click(Context& ctx);

void registerLifecycle(KeyboardRoutes& router, Context& ctx);

}  // namespace osk
