#include "host/window/form_timers.h"

#include "host/common/failure.h"

namespace osk::win32 {

namespace {
UINT_PTR idOf(std::size_t index) { return index + 1; }
}  // namespace

std::optional<std::size_t> FormTimers::indexOf(WPARAM id, std::size_t timerCount) {
  if (id >= 1 && id <= timerCount) return id - 1;
  return std::nullopt;
}

void FormTimers::apply(HWND window, std::size_t index, const Timer& timer, bool shown) {
  const UINT_PTR id = idOf(index);
  if (!timer.enabled || timer.intervalMs <= 0) {
    refused_.erase(id);
    // Refused only for a timer that is not running: nothing to stop.
    ::KillTimer(window, id);
    return;
  }
  if (::SetTimer(window, id, static_cast<UINT>(timer.intervalMs), nullptr) != 0) {
    refused_.erase(id);
    return;
  }
  const std::string why = failureText(texts_.text(TextId::TimerRefused, {timer.name}), ::GetLastError());
  logFailure(why);
  refused_.emplace(id, why);
  // Something the user asked for (a burst, the topmost place) does not run
  // yet; the next tick tries again.
  if (shown) ::MessageBeep(MB_ICONWARNING);
}

void FormTimers::retryRefused(HWND window, const std::vector<Timer>& timers) {
  for (auto it = refused_.begin(); it != refused_.end();) {
    const auto index = indexOf(it->first, timers.size());
    const bool started =
        index && ::SetTimer(window, it->first, static_cast<UINT>(timers[*index].intervalMs), nullptr) != 0;
    it = started ? refused_.erase(it) : std::next(it);
  }
}

void FormTimers::stopAll(HWND window, std::size_t timerCount) {
  for (std::size_t i = 0; i < timerCount; ++i) ::KillTimer(window, idOf(i));
}

}  // namespace osk::win32
