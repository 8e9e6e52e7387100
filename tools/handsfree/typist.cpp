#include "typist.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

#include "aids/dwell_clicker.h"
#include "aids/scanner.h"
#include "aids/timing_tuner.h"
#include "layout/main_window.h"
#include "predict/predictor.h"
#include "predict/word_tracker.h"
#include "predict/words.h"

namespace handsfree {
namespace {

using osk::aids::Instant;
using osk::aids::KeyId;
using osk::aids::Millis;
using Time = std::chrono::duration<double, std::milli>;

constexpr std::size_t kStripWords = osk::ui::kSuggestionKeys.size();

Instant at(Instant t, double ms) { return t + std::chrono::duration_cast<Instant::duration>(Time(ms)); }

// The person: how long they take, and whether they slip.
class Hands {
 public:
  Hands(const Person& p, std::uint64_t seed) : person_(p), random_(seed) {
    const double m = p.reactionMs;
    const double s = p.spreadMs;
    const double sigma2 = std::log(1 + (s * s) / (m * m));
    reaction_ = std::lognormal_distribution<double>(std::log(m) - sigma2 / 2, std::sqrt(sigma2));
  }
  double reaction() { return reaction_(random_); }
  bool slips() { return std::uniform_real_distribution<double>(0, 1)(random_) < person_.slip; }
  bool coin() { return std::uniform_int_distribution<int>(0, 1)(random_) == 1; }
  // Fitts's law (Shannon form) in key widths: the time per bit times
  // log2(distance / width + 1). Staying on a key still costs a move off it
  // and back, one key width.
  double move(const osk::TwipsRect& from, const osk::TwipsRect& to) const {
    const double dx = (to.left + to.width / 2.0) - (from.left + from.width / 2.0);
    const double dy = (to.top + to.height / 2.0) - (from.top + from.height / 2.0);
    const double width = std::max(1, to.width);
    const double d = std::max(std::hypot(dx, dy), width);
    return person_.moveMs * std::log2(d / width + 1);
  }

 private:
  Person person_;
  std::mt19937_64 random_;
  std::lognormal_distribution<double> reaction_;
};

// The keyboard's window, what it has typed and what its strip shows.
class Keyboard {
 public:
  Keyboard(std::string goal, bool prediction) : form_(osk::makeMainForm()), goal_(std::move(goal)) {
    if (prediction) form_->setTopBand(osk::ui::kSuggestionStripHeight);
    prediction_ = prediction;
    for (std::size_t i = 0; i < osk::ui::kLetterKeys.size(); ++i)
      keyOf_[static_cast<char>('a' + i)] = id(osk::ui::kLetterKeys.at(i));
    keyOf_[' '] = id(osk::ui::kButtonSpacebar);
    keyOf_['\''] = id(osk::ui::kButtonAposSign);
    keyOf_[','] = id(osk::ui::kButtonComma);
    keyOf_['.'] = id(osk::ui::kButtonFullStop);
    backspace_ = id(osk::ui::kButtonBackspace);
    for (std::size_t i = 0; i < kStripWords; ++i) strip_.at(i) = id(osk::ui::kSuggestionKeys.at(i));
    show();
  }

