// What handlers ask of the windowing host beyond control properties.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "layout/model.h"
#include "platform/desktop.h"

namespace osk {

class FormHost {
 public:
  virtual ~FormHost() = default;
  // Shows `dialog` modally over `owner`; returns when the dialog closes.
  // The owner's timers keep running meanwhile.
  virtual void showModal(Form& dialog, Form& owner) = 0;
  // Closes `form`'s window as its close box would: its Unload runs (after
  // the handler that asks has returned), then the window goes. Nothing
  // happens when the form is not shown.
  virtual void close(Form& form) = 0;
  // Work areas of the monitors, in twips of the virtual screen, so that a
  // window can be kept where someone can reach it.
  virtual std::vector<Geometry> monitorWorkAreas() const = 0;
  // Shows `form`'s window above the others, restored if it was minimised;
  // it becomes the active window only when `activate` is true.
  virtual void bringForward(const Form& form, bool activate) = 0;
  // The host window that renders `form` (0 when it has none yet).
  virtual WindowId windowOf(const Form& form) const = 0;
  // True for a window of the keyboard's own: its windows and dialogs, and
  // anything else it shows. Never a target, whatever its title.
  virtual bool ownsWindow(WindowId window) const = 0;
  // Shows `text` beside `control` of `form` for a few seconds, without
  // taking the focus or waiting for anyone to read it; a newer note replaces
  // an older one.
  virtual void showNote(const Form& form, ControlName control, std::string_view text) = 0;
  // The same beside any control of `form`, for a note that offers to do
  // something: a click on it puts it away and runs `onClick`.
  virtual void showActionNote(const Form& form, const Control& control, std::string_view text,
                              std::function<void()> onClick) = 0;
  // A non-activating form takes clicks without becoming the active window,
  // so the window in front keeps the focus; a click into one of its text
  // boxes still activates it, so that the box can take typing. May be
  // switched at any time, before or after the window exists.
  virtual void setNonActivating(const Form& form, bool on) = 0;
  // Runs the tick of `form`'s timer `timer` soon after any key of the
  // desktop goes down or up, in whichever program, the form's window being
  // shown. False when the system cannot report such keys; nothing then
  // changes. The timer's own interval is the caller's to keep or stop.
  virtual bool tickOnKeyEvents(const Form& form, TimerName timer) = 0;
  // While on, raises `form`'s InputElsewhere event each time a key or mouse
  // button of the user's own goes down in a window of another program: the
  // caret there may have moved. A key that moves neither text nor caret (a
  // modifier or lock key alone, see keyMayMoveCaret) raises nothing, nor do
  // keys and clicks this program makes itself, and the user's own on this
  // program's windows. Nothing is followed while off. False when the system
  // cannot report such input.
  virtual bool reportInputElsewhere(const Form& form, bool on) = 0;
};

}  // namespace osk
