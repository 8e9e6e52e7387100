// Handlers of the function keys and the action buttons that tests and other
// code address by name.
#pragma once

#include <string>

#include "base/context.h"
#include "base/router.h"
#include "settings/settings_keys.h"

namespace osk {

inline constexpr int kFunctionKeyCount = ui::kFkeyCount;

// "BUTTON_F_NUM_<n>" and its standard caption "F<n>", n from 1 to kFunctionKeyCount.
KeyboardControl functionKeyButton(int n);
std::string functionKeyCaption(int n);

// The one routine behind every function key.
void clickFunctionKey(Context& ctx, int n);
void BUTTON_MY_FKEYS_Click(Context& ctx);

// The timed bursts of Backspace and Delete.
void BUTTON_AUTO_BACKSPACE_Click(Context& ctx);
void BUTTON_AUTO_DELETE_Click(Context& ctx);
void AUTO_DELETE_TIMER_Timer(Context& ctx);
void AUTO_DELETE_STOP_TIMER_Timer(Context& ctx);

void registerCommands(KeyboardRoutes& router, Context& ctx);
void registerBursts(KeyboardRoutes& router, Context& ctx);

}  // namespace osk
