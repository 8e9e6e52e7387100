// Timed bursts of Backspace and Delete. One pair of timers serves both, so
// a mode joined late ends with the first.
#include <array>
#include <chrono>
#include <string_view>

#include "commands/commands.h"
#include "delivery/send.h"
#include "layout/main_window.h"

namespace osk {
namespace {

struct EraseMode {
  Burst burst;
  std::string_view keys;
};

// Backspace before Delete within a tick, whatever order they were started in.
constexpr std::array<EraseMode, 2> kModes{{
    {Burst::Backspace, "{BACKSPACE}"},
    {Burst::Delete, "{DEL}"},
}};

constexpr KeyboardTimer kRepeatTimer = ui::kAutoDeleteTimer;
constexpr KeyboardTimer kStopTimer = ui::kAutoDeleteStopTimer;

// Ten keystrokes a second for five seconds. A tick may wait up to its
// patience for the target to come forward; under half the period, that
// leaves the window most of each period for clicks and paints.
constexpr std::chrono::milliseconds kRepeatPeriod{100};
constexpr std::chrono::milliseconds kBurstLength{5000};
static_assert(2 * kTickPatience < kRepeatPeriod);

void startOrJoin(Context& ctx, const EraseMode& mode) {
  ctx.state.setBursting(mode.burst, true);
  // Enabling a running timer leaves its period where it was, so a click
  // during a burst adds its mode without stretching the burst: one burst
  // erases at most about fifty characters per side, however often a
  // button is clicked.
  ctx.main.enableTimer(kRepeatTimer, true);
  ctx.main.enableTimer(kStopTimer, true);
}

}  // namespace

void BUTTON_AUTO_BACKSPACE_Click(Context& ctx) { startOrJoin(ctx, kModes[0]); }

void BUTTON_AUTO_DELETE_Click(Context& ctx) { startOrJoin(ctx, kModes[1]); }

void AUTO_DELETE_TIMER_Timer(Context& ctx) {
  const Delivery delivery(ctx);
  for (const EraseMode& mode : kModes) {
    if (!ctx.state.bursting(mode.burst)) continue;
    // A reserved caption or a target that does not come forward in time
    // costs this tick's keystrokes only; the burst goes on and picks up
    // again as soon as the target is back. A target that did not come
    // forward is not waited for a second time in the same tick, so a tick
    // never spends more than one tick's patience.
    const SendResult result = delivery.send(mode.keys, Aim::RecordedTarget, Patience::Tick);
    if (result == SendResult::NotInFront) return;
    // No later tick would get through either: the burst ends with the one
    // note that says why, not with fifty.
    if (result == SendResult::AboveKeyboard) {
      AUTO_DELETE_STOP_TIMER_Timer(ctx);
      return;
    }
  }
}

void AUTO_DELETE_STOP_TIMER_Timer(Context& ctx) {
  ctx.main.enableTimer(kRepeatTimer, false);
  for (const EraseMode& mode : kModes) ctx.state.setBursting(mode.burst, false);
  ctx.main.enableTimer(kStopTimer, false);
}

void registerBursts(KeyboardRoutes& router, Context& ctx) {
  router.on(ui::kButtonAutoBackspace, Event::Click, [&ctx] { BUTTON_AUTO_BACKSPACE_Click(ctx); });
  router.on(ui::kButtonAutoDelete, Event::Click, [&ctx] { BUTTON_AUTO_DELETE_Click(ctx); });
  router.every(kRepeatTimer, kRepeatPeriod, [&ctx] { AUTO_DELETE_TIMER_Timer(ctx); });
  router.every(kStopTimer, kBurstLength, [&ctx] { AUTO_DELETE_STOP_TIMER_Timer(ctx); });
}

}  // namespace osk
