// The running keyboard: its windows, its platform and the routes from their
// events to handlers. The host owns one and feeds it every event of every
// window through one path.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "aids/hands_free.h"
#include "base/context.h"
#include "base/router.h"

namespace osk {

class Keyboard final : public Windows {
 public:
  // Makes every window of the table and routes its events. Throws
  // std::logic_error when a route names a control its window does not have
  // or routes an event twice.
  explicit Keyboard(Platform platform);
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;
  // The routes hold the address of the context: the keyboard stays put.
  Keyboard(Keyboard&&) = delete;
  Keyboard& operator=(Keyboard&&) = delete;
  ~Keyboard() override = default;

  KeyboardForm& main() { return ctx_.main; }
  Context& context() { return ctx_; }
  // Hover clicking and scanning, fed by the host's pointer and switch.
  aids::HandsFree& handsFree() { return *ctx_.handsFree; }
  // Throws std::out_of_range for a form name the table does not have.
  Form& window(std::string_view formName) override;

  // An event of a control (or of the form itself) of any of the keyboard's
  // windows, as the host reports it; false when nothing handles it or the
  // form is not one of this keyboard's.
  bool handle(const Form& form, ControlIndex control, Event event) override;
  bool handles(const Form& form, ControlIndex control, Event event) const;
  // A tick of a timer of one of the keyboard's windows.
  void tick(const Form& form, TimerIndex timer);
  bool ticks(const Form& form, TimerIndex timer) const;

  // By name, as tools and tests know a control: resolved through the form,
  // false for a name it does not have.
  bool handle(const Form& form, std::string_view control, Event event);
  void tick(const Form& form, std::string_view timer);
  // The keyboard window's own, by typed name. Throws std::out_of_range for
  // a name its layout lacks: an event of nothing is no event.
  bool handle(KeyboardControl control, Event event) {
    return handle(main(), main().indexOf(main().control(control)), event);
  }
  bool handleForm(Event event) { return handle(main(), kFormItself, event); }
  void tick(KeyboardTimer timer) {
    tick(main(), static_cast<TimerIndex>(&main().timer(timer) - main().timers().data()));
  }

 private:
  struct Window {
    std::unique_ptr<Form> form;
    Router router;
  };
  static std::vector<std::unique_ptr<Window>> makeWindows();
  const Window* find(const Form& form) const;
  // Dispatches with `key` as the key whose event runs.
  bool dispatchAs(const Window& w, ControlIndex key, ControlIndex control, Event event);

  std::vector<std::unique_ptr<Window>> windows_;
  Context ctx_;
};

}  // namespace osk
