// Hover clicking and one-switch scanning on the keyboard window: owns the
// two aids, carries their wake-ups on two one-shot timers of the window,
// keeps the marks the host paints, and turns a finished hover or a switch
// press into exactly what a mouse click on the key does (the same event
// path, so latches, flashes and locks behave as with the mouse).
//
// The host feeds it what only the host sees: pointer moves and leaves over
// the keyboard window, a mouse button going down on a key, and the switch.
#pragma once

#include <optional>
#include <string_view>
#include <utility>

#include "aids/aid_settings.h"
#include "aids/dwell_clicker.h"
#include "aids/fader.h"
#include "aids/scanner.h"
#include "aids/timing_tuner.h"
#include "base/context.h"
#include "base/router.h"
#include "platform/switch_keys.h"

namespace osk::aids {

class HandsFree {
 public:
  // `keyboardRoutes` tells which keys a click acts on: the ones hover and
  // scanning offer. Nothing is routed yet.
  HandsFree(Context& ctx, const Router& keyboardRoutes);
  HandsFree(const HandsFree&) = delete;
  HandsFree& operator=(const HandsFree&) = delete;
  HandsFree(HandsFree&&) = delete;
  HandsFree& operator=(HandsFree&&) = delete;
  ~HandsFree();

  // Routes the pause key and the hover, scan and fade timers of the
  // keyboard window here.
  void route(KeyboardRoutes& router);

  // The keyboard window has loaded: the stored choices take effect.
  void load();
  // Reads the stored choices and acts on them: at load and whenever the
  // typing aids dialog closes.
  void applySettings();
  // The keyboard window is going: nothing runs, nothing is caught.
  void stop();
  // While a dialog of the keyboard is open the rows, which are the keyboard
  // window's, are not scanned and the switch key types as any key; scanning
  // starts again from the top when the dialog closes.
  void suspend();
  void resume();

  // The pointer moved over the keyboard window to `at` (client pixels), over
  // the control at `control` in the window's list (nothing: over no control).
  void pointerMoved(PointerAt at, std::optional<KeyId> control);
  // The pointer left the keyboard's windows.
  void pointerLeft();
  // A mouse button went down on the control at `control`: its own click follows, so a
  // hover on it must not click it again.
  void buttonDown(KeyId control);
  // The switch key, or a left click on the keyboard while scanning.
  void switchPressed();

  // Reads the stored fading choices and acts on them; `on` stands for the
  // stored tick when given (the box's click comes before its value is
  // stored).
  void applyFade(std::optional<bool> on = std::nullopt);
  const Fader& fader() const { return fader_; }

  const AidSettings& settings() const { return settings_; }
  // True while a left click on the keyboard is a switch press.
  bool scanning() const { return scanner_.stage() != Scanner::Stage::Stopped; }
  // In physical pixels; the host scales it with the screen's DPI.
  void setRestRadius(int pixels);

 private:
  void pauseClicked();
  void hoverTick();
  void scanTick();
  void fadeTick();
  void rearmFade();
  void showLook();
  void click(std::optional<KeyId> key);
  // A hover rest ran out on `key`: the click, and what the tuning learns.
  void hoverClick(std::optional<KeyId> key);
  void storeTuned();
  // Where the rows start after a click: the strip once a word is under way,
  // the letters otherwise.
  std::size_t firstRow() const;
  bool likely(KeyId key) const;
  void restartScan();
  void rearm();
  void showMarks();
  void arm(KeyboardTimer timer, std::optional<Millis> wait);
  void reachChanged(Reach what);
  bool reachable(KeyId key) const;
  std::optional<KeyId> hoverKey(std::optional<KeyId> control) const;
  ScanRows rows() const;
  Instant now() const { return ctx_.platform.clock.now(); }

  Context& ctx_;
  const Router& router_;
  AidSettings settings_;
  DwellOptions dwellOptions_;
  DwellClicker dwell_;
  Scanner scanner_;
  Fader fader_;
  // What the window was last told: layered, and its opacity.
  std::optional<std::pair<bool, int>> look_;
  // Present while the timing is tuned to the user's presses.
  std::optional<ScanStepTuner> stepTuner_;
  std::optional<DwellTuner> restTuner_;
  KeyId backspace_;
  bool suspended_ = false;
  std::optional<SwitchKey> caught_;  // the switch key the platform catches
};

// Routes the events of the aids the keyboard window's set-up made; throws
// std::logic_error when it made none.
void registerHandsFree(KeyboardRoutes& router, Context& ctx);

}  // namespace osk::aids
