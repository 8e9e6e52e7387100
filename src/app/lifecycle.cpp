#include "app/lifecycle.h"

#include <chrono>

#include "aids/hands_free.h"
#include "app/keep_focus.h"
#include "dialogs/dialogs.h"
#include "keys/character_keys.h"
#include "keys/numpad_keys.h"
#include "layout/main_window.h"
#include "screen/docking.h"
#include "screen/window_fit.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

// A crash or a power cut forgets at most the last second of moving: the
// place is stored once the window has rested that long, not at every step of
// a drag (each step would be a write to the store).
constexpr std::chrono::milliseconds kPlaceSaveDelay(1000);

void savePlace(Context& ctx) {
  settings::Saver saver(ctx.platform.store);
  // Docked, the keyboard keeps the place it will go back to. The pad's
  // band comes off first: the strip's reckons with the keys alone.
  const Geometry shown = storedWithoutNumPad(ctx.main, ctx.docking->placeToStore());
  settings::saveGeometry(saver, settings::kMainGeometry,
                         ctx.prediction ? ctx.prediction->stored(shown) : shown);
}

}  // namespace

void Form_Load(Context& ctx) {
  // The keyboard opens wholly on its monitor, however large a screen its
  // stored size was chosen on, and whatever the scale of this one.
  setKeyboardDesignSize(ctx.main);
  const std::vector<Geometry> areas = ctx.platform.host.monitorWorkAreas();
  Geometry stored = settings::readGeometry(ctx.platform.store, settings::kMainGeometry, areas);
  // With word prediction on, the window opens with room for its strip (and
  // the design size counts it), before it is fitted to the screen.
  if (ctx.prediction) stored = ctx.prediction->open(stored);
  // So with the number pad, at the right.
  stored = openNumPad(ctx, stored);
  ctx.main.setGeometry(fitToWorkArea(stored, areas).geometry);

  Form& f = ctx.main;
  // The intervals came with the timers' handlers.
  f.enableTimer(ui::kNcsTimer, true);
  f.enableTimer(ui::kActiveWindowTimer, true);
  f.enableTimer(ui::kBackcolorTimer, true);
  // The burst timers run only while a burst is under way.
  f.enableTimer(ui::kAutoDeleteStopTimer, false);
  f.enableTimer(ui::kAutoDeleteTimer, false);
  // Runs only between a move and the save that follows it.
  f.enableTimer(ui::kPlaceSaveTimer, false);

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
  applyFollowInputLanguage(ctx);
  ctx.clickSound = settings::tickChosen(
      ctx.platform.store.read(kSettingsSection, settings::kClickSound, settings::kClickSoundDefault));
  ctx.handsFree->load();
  ctx.docking->load();
}

void Form_Unload(Context& ctx) {
  // A value the store refused is reported by the store on the debug channel
  // only: no window of the keyboard is left to show a note. The close goes
  // on, since it is never refused.
  savePlace(ctx);
  ctx.docking->close();
  if (ctx.prediction) ctx.prediction->close();
  ctx.main.enableTimer(ui::kPlaceSaveTimer, false);
  ctx.main.enableTimer(ui::kAlwaysOnTopTimer, false);
  ctx.main.enableTimer(ui::kNcsTimer, false);
  ctx.facesFollowEvents = false;
  ctx.handsFree->stop();
}

// Every step of a drag or a resize counts the second afresh.
void Form_Move(Context& ctx) { ctx.main.restartTimer(ui::kPlaceSaveTimer); }

// A value the store refuses is reported by the store on the debug channel;
// a note at every move would bury the keyboard, and the close saves again.
void PLACE_SAVE_TIMER_Timer(Context& ctx) {
  ctx.main.enableTimer(ui::kPlaceSaveTimer, false);
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

void registerLifecycle(KeyboardRoutes& router, Context& ctx) {
  Context* c = &ctx;
  router.onForm(Event::Load, [c] { Form_Load(*c); });
  router.onForm(Event::Unload, [c] { Form_Unload(*c); });
  router.onForm(Event::DblClick, [c] { Form_DblClick(*c); });
  router.onForm(Event::Move, [c] { Form_Move(*c); });
  // One-shot: a second after the last move.
  router.every(ui::kPlaceSaveTimer, kPlaceSaveDelay, [c] { PLACE_SAVE_TIMER_Timer(*c); });
  // Once a second is soon enough to win the top place back from a window
  // that took it.
  router.every(ui::kAlwaysOnTopTimer, std::chrono::milliseconds(1000), [c] { AlwaysOnTopTimer_Timer(*c); });
  router.on(ui::kSettingsButton, Event::Click, [c] { SETTINGS_BUTTON_Click(*c); });
}

}  // namespace osk
