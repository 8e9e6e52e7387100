#include "app/lifecycle.h"

#include <chrono>

#include "aids/hands_free.h"
#include "app/keep_focus.h"
#include "base/settings_keys.h"
#include "dialogs/dialogs.h"
#include "layout/main_window.h"

namespace osk {

void Form_Load(Context& ctx) {
  ctx.main.setGeometry(settings::restoreGeometry(ctx.platform.store, settings::kMainGeometry,
                                                 ctx.platform.host.monitorWorkAreas()));

  Form& f = ctx.main;
  // The intervals came with the timers' handlers.
  f.enableTimer(ui::kNcsTimer, true);
  f.enableTimer(ui::kActiveWindowTimer, true);
  f.enableTimer(ui::kBackcolorTimer, true);
  // The burst timers run only while a burst is under way.
  f.enableTimer(ui::kAutoDeleteStopTimer, false);
  f.enableTimer(ui::kAutoDeleteTimer, false);

  // The faces and lights show the latches, which only this window's own
  // handlers change, and the lock keys, which only key events change. Where
  // the system reports every key event, the refresh runs on those and after
  // each event of this window, at once rather than up to 100 ms later, and
  // the idle keyboard no longer wakes ten times a second to find nothing
  // changed (under Wine each tick is a round trip to the server: measured,
  // most of what the idle keyboard cost). Elsewhere the timer stays.
  // The first refresh follows this handler, as it follows every event.
  ctx.facesFollowEvents = ctx.platform.host.tickOnKeyEvents(f, ui::kNcsTimer);
  if (ctx.facesFollowEvents) f.enableTimer(ui::kNcsTimer, false);

  std::string flag =
      ctx.platform.store.read(kSettingsSection, settings::kAlwaysOnTop, settings::kAlwaysOnTopDefault);
  f.enableTimer(ui::kAlwaysOnTopTimer, settings::alwaysOnTopChosen(flag));
  applyKeepTargetFocus(ctx);
  ctx.handsFree->load();
}

void Form_Unload(Context& ctx) {
  // A value the store refused is reported by the store on the debug channel
  // only: no window of the keyboard is left to show a note. The close goes
  // on, since it is never refused.
  settings::Saver saver(ctx.platform.store);
  settings::saveGeometry(saver, settings::kMainGeometry, ctx.main.geometry());
  ctx.main.enableTimer(ui::kAlwaysOnTopTimer, false);
  ctx.main.enableTimer(ui::kNcsTimer, false);
  ctx.facesFollowEvents = false;
  ctx.handsFree->stop();
}

void AlwaysOnTopTimer_Timer(Context& ctx) {
  WindowId own = ctx.platform.host.windowOf(ctx.main);
  WindowId front = ctx.platform.desktop.foregroundWindow();
  // Without a window of its own there is nothing to raise.
  if (own == 0 || own == front) return;
  // Whatever is in front loses its topmost place, even one it took itself,
  // so the keyboard is never hidden behind it.
  if (front != 0) ctx.platform.desktop.setTopmost(front, false);
  ctx.platform.desktop.setTopmost(own, true);
}

void Form_DblClick(Context& ctx) { openSettingsDialog(ctx); }

void SETTINGS_BUTTON_Click(Context& ctx) { openSettingsDialog(ctx); }

void registerLifecycle(Router& router, Context& ctx) {
  Context* c = &ctx;
  router.on(kFormControl, Event::Load, [c] { Form_Load(*c); });
  router.on(kFormControl, Event::Unload, [c] { Form_Unload(*c); });
  router.on(kFormControl, Event::DblClick, [c] { Form_DblClick(*c); });
  // Once a second is soon enough to win the top place back from a window
  // that took it.
  router.every(ui::kAlwaysOnTopTimer, std::chrono::milliseconds(1000), [c] { AlwaysOnTopTimer_Timer(*c); });
  router.on(ui::kSettingsButton, Event::Click, [c] { SETTINGS_BUTTON_Click(*c); });
}

}  // namespace osk
