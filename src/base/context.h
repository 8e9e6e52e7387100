// Everything a handler may touch: the keyboard's windows and the platform.
// Handlers are free functions that receive this, never global calls.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "base/flashes.h"
#include "base/keyboard_state.h"
#include "base/router.h"
#include "base/word_prediction.h"
#include "layout/main_window.h"
#include "layout/model.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/form_host.h"
#include "platform/injector.h"
#include "platform/input_language.h"
#include "platform/key_sound.h"
#include "platform/launcher.h"
#include "platform/learned_words_file.h"
#include "platform/settings_store.h"
#include "platform/sign_in.h"
#include "platform/switch_keys.h"
#include "platform/texts.h"
#include "platform/window_look.h"

namespace osk {

namespace aids {
class HandsFree;
}
class Docking;

struct Platform {
  SettingsStore& store;
  Desktop& desktop;
  GatedInjector injector;
  LockKeys& locks;
  Launcher& launcher;
  FormHost& host;
  Clock& clock = steadyClock();
  SwitchKeys& switches = noSwitchKeys();
  // Where word prediction keeps what it learned; by default nowhere.
  LearnedWordsFile& learnedWords = noLearnedWordsFile();
  // The entry that starts the keyboard at sign-in; by default none.
  SignInStart& signIn = noSignInStart();
  // What the keys type in the target's input language; by default nothing.
  InputLanguages& languages = noInputLanguages();
  // The click of a key that types; by default silent.
  KeySound& sound = noKeySound();
  // The keyboard window's opacity and the pointer over it; by default
  // always opaque.
  WindowLook& look = noWindowLook();
  // The words shown, in the chosen language.
  Texts& texts = englishTexts();
  // The keyboard as an application bar; by default it never docks.
  AppBar& appBar = noAppBar();
};

// The character keys drawn from the target's keyboard layout: whether they
// are, and the layout and latch state the faces were last drawn for, so a
// refresh that finds nothing changed asks the layout nothing.
struct LanguageFaces {
  bool follow = false;
  LayoutId layout = 0;
  // The level inputs of the last drawing; meaningless until drawn.
  unsigned drawnFor = ~0U;
  LayoutId drawnLayout = 0;
};

// An accent that may wait in the target window for the next key: a dead key
// went in, or keys whose effect on a waiting accent is not known.
struct WaitingAccent {
  WindowId window = 0;
  LayoutId layout = 0;
  // The dead key that waits; none where it is not known whether, or which.
  std::optional<KeyPress> dead;
};

// Finds a window of the keyboard by its form name. Every window is made at
// start-up and lives as long as the keyboard, shown or not.
class Windows {
 public:
  virtual ~Windows() = default;
  virtual Form& window(std::string_view formName) = 0;
  // An event of a control of one of the windows, handled as if the host had
  // reported it; false when nothing handles it.
  virtual bool handle(const Form& form, ControlIndex control, Event event) = 0;
};

// The keyboard window's routes, by its own names.
using KeyboardRoutes = RoutesOf<KeyboardWindow>;

struct Context {
  Context(KeyboardForm& keyboard, Platform platforms, Windows& all)
      : main(keyboard), platform(platforms), windows(all), state(keyboard) {}

  KeyboardForm& main;
  Platform platform;
  Windows& windows;
  // True while the key faces and lock lights are refreshed on events (key
  // events anywhere, and every event of the keyboard window) instead of by
  // their timer's ten ticks a second.
  bool facesFollowEvents = false;
  // "Click sound" is ticked: each key that types clicks.
  bool clickSound = false;
  // The latches, where the keys go, and the faces keys act on.
  KeyboardState state;
  LanguageFaces languageFaces;
  // Kept by the send step, which alone sees every key that goes in.
  std::optional<WaitingAccent> waitingAccent;
  // The control of the keyboard window whose event runs now (kFormItself
  // for none, as in a timer's tick): the key a send has something to say
  // about.
  ControlIndex handling = kFormItself;
  // The keys flashed lately, which the colour reset leaves lit a moment.
  Flashes flashes;
  // The keyboard window's parts, made in its set-up before any route
  // (src/app/windows.cpp). Hover clicking and scanning:
  std::shared_ptr<aids::HandsFree> handsFree;
  // Word prediction and its suggestion strip:
  std::shared_ptr<WordPrediction> prediction;
  // The keyboard docked along the bottom of the screen, or where it was.
  std::shared_ptr<Docking> docking;

  Form& window(std::string_view formName) const { return windows.window(formName); }
};

}  // namespace osk
