// Everything a handler may touch: the keyboard's forms and the platform.
// Handlers are free functions that receive this, never global calls.
#pragma once

#include <memory>

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

struct Context {
  Form& main;
  Platform platform;
  // The settings dialog, made on first use and kept for the rest of the run.
  std::unique_ptr<Form> settings;
  std::unique_ptr<Form> fkeys;
  // True while the key faces and lock lights are refreshed on events (key
  // events anywhere, and every event of the keyboard window) instead of by
  // their timer's ten ticks a second.
  bool facesFollowEvents = false;
};

}  // namespace osk
