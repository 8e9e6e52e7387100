// The native child windows of a form's controls: one per control, in the
// layout's order, with the id outside_view.h promises, created with the
// styles its kind needs and placed where the layout puts it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "host/common/handles.h"
#include "host/paint/gdi_cache.h"
#include "host/paint/placement.h"
#include "layout/model.h"
#include "platform/texts.h"

namespace osk::win32 {

class ChildControls {
 public:
  // The subclass ids the children are given. Owner-drawn buttons take a
  // quick second click as a double click and never report it as a click;
  // a key of a keyboard must take every press. A text box reports neither
  // clicks nor its focus to its parent without one.
  static constexpr UINT_PTR kButtonSubclass = 1;
  static constexpr UINT_PTR kEditSubclass = 2;
  static constexpr UINT_PTR kPlainSubclass = 3;  // any other child

  // The window text of a control's child: a text box's text, a caption, or
  // the name of the picture of a key that has only a picture.
  static std::wstring textOf(const Control& control);
  // A drop-down list's items afresh from the model, and its choice.
  static void fillList(HWND list, const Control& control);

  // Creates a child per control of `form` in `parent`, subclassed by
  // `proc` with `refData`. The failure, for the user and in `texts`, when
  // one could not be made whole; empty when all were.
  std::string create(HWND parent, const Form& form, const Texts& texts, SUBCLASSPROC proc, DWORD_PTR refData);
  // Puts every child where `placement` puts its control, in its font, and
  // repaints `parent`; with `showAll`, shows again what hideAll hid.
  void place(HWND parent, const Form& form, const Placement& placement, GdiCache& gdi,
             bool showAll = false) const;
  // Hides every child but the one with the focus, unrepainted, while a
  // picture of them stands in: a window that grows repaints every child it
  // uncovers, even one lying under another, and a hidden one not at all.
  void hideAll() const;

  std::size_t size() const { return children_.size(); }
  // The index of a child window; -1 for a window that is not one.
  int indexOf(HWND child) const;
  HWND window(std::size_t index) const {
    return index < children_.size() ? children_[index].hwnd.get() : nullptr;
  }
  bool ownerDrawn(std::size_t index) const { return index < children_.size() && children_[index].ownerDrawn; }
  // The parent destroys its children with itself: nothing is left to own.
  void releaseAll();

 private:
  struct Child {
    UniqueWindow hwnd;
    bool ownerDrawn = false;
  };

  std::string createOne(HWND parent, const Control& control, std::size_t index, const Texts& texts,
                        SUBCLASSPROC proc, DWORD_PTR refData);
  void raiseCoveredControls(const Form& form);

  std::vector<Child> children_;
};

}  // namespace osk::win32
