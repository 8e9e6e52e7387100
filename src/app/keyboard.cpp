#include "app/keyboard.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "app/window_unit.h"
#include "dialogs/dialogs.h"
#include "face/face.h"

namespace osk {

// Every window is made here, at start-up, and routed against itself.
std::vector<std::unique_ptr<Keyboard::Window>> Keyboard::makeWindows() {
  std::vector<std::unique_ptr<Window>> windows;
  for (const WindowUnit& unit : windowUnits()) {
    std::unique_ptr<Form> form = unit.layout();
    Form& f = *form;
    windows.push_back(std::make_unique<Window>(Window{std::move(form), Router(f)}));
  }
  return windows;
}

Keyboard::Keyboard(Platform platform)
    : windows_(makeWindows()), ctx_(dynamic_cast<KeyboardForm&>(*windows_.front()->form), platform, *this) {
  // Built first, routed after: a route only binds a handler to what is
  // already there.
  setUpKeyboardWindow(ctx_, windows_.front()->router);
  const auto units = windowUnits();
  for (std::size_t i = 0; i < units.size(); ++i) units[i].routes(windows_[i]->router, ctx_);
  // Before any window is shown, so that none is ever seen in another language.
  applyLanguage(ctx_);
}

Form& Keyboard::window(std::string_view formName) {
  for (auto& w : windows_)
    if (w->form->name() == formName) return *w->form;
  throw std::out_of_range("no window " + std::string(formName));
}

const Keyboard::Window* Keyboard::find(const Form& form) const {
  for (const auto& w : windows_)
    if (w->form.get() == &form) return w.get();
  return nullptr;
}

bool Keyboard::dispatchAs(const Window& w, ControlIndex key, ControlIndex control, Event event) {
  // Events within events (a dialog's, shown from a key) give the key back
  // to the outer one when they end, however they end.
  class Handling {
   public:
    Handling(ControlIndex& slot, ControlIndex key) : slot_(slot), was_(std::exchange(slot, key)) {}
    Handling(const Handling&) = delete;
    Handling& operator=(const Handling&) = delete;
    Handling(Handling&&) = delete;
    Handling& operator=(Handling&&) = delete;
    ~Handling() { slot_ = was_; }

   private:
    ControlIndex& slot_;
    ControlIndex was_;
  };
  const Handling handling(ctx_.handling, key);
  return w.router.dispatch(control, event);
}

bool Keyboard::handle(const Form& form, ControlIndex control, Event event) {
  const Window* w = find(form);
  if (w == nullptr) return false;
  const bool handled = dispatchAs(*w, &form == &ctx_.main ? control : ctx_.handling, control, event);
  // Any handler of the keyboard window may have set or cleared a latch; a
  // move, reported at every step of a drag, sets none, and neither does the
  // user's typing elsewhere (whose keys tick the faces anyway).
  if (handled && ctx_.facesFollowEvents && &form == &ctx_.main && event != Event::Move &&
      event != Event::InputElsewhere)
    NCS_TIMER_Timer(ctx_);
  return handled;
}

bool Keyboard::handles(const Form& form, ControlIndex control, Event event) const {
  const Window* w = find(form);
  return w != nullptr && w->router.handles(control, event);
}

void Keyboard::tick(const Form& form, TimerIndex timer) {
  if (const Window* w = find(form)) w->router.tick(timer);
}

bool Keyboard::ticks(const Form& form, TimerIndex timer) const {
  const Window* w = find(form);
  return w != nullptr && w->router.ticks(timer);
}

bool Keyboard::handle(const Form& form, std::string_view control, Event event) {
  if (control == kFormControl.str()) return handle(form, kFormItself, event);
  const Control* c = form.find(control);
  return c != nullptr && handle(form, form.indexOf(*c), event);
}

void Keyboard::tick(const Form& form, std::string_view timer) {
  const Timer* t = form.findTimer(timer);
  if (t != nullptr) tick(form, static_cast<TimerIndex>(t - form.timers().data()));
}

}  // namespace osk
