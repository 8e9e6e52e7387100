// Number-row and punctuation keys type what their caption shows. They read
// no Ctrl or Alt latch: Shift reaches them only through the caption, so a
// plain face under Shift (the Shift lock cancelled it) leaves Shift for the
// next key.
#include "delivery/keyboard_state.h"
#include "delivery/send.h"
#include "keys/character_keys.h"

namespace osk {

namespace {

// Types the key's face into the command line or the target. Returns true
// when a shifted face was typed, which spends the Shift latch.
bool typeFace(Context& ctx, const CharacterKey& key) {
  Form& form = ctx.main;
  Control& button = form.control(key.button);
  const std::string face = button.caption();
  const bool plain = face == key.plain;
  const bool shifted = face == key.shifted;
  if (!plain && !shifted) return false;

  switch (target(ctx)) {
    case TargetClass::None:
      return false;
    case TargetClass::CommandLine:
      KeyboardState(form).appendToCommandLine(plain ? key.plain : key.shiftedText);
      button.setBack(colors::kGreen);
      break;
    case TargetClass::Real:
      // A symbol that never reached the target keeps its Shift.
      if (!sendStep(ctx, plain ? key.plain : key.shiftedKeys, &button)) return false;
      break;
  }
  if (shifted) KeyboardState(form).release(Latch::Shift);
  return shifted;
}

void showNumberRow(Form& form, bool symbols) {
  for (const CharacterKey& key : characterKeys()) {
    if (key.family != KeyFamily::Number) continue;
    form.control(key.button).setCaption(symbols ? key.shifted : key.plain);
  }
}

}  // namespace

// The row shows the latches' face at once, ahead of the next refresh.
void clickNumberKey(Context& ctx, const CharacterKey& key) {
  if (typeFace(ctx, key)) showNumberRow(ctx.main, false);
  if (KeyboardState(ctx.main).latched(Latch::ShiftLock)) showNumberRow(ctx.main, true);
}

void clickPunctuationKey(Context& ctx, const CharacterKey& key) {
  typeFace(ctx, key);
  Control& button = ctx.main.control(key.button);
  if (key.shedsFlash && button.back() == colors::kGreen) button.setBack(colors::kWhite);
}

}  // namespace osk
