// The keyboard docked along the bottom of its monitor as an application
// bar, which maximised windows stop above, and given back the place it had
// when it leaves the bar. The choice is stored, and a docked keyboard opens
// docked.
#pragma once

#include <vector>

#include "layout/model.h"
#include "platform/form_host.h"
#include "platform/settings_store.h"
#include "platform/window_look.h"

namespace osk {

// The height a docked keyboard asks for: the one it has, within a quarter
// and a half of the height of the work area it lies on most (the keys are
// scaled to it, so a low bar has keys too small and a high one hides the
// screen). Unchanged when there is no work area.
float dockedHeight(const Geometry& window, const std::vector<Geometry>& workAreas);

class Docking {
 public:
  Docking(Form& window, FormHost& host, AppBar& bar, SettingsStore& store);

  bool docked() const { return docked_; }
  // Where the keyboard is kept in the store: while docked, the place it had
  // before, which it opens at when it no longer docks.
  Geometry placeToStore() const { return docked_ ? earlier_ : window_.geometry(); }

  // The window has loaded at its stored place: docks when that is stored.
  void load();
  // Docks or undocks as the user chose, and stores what came of it; true
  // when the keyboard is docked afterwards.
  bool choose(bool wanted);
  // A drag or a resize of the window by the user has ended. A docked
  // keyboard whose bottom edge still lies on the bar's takes the new height
  // as a bar; one dragged anywhere else is no bar any more and gets back
  // its earlier place.
  void userMoved();
  // The system moved the bars of the monitor: the bar asks for its place
  // again.
  void barsChanged();
  // The window is going: the bar is removed, the stored choice kept.
  void close();

 private:
  bool dock(float height);
  void undock();
  void store(bool docked);

  Form& window_;
  FormHost& host_;
  AppBar& bar_;
  SettingsStore& store_;
  bool docked_ = false;
  Geometry earlier_;
  Geometry granted_;
};

}  // namespace osk
