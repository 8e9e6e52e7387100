#include "app/keep_focus.h"

#include "base/settings_keys.h"

namespace osk {

void setKeepTargetFocus(Context& ctx, bool on) {
  // A refused write is reported by the store; the mode still switches.
  static_cast<void>(ctx.platform.store.write(kSettingsSection, settings::kKeepTargetFocus, on ? "1" : "0"));
  ctx.platform.host.setNonActivating(ctx.main, on);
}

void applyKeepTargetFocus(Context& ctx) {
  const std::string stored = ctx.platform.store.read(kSettingsSection, settings::kKeepTargetFocus,
                                                     settings::kKeepTargetFocusDefault);
  ctx.platform.host.setNonActivating(ctx.main, settings::keepTargetFocusChosen(stored));
}

}  // namespace osk
