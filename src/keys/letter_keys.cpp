// A letter key chooses its case from its own caption, never from Caps Lock
// or the Shift latch: the caption refresh has already folded both into it.
#include "delivery/latches.h"
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

  const bool shift = shiftLatched(form);
  const bool ctrl = ctrlLatched(form);
  const bool alt = altLatched(form);

  switch (target(ctx)) {
    case TargetClass::None:
      return;
    case TargetClass::CommandLine:
      // The command line has no use for chords.
      if (ctrl || alt) return;
      appendToCommandLine(form, face);
      button.setBack(colors::kGreen);
      // A lower-case face under Shift means Caps Lock undid it; that Shift
      // has not been spent on this letter.
      if (capital) clearShift(form);
      return;
    case TargetClass::Real:
      break;
  }

  if (!ctrl && !alt) {
    if (sendStep(ctx, face, &button)) clearShift(form);
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
  if (ctrl) clearCtrl(form);
  if (alt) clearAlt(form);
  if (shift) clearShift(form);
}

}  // namespace osk
