// A punctuation key types what its caption shows. It reads no latch itself:
// Ctrl and Alt pass it by, and Shift reaches it only through the caption.
#include "delivery/latches.h"
#include "delivery/send.h"
#include "keys/character_keys.h"

namespace osk {

void clickPunctuationKey(Context& ctx, const CharacterKey& key) {
  Form& form = ctx.main;
  Control& button = form.control(key.button);
  const std::string face = button.caption();
  const bool plain = face == key.plain;
  const bool shifted = face == key.shifted;

  if (plain || shifted) {
    switch (target(ctx)) {
      case TargetClass::None:
        break;
      case TargetClass::CommandLine:
        appendToCommandLine(form, plain ? key.plain : key.shiftedText);
        button.setBack(colors::kGreen);
        if (shifted) clearShift(form);
        break;
      case TargetClass::Real:
        // A plain face under Shift means the Shift lock cancelled it, so
        // Shift stays for the next key.
        if (sendStep(ctx, plain ? key.plain : key.shiftedKeys, &button) && shifted) clearShift(form);
        break;
    }
  }

  if (key.shedsFlash && button.back() == colors::kGreen) button.setBack(colors::kWhite);
}

}  // namespace osk
