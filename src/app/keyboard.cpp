#include "app/keyboard.h"

#include "face/face.h"
#include "layout/layouts.h"

namespace osk {

// The dialogs are made when first opened; their routes are checked against
// a copy of their layouts now, so that a wrong route fails at start-up.
Keyboard::Keyboard(Platform platform)
    : main_(makeMainForm()),
      ctx_{*main_, platform, nullptr, nullptr},
      router_(*main_),
      settingsRouter_(*makeSettingsForm()),
      fkeysRouter_(*makeFkeysForm()) {
  registerLifecycle(router_, ctx_);
  registerDelivery(router_, ctx_);
  registerCharacterKeys(router_, ctx_);
  registerFace(router_, ctx_);
  registerCommands(router_, ctx_);
  registerSettingsDialog(settingsRouter_, ctx_);
  registerFkeysDialog(fkeysRouter_, ctx_);
}

bool Keyboard::handle(std::string_view control, Event event) {
  const bool handled = router_.dispatch(control, event);
  // Any handler of this window may have set or cleared a latch; a move,
  // reported at every step of a drag, sets none.
  if (handled && ctx_.facesFollowEvents && event != Event::Move) NCS_TIMER_Timer(ctx_);
  return handled;
}

bool Keyboard::handle(const Form& form, std::string_view control, Event event) {
  if (&form == main_.get()) return handle(control, event);
  if (&form == ctx_.settings.get()) return settingsRouter_.dispatch(control, event);
  if (&form == ctx_.fkeys.get()) return fkeysRouter_.dispatch(control, event);
  return false;
}

}  // namespace osk
