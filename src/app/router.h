// Maps the control events of one form to their handlers.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "layout/model.h"

namespace osk {

// Move: the window's place or size changed by anything but the form's own
// setGeometry (the user, the system or another program).
enum class Event : unsigned char { Click, DblClick, GotFocus, LostFocus, Change, Timer, Load, Unload, Move };

// The form itself is addressed by the control name "Form".
inline constexpr std::string_view kFormControl = "Form";

// A route that names a control the form does not have, or a second handler
// for one event, would otherwise be a key that silently does nothing or
// another handler that silently wins; both are found when the routes are
// made, at start-up.
class Router {
 public:
  using Handler = std::function<void()>;

  // Remembers the names of `form`'s controls and timers; the form itself may
  // be a throw-away copy of the layout.
  explicit Router(const Form& form) : formName_(form.name()) {
    for (const Control& c : form.controls()) controls_.insert(c.name());
    for (const Timer& t : form.timers()) timers_.insert(t.name);
  }

  // Throws std::logic_error for a control or timer the form does not have,
  // a timer event of something that is not a timer (or the reverse), or an
  // event that already has a handler.
  void on(std::string_view control, Event event, Handler handler) {
    const std::string name(control);
    const bool isTimer = timers_.contains(name);
    const bool known = isTimer || controls_.contains(name) || control == kFormControl;
    if (!known) fail("has no control or timer", name);
    if (isTimer != (event == Event::Timer)) fail("cannot take this event on", name);
    if (!routes_.emplace(std::make_pair(name, event), std::move(handler)).second)
      fail("already routes this event of", name);
  }
  // False when nothing handles the event.
  bool dispatch(std::string_view control, Event event) const {
    auto it = routes_.find({std::string(control), event});
    if (it == routes_.end()) return false;
    it->second();
    return true;
  }
  bool handles(std::string_view control, Event event) const {
    return routes_.contains({std::string(control), event});
  }
  const std::string& formName() const { return formName_; }

 private:
  [[noreturn]] void fail(const char* what, const std::string& name) const {
    throw std::logic_error(formName_ + " " + what + " " + name);
  }

  std::string formName_;
  std::set<std::string, std::less<>> controls_;
  std::set<std::string, std::less<>> timers_;
  std::map<std::pair<std::string, Event>, Handler> routes_;
};

}  // namespace osk
