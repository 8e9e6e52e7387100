// Handlers of the function keys and the action buttons that tests and other
// code address by name.
#pragma once

#include <string>

#include "base/context.h"
#include "base/router.h"
#include "settings/settings_keys.h"

namespace osk {

// Each key has its stored caption and command, so the store's count is the keys'.
inline constexpr int kFunctionKeyCount = settings::kFkeyCount;

// "BUTTON_F_NUM_<n>" and its standard caption "F<n>", n from 1 to 16.
KeyboardControl functionKeyButton(int n);
std::string functionKeyCaption(int n);

// The one routine behind all sixteen function keys.
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
