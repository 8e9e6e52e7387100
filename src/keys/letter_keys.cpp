// A letter key chooses its case from its own caption, never from Caps Lock
// or the Shift latch: the caption refresh has already folded both into it.
#include "delivery/keyboard_state.h"
#include "delivery/send.h"
#include "keys/character_keys.h"

namespace osk {

void clickLetterKey(Context& ctx, const CharacterKey& key) {
  Form& form = ctx.main;
  Control& button = form.control(key.button);
  const std::string face = button.caption();
  const bool capital = face == key.shifted;
  const bool lower = face == key.plain;
  if (!capital && !lower) return;

  const bool shift = KeyboardState(form).latched(Latch::Shift);
  const bool ctrl = KeyboardState(form).latched(Latch::Ctrl);
  const bool alt = KeyboardState(form).latched(Latch::Alt);

  switch (target(ctx)) {
    case TargetClass::None:
      return;
    case TargetClass::CommandLine:
      // The command line has no use for chords.
      if (ctrl || alt) return;
      KeyboardState(form).appendToCommandLine(face);
      button.setBack(colors::kGreen);
      // A lower-case face under Shift means Caps Lock undid it; that Shift
      // has not been spent on this letter.
      if (capital) KeyboardState(form).release(Latch::Shift);
      return;
    case TargetClass::Real:
      break;
  }

  if (!ctrl && !alt) {
    if (sendStep(ctx, face, &button)) KeyboardState(form).release(Latch::Shift);
    return;
  }
  // Chords only from the lower-case face: a capital under Ctrl or Alt means
  // Caps Lock is on, and Shift alone never joins a chord.
  if (!lower) return;
  if (shift && !(ctrl && alt)) return;

  std::string prefixes;
  if (ctrl) prefixes += '^';
  if (alt) prefixes += '%';
  if (shift) prefixes += '+';
  // Chords leave the key unflashed; only a chord that reached the target
  // spends its latches.
  if (!sendStep(ctx, chordKeys(prefixes, key.plain), nullptr)) return;
  if (ctrl) KeyboardState(form).release(Latch::Ctrl);
  if (alt) KeyboardState(form).release(Latch::Alt);
  if (shift) KeyboardState(form).release(Latch::Shift);
}

}  // namespace osk