  // Every control a click acts on, as the keyboard scans them.
  osk::aids::ScanRows rows() const {
    std::vector<osk::aids::ScanItem> items;
    for (const osk::Control& c : form_->controls())
      if (reachable(form_->indexOf(c))) items.push_back({form_->indexOf(c), c.rect()});
    return osk::aids::scanRows(std::move(items));
  }
  bool reachable(KeyId k) const {
    const osk::Control& c = form_->controls().at(k);
    const bool clickable = c.kind() == osk::ControlKind::Button || c.kind() == osk::ControlKind::TextBox;
    return clickable && c.visible() && c.enabled();
  }
  osk::TwipsRect rect(KeyId k) const { return form_->controls().at(k).rect(); }
  // The key beside `k` in its row on one side, if there is one.
  static std::optional<KeyId> beside(KeyId k, bool right, const osk::aids::ScanRows& rows) {
    for (const auto& row : rows)
      for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] != k) continue;
        if (right && i + 1 < row.size()) return row[i + 1];
        if (!right && i > 0) return row[i - 1];
        return std::nullopt;
      }
    return std::nullopt;
  }

  const std::string& typedText() const { return typed_; }
  // How much of the text is typed as it should be.
  long long charactersRight() const {
    std::size_t n = 0;
    while (n < typed_.size() && n < goal_.size() && typed_[n] == goal_[n]) ++n;
    return static_cast<long long>(n);
  }
  bool done() const { return typed_ == goal_ || typed_ == goal_ + " "; }
  bool backspace(KeyId k) const { return k == backspace_; }
  std::size_t lettersTyped() const { return tracker_.word().size(); }
  static std::size_t rowOf(const osk::aids::ScanRows& rows, KeyId k) {
    for (std::size_t r = 0; r < rows.size(); ++r)
      if (std::ranges::find(rows[r], k) != rows[r].end()) return r;
    return 0;
  }
  std::size_t stripRow(const osk::aids::ScanRows& rows) const { return rowOf(rows, strip_.front()); }
  std::size_t letterRow(const osk::aids::ScanRows& rows) const { return rowOf(rows, keyOf_.at('q')); }

  // The key the person wants next.
  KeyId wanted() const {
    const std::size_t n = typed_.size();
    const bool onTrack = goal_.compare(0, n, typed_) == 0 && n <= goal_.size();
    // A chosen word typed its space before the mark the text has next: the
    // mark goes in before that space.
    const bool markDue = !onTrack && afterChoice_ && n > 0 &&
                         goal_.compare(0, n - 1, typed_, 0, n - 1) == 0 && n - 1 < goal_.size() &&
                         (goal_[n - 1] == '.' || goal_[n - 1] == ',');
    if (markDue) return keyOf_.at(goal_[n - 1]);
    if (!onTrack || n >= goal_.size()) return backspace_;
    if (osk::predict::isWordCharacter(static_cast<unsigned char>(goal_[n]))) {
      std::size_t start = n;
      while (start > 0 && osk::predict::isWordCharacter(static_cast<unsigned char>(goal_[start - 1])))
        --start;
      std::size_t end = n;
      while (end < goal_.size() && osk::predict::isWordCharacter(static_cast<unsigned char>(goal_[end])))
        ++end;
      const std::string word = goal_.substr(start, end - start);
      // After a Backspace into a word the keyboard no longer knows its
      // letters, and a suggestion would type the whole word again: the
      // person types on.
      const bool known = osk::predict::fold(tracker_.word()) == goal_.substr(start, n - start);
      for (std::size_t i = 0; i < shown_.size(); ++i)
        if (known && osk::predict::fold(shown_[i]) == word) return strip_.at(i);
    }
    return keyOf_.at(goal_[n]);
  }

  // What a click of `k` types; false when it typed something unwanted.
  bool click(KeyId k) {
    const KeyId want = wanted();
    if (k == backspace_) {
      if (!typed_.empty()) typed_.pop_back();
      tracker_.backspace();
      afterChoice_ = false;
    } else if (const auto slot = stripSlot(k)) {
      if (*slot < shown_.size()) {
        const std::string letters = tracker_.word();
        const std::string chosen = shown_.at(*slot);
        if (tracker_.choose(chosen)) {
          typed_ += osk::predict::fold(chosen).substr(letters.size());
          typed_ += ' ';
          afterChoice_ = true;
        }
      }
    } else {
      for (const auto& [ch, key] : keyOf_) {
        if (key != k) continue;
        if (tracker_.typed(static_cast<char32_t>(ch)).has_value() && !typed_.empty() &&
            typed_.back() == ' ') {
          typed_.back() = ch;
          typed_ += ' ';
        } else {
          typed_ += ch;
        }
        afterChoice_ = false;
      }
    }
    show();
    return k == want;
  }

  // The letter keys word prediction expects next.
  bool likely(KeyId k) const {
    return std::ranges::any_of(osk::aids::likelyNextLetters(tracker_.word(), shown_),
                               [&](char c) { return keyOf_.contains(c) && keyOf_.at(c) == k; });
  }

 private:
  KeyId id(osk::KeyboardControl name) const { return form_->indexOf(form_->control(name)); }
  std::optional<std::size_t> stripSlot(KeyId k) const {
    for (std::size_t i = 0; i < kStripWords; ++i)
      if (strip_.at(i) == k) return i;
    return std::nullopt;
  }
  void show() {
    shown_.clear();
    if (!prediction_) return;
    for (std::string& s : tracker_.suggestions()) {
      if (shown_.size() == kStripWords) break;
      shown_.push_back(std::move(s));
    }
  }

  std::unique_ptr<osk::KeyboardForm> form_;
  std::string goal_;
  bool prediction_ = false;
  std::map<char, KeyId> keyOf_;
  KeyId backspace_ = 0;
  std::array<KeyId, kStripWords> strip_{};
  osk::Predictor predictor_;
  osk::WordTracker tracker_{predictor_};
  std::vector<std::string> shown_;
  std::string typed_;
  bool afterChoice_ = false;
};

