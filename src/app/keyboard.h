// The running keyboard: its forms, its platform and the routes from control
// events to handlers. The host owns one and feeds it every event.
#pragma once

#include <memory>
#include <string_view>

#include "app/context.h"
#include "app/router.h"

namespace osk {

// Each subsystem adds the handlers of the main window's controls it owns.
void registerLifecycle(Router& router, Context& ctx);      // app/
void registerDelivery(Router& router, Context& ctx);       // delivery/
void registerCharacterKeys(Router& router, Context& ctx);  // keys/
void registerFace(Router& router, Context& ctx);           // face/
void registerCommands(Router& router, Context& ctx);       // commands/
// The dialogs route their own controls.
void registerSettingsDialog(Router& router, Context& ctx);  // dialogs/
void registerFkeysDialog(Router& router, Context& ctx);     // dialogs/

class Keyboard {
 public:
  // Throws std::logic_error when a route names a control its form does not
  // have or routes an event twice.
  explicit Keyboard(Platform platform);
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;
  // The routes hold the address of the context: the keyboard stays put.
  Keyboard(Keyboard&&) = delete;
  Keyboard& operator=(Keyboard&&) = delete;
  ~Keyboard() = default;

  Form& main() { return *main_; }
  Context& context() { return ctx_; }
  // A control event of the main window; false when nothing handles it.
  bool handle(std::string_view control, Event event);
  bool handles(std::string_view control, Event event) const { return router_.handles(control, event); }
  // A control event of any of the keyboard's forms; false when nothing
  // handles it or the form is not one of this keyboard's.
  bool handle(const Form& form, std::string_view control, Event event);
  // A tick of the main window's timer `name`.
  void tick(std::string_view timer) { router_.dispatch(timer, Event::Timer); }

 private:
  std::unique_ptr<Form> main_;
  Context ctx_;
  Router router_;
  Router settingsRouter_;
  Router fkeysRouter_;
};

}  // namespace osk
