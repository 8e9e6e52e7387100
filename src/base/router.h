// Maps the control events and timer ticks of one window to their handlers.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
// does nothing; both are found when the routes are made, at start-up. Names
// are resolved there, once: an event is found by its control's place in the
// form and its kind, so the router keeps no names at all.
class Router {
 public:
  using Handler = std::function<void()>;

  explicit Router(Form& form) : form_(form), ticks_(form.timers().size()) {}

  // Throws std::logic_error for a control the form does not have or an
  // event that already has a handler.
  void on(ControlName control, Event event, Handler handler) {
    const ControlIndex index = indexOf(control);
    if (!routes_.emplace(std::make_pair(index, event), std::move(handler)).second)
      fail("already routes this event of", control.str());
  }
  // The timer's interval is given with its handler, since what the handler
  // may do in one tick depends on it; the form's timer takes it at once.
  void every(TimerName timer, std::chrono::milliseconds interval, Handler handler) {
    Timer* t = form_.findTimer(timer.str());
    if (t == nullptr) fail("has no timer", timer.str());
    t->intervalMs = static_cast<int>(interval.count());
    Handler& slot = ticks_.at(static_cast<std::size_t>(t - form_.timers().data()));
    if (slot) fail("already routes the ticks of", timer.str());
    slot = std::move(handler);
  }

  // False when nothing handles it.
  bool dispatch(ControlIndex control, Event event) const {
    auto it = routes_.find({control, event});
    if (it == routes_.end()) return false;
    it->second();
    return true;
  }
  bool tick(TimerIndex timer) const {
    if (timer >= ticks_.size() || !ticks_[timer]) return false;
    ticks_[timer]();
    return true;
  }
  bool handles(ControlIndex control, Event event) const { return routes_.contains({control, event}); }
  bool ticks(TimerIndex timer) const { return timer < ticks_.size() && ticks_[timer]; }
  // Throws std::logic_error for a control the form does not have.
  ControlIndex indexOf(ControlName control) const {
    if (control == kFormControl) return kFormItself;
    const Control* c = form_.find(control.str());
    if (c == nullptr) fail("has no control", control.str());
    return form_.indexOf(*c);
  }
  Form& form() const { return form_; }

 private:
  [[noreturn]] void fail(const char* what, std::string_view name) const {
    throw std::logic_error(form_.name() + " " + what + " " + std::string(name));
  }

  Form& form_;
  std::map<std::pair<ControlIndex, Event>, Handler> routes_;
  std::vector<Handler> ticks_;  // by the timer's place in the form
};

// The routes of one window by its own names: a handler is routed from a
// control or timer of that window only, so a name of another window does
// not compile.
template <class Window>
class RoutesOf {
 public:
  explicit RoutesOf(Router& router) : router_(router) {}

  void on(ControlOf<Window> control, Event event, Router::Handler&& handler) {
    router_.on(control, event, std::move(handler));
  }
  // The form's own events (Load, Unload, DblClick, Move).
  void onForm(Event event, Router::Handler&& handler) { router_.on(kFormControl, event, std::move(handler)); }
  void every(TimerOf<Window> timer, std::chrono::milliseconds interval, Router::Handler&& handler) {
    router_.every(timer, interval, std::move(handler));
  }
  const Router& router() const { return router_; }

 private:
  Router& router_;
};

}  // namespace osk