double minutesSince(Instant start, Instant end) {
  return std::chrono::duration<double, std::ratio<60>>(end - start).count();
}

// A person who gets nowhere stops: a timing that makes every press late
// types nothing, and the figure says so instead of running for ever.
constexpr double kMinutesPerCharacterCap = 2;

Result scan(const std::string& goal, const Person& person, const Run& run) {
  Keyboard kb(goal, run.prediction);
  Hands hands(person, run.seed);
  osk::aids::ScanStepTuner tuner(Millis{run.stepMs});
  osk::aids::Scanner scanner(Millis{run.stepMs}, [&kb](KeyId k) { return kb.reachable(k); });
  if (run.tuned) scanner.setGrace(osk::aids::kLatePressGrace);
  const osk::aids::ScanRows rows = kb.rows();
  const std::size_t stripRow = kb.stripRow(rows);
  const std::size_t letterRow = kb.letterRow(rows);
  const auto firstRow = [&] {
    if (!run.prediction) return std::size_t{0};
    const bool strip = run.stripAfter < 0 ? osk::aids::scanStripFirst(kb.lettersTyped())
                                          : kb.lettersTyped() >= static_cast<std::size_t>(run.stripAfter);
    return strip ? stripRow : letterRow;
  };
  Result result;
  const Instant start{};
  Instant now = start;
  scanner.setFirstRow(firstRow());
  scanner.start(now, rows);
  std::optional<Instant> press;
  std::optional<Instant> seen;  // the light the person last looked at
  const double cap = kMinutesPerCharacterCap * static_cast<double>(goal.size() + 1);
  while (!kb.done()) {
    if (minutesSince(start, now) > cap) break;
    using Stage = osk::aids::Scanner::Stage;
    if (!press && scanner.stage() == Stage::Resting) {
      press = at(now, hands.reaction());
    } else if (!press && seen != scanner.litSince()) {
      seen = scanner.litSince();
      const KeyId want = kb.wanted();
      const std::vector<KeyId> lit = scanner.lit();
      const bool aimed = scanner.stage() == Stage::Rows ? std::ranges::find(lit, want) != lit.end()
                                                        : lit == std::vector<KeyId>{want};
      if (aimed) {
        double r = hands.reaction();
        // A slip: the press comes a step late and lands on the next item.
        if (hands.slips()) r += static_cast<double>(tuner.step().count());
        press = at(now, r);
      }
    }
    const std::optional<Millis> wake = scanner.wakeIn(now);
    if (press && (!wake || *press <= now + *wake)) {
      now = *press;
      press.reset();
      const bool picking = scanner.stage() != Stage::Resting;
      const Millis reaction = std::chrono::duration_cast<Millis>(now - scanner.litSince());
      const std::optional<KeyId> key = scanner.pressed(now);
      if (picking && run.tuned) tuner.picked(reaction);
      if (key) {
        if (!kb.click(*key)) ++result.errors;
        if (run.tuned) tuner.clicked(kb.backspace(*key));
        static_cast<void>(scanner.reachChanged(now));
        scanner.setFirstRow(firstRow());
        scanner.relightRows(now);
      }
      if (run.tuned) scanner.setStep(tuner.step());
      continue;
    }
    if (!wake) throw std::runtime_error("the scan stopped");
    now += *wake;
    scanner.tick(now);
  }
  result.characters = kb.charactersRight();
  result.finished = kb.done();
  result.minutes = minutesSince(start, now);
  result.finalStepMs = run.tuned ? tuner.step().count() : run.stepMs;
  return result;
}

