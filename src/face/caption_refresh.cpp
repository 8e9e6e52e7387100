// The captions are the character keys' shift state: each key types what it
// shows, so this refresh is what turns latches and Caps Lock into characters.
#include <cstdint>
#include <optional>

#include "base/keyboard_state.h"
#include "delivery/send.h"
#include "face/face.h"
#include "keys/character_keys.h"
#include "keys/numpad_keys.h"
#include "layout/main_window.h"

namespace osk {

namespace {

// While the Caps Lock key is held down its state has the high bit set; the
// face waits for the release rather than guess.
std::optional<bool> capsState(std::int16_t state) {
  if (state == 1) return true;
  if (state == 0) return false;
  return std::nullopt;
}

// Num and Scroll only light up; a held key lights its lamp too.
Color light(std::int16_t state) { return state != 0 ? colors::kGreen : colors::kRed; }

void refreshFace(Context& ctx, std::int16_t caps) {
  const std::optional<bool> c = capsState(caps);
  if (!c) return;
  Form& form = ctx.main;
  form.control(ui::kCapsLightLabel).setBack(*c ? colors::kGreen : colors::kRed);
  form.control(ui::kButtonCaps).setBack(*c ? colors::kGreen : colors::kWhite);
  const KeyboardState& latches = ctx.state;
  const FaceState state{latches.latched(Latch::Shift),         *c,
                        latches.latched(Latch::NumberRowLock), latches.latched(Latch::ShiftLock),
                        latches.latched(Latch::Ctrl),          latches.latched(Latch::Alt)};
  if (drawLanguageFaces(ctx, state)) return;
  for (const CharacterKey& key : characterKeys())
    showFace(ctx, key, shiftedFace(key.group, state) ? CharacterFace::Shifted : CharacterFace::Plain);
}

}  // namespace

void NCS_TIMER_Timer(Context& ctx) {
  const LockStates locks = ctx.platform.locks.states();
  ctx.main.control(ui::kNumLightLabel).setBack(light(locks.num));
  refreshFace(ctx, locks.caps);
  ctx.main.control(ui::kScrollLightLabel).setBack(light(locks.scroll));
  // The pad's digits say what they do: navigation keys with Num Lock off.
  if (ctx.main.sideBand() > 0) showNumPadFaces(ctx, (locks.num & 1) != 0);
  // The suggestions' case follows the Shift latch and lock, as the letters do.
  if (ctx.prediction) ctx.prediction->refresh();
}

// The lock toggles are system-wide, so they go to whatever window is active;
// the lights follow at the next tick, which also shows a refused toggle.
void NUM_LIGHT_LABEL_DblClick(Context& ctx) { static_cast<void>(injectDirect(ctx, "{NUMLOCK}")); }
void CAPS_LIGHT_LABEL_DblClick(Context& ctx) { static_cast<void>(injectDirect(ctx, "{CAPSLOCK}")); }
void SCROLL_LIGHT_LABEL_DblClick(Context& ctx) { static_cast<void>(injectDirect(ctx, "{SCROLLLOCK}")); }

}  // namespace osk
