#include "app/keep_focus.h"

#include "settings/settings_keys.h"

namespace osk {

void setKeepTargetFocus(Context& ctx, bool on) {
  // A refused write is reported by the store; the mode still switches.
  static_cast<void>(ctx.platform.store.write(kSettingsSection, settings::kKeepTargetFocus, on ? "1" : "0"));
  ctx.platform.host.setNonActivating(ctx.main, on);
}

namespace {

bool keepTargetFocusStored(const Context& ctx) {
  return settings::keepTargetFocusChosen(ctx.platform.store.read(kSettingsSection, settings::kKeepTargetFocus,
                                                                 settings::kKeepTargetFocusDefault));
}

}  // namespace

void applyKeepTargetFocus(Context& ctx) {
  ctx.platform.host.setNonActivating(ctx.main, keepTargetFocusStored(ctx));
}

void secondStart(Context& ctx, std::optional<bool> keepFocus) {
  if (keepFocus) setKeepTargetFocus(ctx, *keepFocus);
  // A store that refused the switch's value still has the mode switched;
  // what the window does now is what counts.
  const bool keep = keepFocus ? *keepFocus : keepTargetFocusStored(ctx);
  ctx.platform.host.bringForward(ctx.main, !keep);
}

}  // namespace osk
