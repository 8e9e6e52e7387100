#include "aids/timing_tuner.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

namespace osk::aids {
namespace {

// Clinical tuning's rule: the step is the reaction time over this.
constexpr double kReactionShare = 0.65;
// Above this share of undone clicks the step only lengthens.
constexpr double kErrorCeiling = 0.25;
// How much of the running figures one press or click moves.
constexpr double kWeight = 0.1;
// The largest change of the step per press, as a share of the step.
constexpr double kLargestMove = 0.05;
// The hover rest: kept clicks shorten it, undone ones lengthen it.
constexpr double kRestKept = 0.98;
constexpr double kRestUndone = 1.25;
// A likely key never rests for less than this share of the user's own.
constexpr double kLikelyFloor = 0.5;

double ms(Millis m) { return static_cast<double>(m.count()); }

double bounded(double value) {
  return std::clamp(value, ms(kAidTimeRange.lowest), ms(kAidTimeRange.highest));
}

Millis rounded(double value) { return Millis{std::llround(value)}; }

}  // namespace

ScanStepTuner::ScanStepTuner(Millis step) : step_(bounded(ms(step))) {}

void ScanStepTuner::picked(Millis reaction) {
  double r = ms(reaction);
  const bool late = r < ms(kLatePressGrace);
  if (late) r += step_;
  // Only a click says a pick went right; a late press already says it went wrong.
  if (late) errors_ += kWeight * (1 - errors_);
  meanReaction_ = presses_ == 0 ? r : meanReaction_ + kWeight * (r - meanReaction_);
  if (++presses_ < kTunerWarmUp) return;
  double target = meanReaction_ / kReactionShare;
  if (errors_ > kErrorCeiling) target = step_ * (1 + kLargestMove);
  const double move = std::clamp(target - step_, -kLargestMove * step_, kLargestMove * step_);
  step_ = bounded(step_ + move);
}

void ScanStepTuner::clicked(bool backspace) {
  const bool undone = undo_.clicked(backspace);
  // Backspace itself is not a pick that can be wrong; the pick it undid is.
  if (undone)
    errors_ += kWeight * (1 - errors_);
  else if (!backspace)
    errors_ -= kWeight * errors_;
}

Millis ScanStepTuner::step() const { return rounded(step_); }

DwellTuner::DwellTuner(Millis own, Millis tuned, std::optional<Millis> leaving)
    : own_(bounded(ms(own))), rest_(ms(tuned)) {
  rest_ = std::clamp(rest_, own_ / 2, ms(kAidTimeRange.highest));
  if (leaving) {
    leaving_ = ms(*leaving);
    left_ = kTunerWarmUp;
  }
}

void DwellTuner::clicked(bool backspace) {
  if (undo_.clicked(backspace)) {
    rest_ *= kRestUndone / kRestKept;  // also takes back the shortening of the undone click
    // Most likely a slip they could not leave in time. Bounded so that what
    // is stored stays a time a person can take.
    leaving_ = std::min(leaving_ * kRestUndone, ms(kAidTimeRange.highest));
  } else {
    rest_ *= kRestKept;
  }
  rest_ = std::clamp(rest_, own_ / 2, ms(kAidTimeRange.highest));
}

void DwellTuner::movedOn(Millis ran) {
  const double r = ms(ran);
  if (r < ms(kLatePressGrace)) return;  // passing over, not a key looked at and left
  leaving_ = left_ == 0 ? r : leaving_ + kWeight * (r - leaving_);
  ++left_;
}

Millis DwellTuner::rest() const { return restFor(false); }

std::optional<Millis> DwellTuner::leaving() const {
  if (left_ < kTunerWarmUp) return std::nullopt;
  return rounded(leaving_);
}

Millis DwellTuner::restFor(bool likely) const {
  const double unlikely = std::max(own_, rest_);
  if (!likely || left_ < kTunerWarmUp) return rounded(unlikely);
  return rounded(std::clamp(leaving_ / kReactionShare, own_ * kLikelyFloor, unlikely));
}

void followTuner(DwellClicker& dwell, DwellTuner* tuner, std::function<bool(KeyId)> likely) {
  if (tuner == nullptr) {
    dwell.setRestFor(nullptr);
    dwell.setMovedOn(nullptr);
    return;
  }
  dwell.setRestFor(
      [tuner, likely = std::move(likely)](KeyId key) { return tuner->restFor(likely && likely(key)); });
  dwell.setMovedOn([tuner](Millis ran) { tuner->movedOn(ran); });
}

std::vector<char> likelyNextLetters(std::string_view typedWord, const std::vector<std::string>& suggestions) {
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  std::vector<char> next;
  for (const std::string& s : suggestions) {
    if (s.size() <= typedWord.size()) continue;
    if (!std::equal(typedWord.begin(), typedWord.end(), s.begin(),
                    [&](char a, char b) { return lower(a) == lower(b); }))
      continue;
    const char c = lower(s[typedWord.size()]);
    if (std::isalpha(static_cast<unsigned char>(c)) != 0 && std::ranges::find(next, c) == next.end())
      next.push_back(c);
  }
  return next;
}

}  // namespace osk::aids
