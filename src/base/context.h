// Everything a handler may touch: the keyboard's windows and the platform.
// Handlers are free functions that receive this, never global calls.
#pragma once

#include <string_view>

#include "layout/model.h"
#include "platform/desktop.h"
#include "platform/form_host.h"
#include "platform/injector.h"
#include "platform/launcher.h"
#include "platform/settings_store.h"

namespace osk {

struct Platform {
  SettingsStore& store;
  Desktop& desktop;
  KeyInjector& injector;
  LockKeys& locks;
  Launcher& launcher;
  FormHost& host;
};

// Finds a window of the keyboard by its form name. Every window is made at
// start-up and lives as long as the keyboard, shown or not.
class Windows {
 public:
  virtual ~Windows() = default;
  virtual Form& window(std::string_view formName) = 0;
};

struct Context {
  Context(Form& keyboard, Platform platforms, Windows& all)
      : main(keyboard), platform(platforms), windows(all) {}

  Form& main;
  Platform platform;
  Windows& windows;
  // True while the key faces and lock lights are refreshed on events (key
  // events anywhere, and every event of the keyboard window) instead of by
  // their timer's ten ticks a second.
  bool facesFollowEvents = false;

  Form& window(std::string_view formName) const { return windows.window(formName); }
};

}  // namespace osk
