#include "app/keyboard.h"

#include "layout/layouts.h"

namespace osk {

Keyboard::Keyboard(Platform platform)
    : main_(makeMainForm()), ctx_{*main_, platform, nullptr, nullptr} {
  registerLifecycle(router_, ctx_);
  registerDelivery(router_, ctx_);
  registerCharacterKeys(router_, ctx_);
  registerFace(router_, ctx_);
  registerCommands(router_, ctx_);
}

}  // namespace osk