Result hover(const std::string& goal, const Person& person, const Run& run) {
  Keyboard kb(goal, run.prediction);
  Hands hands(person, run.seed);
  const osk::aids::ScanRows rows = kb.rows();
  osk::aids::DwellTuner tuner(Millis{run.dwellMs}, Millis{run.dwellMs});
  osk::aids::DwellOptions options;
  options.dwellTime = Millis{run.dwellMs};
  osk::aids::DwellClicker dwell(options);
  if (run.tuned) osk::aids::followTuner(dwell, &tuner, [&kb](KeyId k) { return kb.likely(k); });
  Result result;
  const Instant start{};
  Instant now = start;
  KeyId on = kb.wanted();
  const osk::aids::PointerAt away{-100, -100};
  const auto centre = [&kb](KeyId k) {
    const osk::TwipsRect r = kb.rect(k);
    return osk::aids::PointerAt{r.left + r.width / 2, r.top + r.height / 2};
  };
  // Moves from the key the pointer is on to `to`, settles and rests there.
  const auto reach = [&](KeyId to) {
    static_cast<void>(dwell.moved(now, away, std::nullopt));
    now = at(now, hands.move(kb.rect(on), kb.rect(to)) + hands.reaction());
    static_cast<void>(dwell.moved(now, centre(to), to));
    on = to;
  };
  // Lets the rest run until `until` (or its click); the key clicked, if any.
  const auto rest = [&](std::optional<Instant> until) -> std::optional<KeyId> {
    for (;;) {
      const std::optional<Millis> wake = dwell.wakeIn(now);
      if (!wake) return std::nullopt;
      if (until && now + *wake > *until) return std::nullopt;
      now += *wake;
      if (const std::optional<KeyId> k = dwell.tick(now)) return k;
    }
  };
  const double cap = kMinutesPerCharacterCap * static_cast<double>(goal.size() + 1);
  while (!kb.done()) {
    if (minutesSince(start, now) > cap) break;
    const KeyId want = kb.wanted();
    std::optional<KeyId> land = want;
    if (hands.slips()) {
      const bool right = hands.coin();
      land = kb.beside(want, right, rows);
      if (!land) land = kb.beside(want, !right, rows);
      if (!land) land = want;
    }
    reach(*land);
    std::optional<KeyId> clicked;
    if (*land != want) {
      // The person sees the pointer on the wrong key and moves on, unless
      // the rest runs out first.
      clicked = rest(at(now, hands.reaction()));
      if (!clicked) {
        now = at(now, 0);
        reach(want);
      }
    }
    if (!clicked) clicked = rest(std::nullopt);
    if (!clicked) throw std::runtime_error("a rest never clicked");
    if (!kb.click(*clicked)) ++result.errors;
    if (run.tuned) tuner.clicked(kb.backspace(*clicked));
  }
  result.characters = kb.charactersRight();
  result.finished = kb.done();
  result.minutes = minutesSince(start, now);
  result.finalStepMs = run.tuned ? tuner.rest().count() : run.dwellMs;
  return result;
}

}  // namespace

std::string typeable(const std::string& text) {
  std::string out;
  for (const char raw : text) {
    const auto u = static_cast<unsigned char>(raw);
    char c = static_cast<char>(std::tolower(u));
    if (u >= 0x80) continue;  // outside the letters the simulated person types
    if (std::isalpha(static_cast<unsigned char>(c)) == 0 && c != '\'' && c != '.' && c != ',') c = ' ';
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    // A mark always comes straight after a word.
    if ((c == '.' || c == ',') && !out.empty() && out.back() == ' ') out.pop_back();
    if ((c == '.' || c == ',') && (out.empty() || out.back() == '.' || out.back() == ',')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

Result type(const std::string& text, const Person& person, const Run& run) {
  return run.method == Method::Scan ? scan(text, person, run) : hover(text, person, run);
}

}  // namespace handsfree
