// Maps the control events and timer ticks of one window to their handlers.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "layout/model.h"

namespace osk {

// Move: the window's place or size changed by anything but the form's own
// setGeometry (the user, the system or another program). InputElsewhere:
// a key or mouse button of the user's own went down in another program's
// window (see FormHost::reportInputElsewhere).
enum class Event : unsigned char {
  Click,
  DblClick,
  GotFocus,
  LostFocus,
  Change,
  Timer,
  Load,
  Unload,
  Move,
  InputElsewhere,
};

// A second handler for one event would otherwise silently win over the
// first, and a name of another window's layout would be a key that silently
// does nothing; both are found when the routes are made, at start-up.
class Router {
 public:
  using Handler = std::function<void()>;

  explicit Router(Form& form) : form_(form) {}

  // Throws std::logic_error for a control the form does not have or an
  // event that already has a handler.
  void on(ControlName control, Event event, Handler handler) {
    if (control != kFormControl && form_.find(control.str()) == nullptr)
      fail("has no control", control.str());
    add(control.str(), event, std::move(handler));
  }
  // The timer's interval is given with its handler, since what the handler
  // may do in one tick depends on it; the form's timer takes it at once.
  void every(TimerName timer, std::chrono::milliseconds interval, Handler handler) {
    Timer* t = form_.findTimer(timer.str());
    if (t == nullptr) fail("has no timer", timer.str());
    t->intervalMs = static_cast<int>(interval.count());
    add(timer.str(), Event::Timer, std::move(handler));
  }

  // By the name as the host reports it; false when nothing handles it.
  bool dispatch(std::string_view name, Event event) const {
    auto it = routes_.find({std::string(name), event});
    if (it == routes_.end()) return false;
    it->second();
    return true;
  }
  bool handles(std::string_view name, Event event) const {
    return routes_.contains({std::string(name), event});
  }
  Form& form() const { return form_; }

 private:
  void add(std::string_view name, Event event, Handler handler) {
    if (!routes_.emplace(std::make_pair(std::string(name), event), std::move(handler)).second)
      fail("already routes this event of", name);
  }
  [[noreturn]] void fail(const char* what, std::string_view name) const {
    throw std::logic_error(form_.name() + " " + what + " " + std::string(name));
  }

  Form& form_;
  std::map<std::pair<std::string, Event>, Handler> routes_;
};

}  // namespace osk
