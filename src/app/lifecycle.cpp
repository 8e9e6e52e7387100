#include "app/lifecycle.h"

#include "app/keep_focus.h"
#include "app/keyboard.h"
#include "app/settings_keys.h"
#include "app/window_fit.h"
#include "dialogs/dialogs.h"

namespace osk {

namespace {

// A crash or a power cut forgets at most the last second of moving: the
// place is stored once the window has rested that long, not at every step of
// a drag (each step would be a write to the store).
constexpr int kPlaceSaveDelayMs = 1000;

void savePlace(Context& ctx) {
  settings::Saver saver(ctx.platform.store);
  settings::saveGeometry(saver, settings::kMainGeometry, ctx.main.geometry());
}

}  // namespace

void Form_Load(Context& ctx) {
  // The keyboard opens wholly on its monitor, however large a screen its
  // stored size was chosen on, and whatever the scale of this one.
  const std::vector<Geometry> areas = ctx.platform.host.monitorWorkAreas();
  ctx.main.setGeometry(
      fitToWorkArea(settings::readGeometry(ctx.platform.store, settings::kMainGeometry, areas), areas)
          .geometry);

  Form& f = ctx.main;
  f.setTimer("AlwaysOnTopTimer", f.timer("AlwaysOnTopTimer").enabled, 1000);
  f.setTimer("NCS_TIMER", true, 100);
  f.setTimer("ACTIVE_WINDOW_TIMER", true, 1000);
  f.setTimer("BACKCOLOR_TIMER", true, 500);
  // The burst timers run only while a burst is under way.
  f.setTimer("AUTO_DELETE_STOP_TIMER", false, 5000);
  f.setTimer("AUTO_DELETE_TIMER", false, 100);
  // Runs only between a move and the save that follows it.
  f.setTimer("PLACE_SAVE_TIMER", false, kPlaceSaveDelayMs);

  // The faces and lights show the latches, which only this window's own
  // handlers change, and the lock keys, which only key events change. Where
  // the system reports every key event, the refresh runs on those and after
  // each event of this window, at once rather than up to 100 ms later, and
  // the idle keyboard no longer wakes ten times a second to find nothing
  // changed (under Wine each tick is a round trip to the server: measured,
  // most of what the idle keyboard cost). Elsewhere the timer stays.
  // The first refresh follows this handler, as it follows every event.
  ctx.facesFollowEvents = ctx.platform.host.tickOnKeyEvents(f, "NCS_TIMER");
  if (ctx.facesFollowEvents) f.enableTimer("NCS_TIMER", false);

  std::string flag =
      ctx.platform.store.read(kSettingsSection, settings::kAlwaysOnTop, settings::kAlwaysOnTopDefault);
  f.enableTimer("AlwaysOnTopTimer", settings::alwaysOnTopChosen(flag));
  applyKeepTargetFocus(ctx);
}

void Form_Unload(Context& ctx) {
  // A value the store refused is reported by the store on the debug channel
  // only: no window of the keyboard is left to show a note. The close goes
  // on, since it is never refused.
  savePlace(ctx);
  ctx.main.enableTimer("PLACE_SAVE_TIMER", false);
  ctx.main.enableTimer("AlwaysOnTopTimer", false);
  ctx.main.enableTimer("NCS_TIMER", false);
  ctx.facesFollowEvents = false;
}

// Every step of a drag or a resize counts the second afresh.
void Form_Move(Context& ctx) { ctx.main.restartTimer("PLACE_SAVE_TIMER"); }

// A value the store refuses is reported by the store on the debug channel;
// a note at every move would bury the keyboard, and the close saves again.
void PLACE_SAVE_TIMER_Timer(Context& ctx) {
  ctx.main.enableTimer("PLACE_SAVE_TIMER", false);
  savePlace(ctx);
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

// Kept as routes so the host finds a handler for every timer of the window.
void KEYBOARD_KEYPRESS_TIMER_Timer(Context& /*ctx*/) {}
void ENABLE_KEYBOARD_KEYPRESS_TIMER_Timer(Context& /*ctx*/) {}

void registerLifecycle(Router& router, Context& ctx) {
  Context* c = &ctx;
  router.on(kFormControl, Event::Load, [c] { Form_Load(*c); });
  router.on(kFormControl, Event::Unload, [c] { Form_Unload(*c); });
  router.on(kFormControl, Event::DblClick, [c] { Form_DblClick(*c); });
  router.on(kFormControl, Event::Move, [c] { Form_Move(*c); });
  router.on("PLACE_SAVE_TIMER", Event::Timer, [c] { PLACE_SAVE_TIMER_Timer(*c); });
  router.on("AlwaysOnTopTimer", Event::Timer, [c] { AlwaysOnTopTimer_Timer(*c); });
  router.on("SETTINGS_BUTTON", Event::Click, [c] { SETTINGS_BUTTON_Click(*c); });
  router.on("KEYBOARD_KEYPRESS_TIMER", Event::Timer, [c] { KEYBOARD_KEYPRESS_TIMER_Timer(*c); });
  router.on("ENABLE_KEYBOARD_KEYPRESS_TIMER", Event::Timer,
            [c] { ENABLE_KEYBOARD_KEYPRESS_TIMER_Timer(*c); });
}

}  // namespace osk
