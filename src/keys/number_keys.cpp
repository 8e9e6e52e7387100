// A number key types what its caption shows, then sets the row's captions at
// once so that the face matches the latches before the next refresh.
#include "delivery/latches.h"
#include "delivery/send.h"
#include "keys/character_keys.h"

namespace osk {

namespace {

void showNumberRow(Form& form, bool symbols) {
  for (const CharacterKey& key : characterKeys()) {
    if (key.family != KeyFamily::Number) continue;
    form.control(key.button).setCaption(symbols ? key.shifted : key.plain);
  }
}

}  // namespace

void clickNumberKey(Context& ctx, const CharacterKey& key) {
  Form& form = ctx.main;
  Control& button = form.control(key.button);
  const std::string face = button.caption();
  const bool digit = face == key.plain;
  const bool symbol = face == key.shifted;

  if (digit || symbol) {
    switch (target(ctx)) {
      case TargetClass::None:
        break;
      case TargetClass::CommandLine:
        appendToCommandLine(form, digit ? key.plain : key.shiftedText);
        button.setBack(colors::kGreen);
        if (symbol) {
          clearShift(form);
          showNumberRow(form, false);
        }
        break;
      case TargetClass::Real:
        // A symbol that never reached the target keeps its Shift.
        if (sendStep(ctx, digit ? key.plain : key.shiftedKeys, &button) && symbol) {
          clearShift(form);
          showNumberRow(form, false);
        }
        break;
    }
  }

  if (shiftLockLatched(form)) showNumberRow(form, true);
}

}  // namespace osk
