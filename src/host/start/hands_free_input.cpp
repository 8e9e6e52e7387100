#include "host/start/hands_free_input.h"

#include <windowsx.h>

#include <string>

#include "host/common/failure.h"

namespace osk::win32 {
namespace {

// Posted by the switch hook's thread, one per press.
constexpr UINT kSwitchMessage = WM_APP + 2;

}  // namespace

HandsFreeInput::~HandsFreeInput() { hook_.reset(); }

void HandsFreeInput::attach(FormWindow& window, aids::HandsFree& aids) {
  window_ = &window;
  aids_ = &aids;
  // Within a few pixels at the window's DPI: what a steady hand does.
  aids.setRestRadius(::MulDiv(4, window.dpi(), USER_DEFAULT_SCREEN_DPI));
  window.addFilter(*this);
  install();
}

void HandsFreeInput::catchSwitch(std::optional<SwitchKey> key) {
  wanted_ = key;
  install();
}

void HandsFreeInput::install() {
  hook_.reset();
  if (!wanted_ || window_ == nullptr || !window_->alive()) return;
  hook_ = std::make_unique<SwitchHook>(window_->hwnd(), kSwitchMessage, static_cast<DWORD>(wanted_->vk),
                                       wanted_->injectedToo);
  if (!hook_->active()) hook_.reset();
}

// TME_LEAVE only, armed on the first move into each window, and only while
// hover clicking is on: under Wine even leave tracking is a system timer
// that polls the pointer every 400 ms for as long as it rests over the
// window (seen in the message log of an idle keyboard: 2.5 messages a second
// more, from the first move over it), and only a dwell needs to know of a
// leave.
void HandsFreeInput::track(HWND hwnd) {
  if (tracking_ == hwnd || !aids_->settings().dwellClick) return;
  TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, 0};
  if (::TrackMouseEvent(&tme)) tracking_ = hwnd;
}

// A leave from a key into the window around it (or the other way) is no
// leave of the keyboard.
bool HandsFreeInput::pointerStillOver() const {
  POINT at{};
  if (!::GetCursorPos(&at)) return false;
  HWND under = ::WindowFromPoint(at);
  return under != nullptr && (under == window_->hwnd() || ::IsChild(window_->hwnd(), under) != FALSE);
}

std::optional<LRESULT> HandsFreeInput::filter(HWND hwnd, UINT msg, WPARAM /*wp*/, LPARAM lp, int control) {
  constexpr std::optional<LRESULT> kPassOn;
  switch (msg) {
    case WM_NCDESTROY:
      // The hook posts to the window: it goes with it.
      if (control == kWholeWindow) hook_.reset();
      return kPassOn;
    case kSwitchMessage:
      if (control != kWholeWindow) return kPassOn;
      aids_->switchPressed();
      return 0;
    case WM_MOUSEACTIVATE:
      // A click that is a switch press leaves the focus where it is, in
      // either focus mode (the text box would otherwise take it).
      if (aids_->scanning()) return MA_NOACTIVATE;
      return kPassOn;
    case WM_MOUSEMOVE: {
      track(hwnd);
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ::MapWindowPoints(hwnd, window_->hwnd(), &at, 1);
      std::optional<aids::KeyId> key;
      if (control != kWholeWindow) key = static_cast<aids::KeyId>(control);
      aids_->pointerMoved({at.x, at.y}, key);
      return kPassOn;
    }
    case WM_MOUSELEAVE:
      if (tracking_ == hwnd) tracking_ = nullptr;
      if (!pointerStillOver()) aids_->pointerLeft();
      return kPassOn;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (aids_->scanning()) {
        // Anywhere on the keyboard, the click is the switch: what lies under
        // the pointer is not clicked.
        swallowing_ = true;
        aids_->switchPressed();
        return 0;
      }
      if (control != kWholeWindow) aids_->buttonDown(static_cast<aids::KeyId>(control));
      return kPassOn;
    case WM_LBUTTONUP:
      if (swallowing_) {
        swallowing_ = false;
        return 0;
      }
      return kPassOn;
    default:
      return kPassOn;
  }
}

}  // namespace osk::win32
