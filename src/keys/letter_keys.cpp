// A letter key chooses its case from its face, never from Caps Lock or the
// Shift latch: the caption refresh has already folded both into it.
#include "base/keyboard_state.h"
#include "delivery/send.h"
#include "keys/character_keys.h"

namespace osk {

void clickLetterKey(Context& ctx, const CharacterKey& key) {
  Control& button = ctx.main.control(key.button);
  KeyboardState& state = ctx.state;
  const std::string_view face = shownFace(ctx, key);
  const bool capital = !face.empty() && face == key.shifted;
  const bool lower = !face.empty() && face == key.plain;
  if (!capital && !lower) return;

  const bool shift = state.latched(Latch::Shift);
  const bool ctrl = state.latched(Latch::Ctrl);
  const bool alt = state.latched(Latch::Alt);

  switch (target(ctx)) {
    case TargetClass::None:
      return;
    case TargetClass::CommandLine:
      // The command line has no use for chords.
      if (ctrl || alt) return;
      state.appendToCommandLine(face);
      flashKey(ctx, button);
      // A lower-case face under Shift means Caps Lock undid it; that Shift
      // has not been spent on this letter.
      if (capital) state.release(Latch::Shift);
      return;
    case TargetClass::Real:
      break;
  }

  if (!ctrl && !alt) {
    if (sendStep(ctx, face, &button)) state.release(Latch::Shift);
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
  if (ctrl) state.release(Latch::Ctrl);
  if (alt) state.release(Latch::Alt);
  if (shift) state.release(Latch::Shift);
}

}  // namespace osk
