#include "aids/aid_settings.h"

#include <cmath>
#include <string>

namespace osk::aids {
namespace {

inline constexpr unsigned kLowestSwitchVk = 8;     // Backspace
inline constexpr unsigned kHighestSwitchVk = 254;  // 255 is reserved

// A leave quicker than this is the pointer passing over (kLatePressGrace),
// so no mean of real leaves is below it.
inline constexpr Millis kQuickestLeave{200};

std::string_view flag(bool on) { return on ? "1" : "0"; }

std::string decimal(Millis t) { return std::to_string(t.count()); }

}  // namespace

Millis parseAidTime(std::string_view text, const TimeRange& range) {
  const auto v = settings::parseNumber(text);
  if (!v) return range.fallback;
  // Compared as doubles: a huge stored number must clamp, not overflow.
  if (*v <= static_cast<double>(range.lowest.count())) return range.lowest;
  if (*v >= static_cast<double>(range.highest.count())) return range.highest;
  return Millis{std::llround(*v)};
}

unsigned parseSwitchVk(std::string_view text) {
  constexpr unsigned kSpace = AidSettings{}.switchVk;
  const auto v = settings::parseNumber(text);
  if (!v || *v != std::floor(*v) || *v < kLowestSwitchVk || *v > kHighestSwitchVk) return kSpace;
  return static_cast<unsigned>(*v);
}

AidSettings readAidSettings(const SettingsStore& store) {
  const AidSettings d;
  auto read = [&](std::string_view key, std::string_view fallback) {
    return store.read(kSettingsSection, key, fallback);
  };
  AidSettings s;
  // "1" is read as the other tick boxes read it, so a stored "1.0" counts.
  s.dwellClick = settings::tickChosen(read(AidSettings::kDwellClickKey, flag(d.dwellClick)));
  s.dwellTime = parseAidTime(read(AidSettings::kDwellTimeKey, decimal(d.dwellTime)));
  s.scanMode = settings::tickChosen(read(AidSettings::kScanModeKey, flag(d.scanMode)));
  s.scanStep = parseAidTime(read(AidSettings::kScanStepKey, decimal(d.scanStep)));
  s.switchVk = parseSwitchVk(read(AidSettings::kSwitchVkKey, std::to_string(d.switchVk)));
  s.injectedSwitch = settings::tickChosen(read(AidSettings::kInjectedSwitchKey, flag(d.injectedSwitch)));
  s.wordPrediction = settings::tickChosen(read(AidSettings::kWordPredictionKey, flag(d.wordPrediction)));
  s.tuneTiming = settings::tickChosen(read(AidSettings::kTuneTimingKey, flag(d.tuneTiming)));
  // Before any tuning has run, it starts from the user's own times.
  const TimeRange step{kAidTimeRange.lowest, kAidTimeRange.highest, s.scanStep};
  s.scanStepTuned = parseAidTime(read(AidSettings::kScanStepTunedKey, decimal(s.scanStep)), step);
  const TimeRange rest{kAidTimeRange.lowest, kAidTimeRange.highest, s.dwellTime};
  s.dwellTimeTuned = parseAidTime(read(AidSettings::kDwellTimeTunedKey, decimal(s.dwellTime)), rest);
  // Unreadable is as good as never learned: likely keys wait for fresh
  // evidence, the cautious side.
  const std::string leave = read(AidSettings::kDwellLeaveKey, "");
  if (settings::parseNumber(leave))
    s.dwellLeave = parseAidTime(leave, {kQuickestLeave, kAidTimeRange.highest, kAidTimeRange.fallback});
  return s;
}

FadeOptions readFadeOptions(const SettingsStore& store) {
  using namespace settings;
  FadeOptions o;
  o.on = tickChosen(store.read(kSettingsSection, kFade, kFadeDefault));
  o.opacity = parseBounded(store.read(kSettingsSection, kFadeOpacity, std::to_string(kFadeOpacityDefault)),
                           kFadeOpacityLowest, kFadeOpacityHighest, kFadeOpacityDefault);
  const int seconds = parseBounded(store.read(kSettingsSection, kFadeWait, std::to_string(kFadeWaitDefault)),
                                   kFadeWaitLowest, kFadeWaitHighest, kFadeWaitDefault);
  o.wait = std::chrono::seconds(seconds);
  return o;
}

void saveAidSettings(settings::Saver& saver, const AidSettings& s) {
  saver.put(AidSettings::kDwellClickKey, flag(s.dwellClick));
  saver.put(AidSettings::kDwellTimeKey, decimal(s.dwellTime));
  saver.put(AidSettings::kScanModeKey, flag(s.scanMode));
  saver.put(AidSettings::kScanStepKey, decimal(s.scanStep));
  saver.put(AidSettings::kSwitchVkKey, std::to_string(s.switchVk));
  saver.put(AidSettings::kInjectedSwitchKey, flag(s.injectedSwitch));
  saver.put(AidSettings::kWordPredictionKey, flag(s.wordPrediction));
  saver.put(AidSettings::kTuneTimingKey, flag(s.tuneTiming));
}

void saveTunedTimes(settings::Saver& saver, Millis scanStep, Millis dwellTime,
                    std::optional<Millis> dwellLeave) {
  saver.put(AidSettings::kScanStepTunedKey, decimal(scanStep));
  saver.put(AidSettings::kDwellTimeTunedKey, decimal(dwellTime));
  if (dwellLeave) saver.put(AidSettings::kDwellLeaveKey, decimal(*dwellLeave));
}

}  // namespace osk::aids
