// Number-row and punctuation keys type what their face shows. They read
// no Ctrl or Alt latch: Shift reaches them only through the caption, so a
// plain face under Shift (the Shift lock cancelled it) leaves Shift for the
// next key.
#include "base/keyboard_state.h"
#include "delivery/send.h"
#include "keys/character_keys.h"

namespace osk {

namespace {

// Types the key's face into the command line or the target. Returns true
// when a shifted face was typed, which spends the Shift latch.
bool typeFace(Context& ctx, const CharacterKey& key) {
  Control& button = ctx.main.control(key.button);
  KeyboardState& state = ctx.state;
  const std::string_view face = shownFace(ctx, key);
  const bool plain = !face.empty() && face == key.plain;
  const bool shifted = !face.empty() && face == key.shifted;
  if (!plain && !shifted) return false;

  switch (target(ctx)) {
    case TargetClass::None:
      return false;
    case TargetClass::CommandLine:
      state.appendToCommandLine(plain ? key.plain : key.shiftedText);
      flashKey(ctx, button);
      break;
    case TargetClass::Real:
      // A symbol that never reached the target keeps its Shift.
      if (!sendStep(ctx, plain ? key.plain : key.shiftedKeys, &button)) return false;
      break;
  }
  if (shifted) state.release(Latch::Shift);
  return shifted;
}

void showNumberRow(Context& ctx, bool symbols) {
  for (const CharacterKey& key : characterKeys()) {
    if (key.family != KeyFamily::Number) continue;
    showFace(ctx, key, symbols ? CharacterFace::Shifted : CharacterFace::Plain);
  }
}

}  // namespace

// The row shows the latches' face at once, ahead of the next refresh.
void clickNumberKey(Context& ctx, const CharacterKey& key) {
  if (typeFace(ctx, key)) showNumberRow(ctx, false);
  if (ctx.state.latched(Latch::ShiftLock)) showNumberRow(ctx, true);
}

void clickPunctuationKey(Context& ctx, const CharacterKey& key) {
  typeFace(ctx, key);
  Control& button = ctx.main.control(key.button);
  if (key.shedsFlash && ctx.flashes.lit(button)) {
    ctx.flashes.forget(button);
    button.setBack(colors::kWhite);
  }
}

}  // namespace osk
