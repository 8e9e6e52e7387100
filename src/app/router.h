// Maps a control event of a form to its handler.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace osk {

enum class Event : unsigned char { Click, DblClick, GotFocus, LostFocus, Change, Timer, Load, Unload };

// The form itself is addressed by the control name "Form".
inline constexpr std::string_view kFormControl = "Form";

class Router {
 public:
  using Handler = std::function<void()>;
  void on(std::string_view control, Event event, Handler handler) {
    routes_[{std::string(control), event}] = std::move(handler);
  }
  // False when nothing handles the event.
  bool dispatch(std::string_view control, Event event) const {
    auto it = routes_.find({std::string(control), event});
    if (it == routes_.end()) return false;
    it->second();
    return true;
  }
  bool handles(std::string_view control, Event event) const {
    return routes_.count({std::string(control), event}) != 0;
  }

 private:
  std::map<std::pair<std::string, Event>, Handler> routes_;
};

}  // namespace osk
