// Follows the window in front once a second, so that the target is known
// before a click on the keyboard takes the foreground away from it.
#include <array>
#include <string>

#include "delivery/handlers.h"
#include "delivery/send.h"
#include "layout/main_window.h"

namespace osk {
namespace {

// Keys that edit text in the target; disabled while the command line has
// the focus, because there they would act on the wrong window.
constexpr std::array<KeyboardControl, 13> kEditingGroup{
    ui::kButtonBackspace, ui::kButtonAutoBackspace, ui::kButtonDelete,    ui::kButtonAutoDelete,
    ui::kButtonIns,       ui::kButtonHome,          ui::kButtonEnd,       ui::kButtonPgUp,
    ui::kButtonPgDn,      ui::kButtonCtrlLeft,      ui::kButtonCtrlRight, ui::kButtonAltLeft,
    ui::kButtonAltGr};

// Keys that only make sense with a real target window.
constexpr std::array<KeyboardControl, 5> kTargetOnly{ui::kShiftArrowHighlightButton, ui::kButtonKeyUp,
                                                     ui::kButtonKeyDown, ui::kButtonKeyLeft,
                                                     ui::kButtonKeyRight};

void enableEditingGroup(Form& f, bool enabled) {
  for (auto name : kEditingGroup) f.control(name).setEnabled(enabled);
}

void enableTargetGroup(Form& f, bool enabled) {
  enableEditingGroup(f, enabled);
  for (auto name : kTargetOnly) f.control(name).setEnabled(enabled);
}

}  // namespace

void ACTIVE_WINDOW_TIMER_Timer(Context& ctx) {
  Desktop& desktop = ctx.platform.desktop;
  const WindowId front = desktop.foregroundWindow();
  // No window in front at all is a moment inside a switch (Wine reports none
  // for a few milliseconds at every one), not a window to type into: it
  // leaves the target as it was, as the keyboard's own window does. Taken
  // as an untitled target, it sent every key nowhere until a later tick.
  // The keyboard's own window in front is the click that is about to type,
  // and the settings dialog, which bears the same title, leaves the target
  // as it was too (the F-key settings, under a title of their own, have
  // always been recorded). Known by the window as well as its title, so
  // another program's window that happens to bear the keyboard's title is
  // typed into like any other.
  const std::string title = front == 0 ? std::string() : desktop.windowTitle(front);
  const bool keyboardItself = title == kNoTarget && ctx.platform.host.ownsWindow(front);
  if (front != 0 && !keyboardItself) {
    // Typing in another window says nothing about the text before the
    // caret in this one. A new title alone is the same window (an editor
    // marks its file changed, a browser names the page it went to), and
    // the word typed into it goes on.
    if (ctx.prediction && (target(ctx) != TargetClass::Real || front != ctx.state.target().window))
      ctx.prediction->lost();
    // Remember which window bore the title, so that of several windows with
    // one title the keys go to the one that was in front.
    recordTarget(ctx, title, front);
  }
  // The group ends enabled exactly when a real target is recorded, so that
  // is the only state written. Disabling it for the keyboard's own title and
  // enabling it again for the recorded one flipped all 18 keys at every tick
  // while the keyboard was in front of a target: 36 EnableWindow calls and
  // as many repaints a second, and the focus taken from whichever of these
  // keys had it.
  enableTargetGroup(ctx.main, target(ctx) == TargetClass::Real);
}

void COMMAND_LINE_TEXTBOX_GotFocus(Context& ctx) { enableEditingGroup(ctx.main, false); }

void COMMAND_LINE_TEXTBOX_LostFocus(Context& ctx) { enableEditingGroup(ctx.main, true); }

void COMMAND_LINE_TEXTBOX_Click(Context& ctx) {
  if (ctx.prediction) ctx.prediction->lost();
  targetCommandLine(ctx);
}

}  // namespace osk
