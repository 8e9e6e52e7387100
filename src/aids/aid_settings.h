// The stored choices of the typing aids (hover clicking and one-switch
// scanning), each value's name beside the field it fills.
#pragma once

#include <optional>
#include <string_view>

#include "aids/aid_time.h"
#include "aids/fader.h"
#include "platform/settings_store.h"
#include "settings/settings_keys.h"

namespace osk::aids {

// A time the user sets, in whole milliseconds, kept within what a person can
// use: shorter than the lower bound nobody can react, longer than the upper
// one the keyboard seems dead.
struct TimeRange {
  Millis lowest;
  Millis highest;
  Millis fallback;  // for text that is not a number
};

inline constexpr TimeRange kAidTimeRange{Millis{300}, Millis{5000}, Millis{1000}};

// Each value's stored name sits beside the field it fills.
struct AidSettings {
  // "1": resting the pointer on a key clicks it.
  static constexpr std::string_view kDwellClickKey = "DWELL_CLICK";
  bool dwellClick = false;
  // How long the pointer rests before the click.
  static constexpr std::string_view kDwellTimeKey = "DWELL_TIME_MS";
  Millis dwellTime = kAidTimeRange.fallback;
  // "1": rows, then the keys of the chosen row, light in turn.
  static constexpr std::string_view kScanModeKey = "SCAN_MODE";
  bool scanMode = false;
  // How long each row or key stays lit.
  static constexpr std::string_view kScanStepKey = "SCAN_STEP_MS";
  Millis scanStep = kAidTimeRange.fallback;
  // The switch key's virtual-key code, in decimal.
  static constexpr std::string_view kSwitchVkKey = "SCAN_SWITCH_VK";
  unsigned switchVk = 32;  // Space
  // "1": the switch key injected by another program works the switch too.
  static constexpr std::string_view kInjectedSwitchKey = "SCAN_SWITCH_INJECTED";
  bool injectedSwitch = false;
  // "1": a strip of suggested words along the top of the keyboard.
  static constexpr std::string_view kWordPredictionKey = "WORD_PREDICTION";
  bool wordPrediction = false;
  // "1": the scan step and the hover rest follow the user's presses (the
  // two times above stay as the user set them, for unticking).
  static constexpr std::string_view kTuneTimingKey = "TUNE_TIMING";
  bool tuneTiming = false;
  // The step and rest the tuning has reached; the user's own until it runs.
  static constexpr std::string_view kScanStepTunedKey = "SCAN_STEP_TUNED_MS";
  Millis scanStepTuned = kAidTimeRange.fallback;
  static constexpr std::string_view kDwellTimeTunedKey = "DWELL_TIME_TUNED_MS";
  Millis dwellTimeTuned = kAidTimeRange.fallback;
  // How long this user's pointer stays on a key it leaves without a click,
  // once the tuning has seen enough such to judge by; what lets likely keys
  // rest for less (DwellTuner) straight after a restart.
  static constexpr std::string_view kDwellLeaveKey = "DWELL_LEAVE_MS";
  std::optional<Millis> dwellLeave;

  // What scanning and hover use now.
  Millis scanStepInUse() const { return tuneTiming ? scanStepTuned : scanStep; }

  friend bool operator==(const AidSettings&, const AidSettings&) = default;
};

// A stored time: a number out of range gives the nearest bound, text that is
// not a number gives the fallback. Fractions round to the nearest millisecond.
Millis parseAidTime(std::string_view text, const TimeRange& range = kAidTimeRange);

// A stored switch key: a whole number naming a keyboard key (8 to 254; the
// codes below 8 are mouse buttons, which a keyboard hook never sees, and
// Ctrl+Break's, which no single switch can press). Anything else gives
// Space, since the nearest valid code would be a key the user never chose.
unsigned parseSwitchVk(std::string_view text);

// Every value as stored, each unusable one replaced as above.
AidSettings readAidSettings(const SettingsStore& store);

// Fading as stored (settings_keys.h names the values), each unusable value
// replaced by its default or its nearest bound.
FadeOptions readFadeOptions(const SettingsStore& store);

// The values the user sets, in the table's order; refusals are noted in the
// saver. The tuned times are the keyboard's own: saveTunedTimes.
void saveAidSettings(settings::Saver& saver, const AidSettings& s);
// `dwellLeave`: nothing leaves the stored value as it is.
void saveTunedTimes(settings::Saver& saver, Millis scanStep, Millis dwellTime,
                    std::optional<Millis> dwellLeave = std::nullopt);

}  // namespace osk::aids
