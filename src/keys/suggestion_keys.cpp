#include "keys/suggestion_keys.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "aids/aid_settings.h"
#include "base/keyboard_state.h"
#include "delivery/send.h"
#include "keys/character_keys.h"
#include "keys/numpad_keys.h"
#include "keystring/utf8.h"
#include "layout/main_window.h"
#include "platform/log.h"
#include "predict/learned_words.h"
#include "predict/predictor.h"
#include "predict/word_tracker.h"
#include "screen/window_fit.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

// A learned word is stored within this long, not at every key: a crash
// loses at most the last few seconds of learning.
constexpr std::chrono::milliseconds kLearnedSaveDelay(5000);

// The scale the keys are drawn at in a window without the strip, measured
// on the outer size as the design size is.
float layoutScale(float width, float height, float designHeight) {
  const Geometry& d = settings::kMainGeometry.defaults;
  return std::min(width / d.width, height / designHeight);
}

// The one character a key string stands for: "x" or "{x}" alone; nothing
// for a key string of more, or of a character the notation reads as a key.
std::optional<char32_t> singleCharacter(std::string_view keys) {
  std::string_view inner = keys;
  const bool braced = keys.size() > 2 && keys.front() == '{' && keys.back() == '}';
  if (braced) inner = keys.substr(1, keys.size() - 2);
  char32_t ch = 0;
  const std::size_t length = decodeUtf8(inner, 0, ch);
  if (length == 0 || length != inner.size()) return std::nullopt;
  if (!braced && std::string_view("+^%~{}()").find(static_cast<char>(ch)) != std::string_view::npos &&
      ch < 0x80)
    return std::nullopt;
  return ch;
}

}  // namespace

Geometry withSuggestionStrip(const Geometry& g) {
  const float design = settings::kMainGeometry.defaults.height;
  const float band = static_cast<float>(ui::kSuggestionStripHeight) * layoutScale(g.width, g.height, design);
  Geometry out = g;
  out.top -= band;
  out.height += band;
  return out;
}

Geometry withoutSuggestionStrip(const Geometry& g) {
  // With the band the design is that much taller; the scale read from it is
  // the scale the window had before the band was added.
  const auto strip = static_cast<float>(ui::kSuggestionStripHeight);
  const float design = settings::kMainGeometry.defaults.height + strip;
  const float band = strip * layoutScale(g.width, g.height, design);
  Geometry out = g;
  out.top += band;
  out.height -= band;
  return out;
}

TypedKey typedBy(std::string_view keys) {
  using Kind = TypedKey::Kind;
  if (keys == "{BS}" || keys == "{BACKSPACE}" || keys == "{BKSP}") return {Kind::Backspace, 0};
  if (keys == "{ENTER}" || keys == "~") return {Kind::Character, U'\n'};
  if (keys == "{TAB}") return {Kind::Character, U'\t'};
  // The character keys' shifted faces may go as Shift plus a digit, for
  // the target's layout to make the character: the table says which.
  for (const CharacterKey& key : characterKeys()) {
    if (keys != key.shiftedKeys || keys == key.shiftedText) continue;
    // The caption's doubled apostrophe stands for the quote Shift+2 types.
    if (key.shiftedText == "''") return {Kind::Character, U'"'};
    if (const std::optional<char32_t> ch = singleCharacter(key.shiftedText)) return {Kind::Character, *ch};
  }
  if (const std::optional<char32_t> ch = singleCharacter(keys)) return {Kind::Character, *ch};
  return {Kind::Other, 0};
}

namespace {

class SuggestionStrip final : public WordPrediction {
 public:
  explicit SuggestionStrip(Context& ctx) : ctx_(ctx), file_(ctx.platform.learnedWords) {}

  Geometry open(const Geometry& stored) override {
    if (!chosen()) return stored;
    // The strip stays blank until the first target is recorded, a second
    // on: the word list loads then (about 50 ms), not in the start-up.
    switchOn();
    return keepTopOnScreen(withSuggestionStrip(stored), stored.top, ctx_.platform.host.monitorWorkAreas());
  }

  Geometry stored(const Geometry& shown) const override {
    return on() ? withoutSuggestionStrip(shown) : shown;
  }

  void settingsChanged() override {
    const bool want = chosen();
    if (want == on()) return;
    const Geometry shown = ctx_.main.geometry();
    // The strip's band is reckoned on the keys alone: the number pad's band
    // comes off first and goes back on after.
    const Geometry keys = storedWithoutNumPad(ctx_.main, shown);
    if (want) {
      switchOn();
      refresh();
      // A keyboard at the top of the screen, or as tall as it, is moved or
      // scaled to keep the strip on it.
      const std::vector<Geometry> areas = ctx_.platform.host.monitorWorkAreas();
      const Geometry grown = shownWithNumPad(ctx_.main, withSuggestionStrip(keys));
      ctx_.main.setGeometry(fitToWorkArea(keepTopOnScreen(grown, shown.top, areas), areas).geometry);
    } else {
      const Geometry without = withoutSuggestionStrip(keys);
      switchOff();
      ctx_.main.setGeometry(shownWithNumPad(ctx_.main, without));
    }
  }

  std::string forget() override {
    if (predictor_) {
      predictor_->forget();
      tracker_->lost();
      refresh();
    }
    ctx_.main.enableTimer(ui::kLearnedWordsSaveTimer, false);
    // Even asked for, an empty file does not go over one that could not be
    // read: its words are unknown here (a sync tool holding it may be
    // bringing another machine's), a wrong wipe cannot be undone, and
    // forgetting again after the next start costs only a click. The user is
    // told the words are still there.
    if (unreadable_) {
      dirty_ = false;
      return notForgottenNote(ctx_.platform.texts, *unreadable_);
    }
    // Empty of words, the file says nothing was learned. Refused, the old
    // file would come back at the next start: tried again at the close.
    // Written as it is, not merged: another keyboard's words go too.
    Predictor empty;
    dirty_ = !file_.replace(predictor_ ? *predictor_ : empty);
    return {};
  }

  void close() override {
    ctx_.main.enableTimer(ui::kLearnedWordsSaveTimer, false);
    save();
  }

  std::optional<std::string> sending(std::string_view keys) override {
    if (!tracker_ || choosing_) return std::nullopt;
    const TypedKey key = typedBy(keys);
    std::optional<std::string> instead;
    switch (key.kind) {
      case TypedKey::Kind::Backspace:
        tracker_->backspace();
        break;
      case TypedKey::Kind::Other:
        tracker_->lost();
        break;
      case TypedKey::Kind::Character: {
        const bool inWord = !tracker_->word().empty();
        instead = tracker_->typed(key.ch);
        // A word typed to its end was learned.
        if (inWord && tracker_->word().empty()) learned();
        break;
      }
    }
    refresh();
    return instead;
  }

  void lost() override {
    if (!tracker_) return;
    tracker_->lost();
    refresh();
  }

  void accentWaits() override {
    if (!tracker_) return;
    tracker_->accentWaits();
    refresh();
  }

  void typedUnknown() override {
    if (!tracker_) return;
    tracker_->typedUnknown();
    refresh();
  }

  std::string word() const override { return tracker_ ? tracker_->word() : std::string(); }

  void refresh() override {
    if (!tracker_) return;
    const std::vector<std::string> words = tracker_->suggestions(letterCase());
    for (std::size_t i = 0; i < ui::kSuggestionKeys.size(); ++i) {
      shown_.at(i) = i < words.size() ? words[i] : std::string();
      ctx_.main.control(ui::kSuggestionKeys.at(i)).setCaption(shown_.at(i));
    }
  }

  // A click on a suggestion types the rest of its word and a space, as any
  // key types: into the recorded target, flashed, the Shift latch spent.
  void clicked(std::size_t index) {
    Control& button = ctx_.main.control(ui::kSuggestionKeys.at(index));
    const std::string word = shown_.at(index);
    if (!tracker_ || word.empty() || target(ctx_) != TargetClass::Real) return;
    const WordTracker::Case letters = letterCase();
    const std::optional<std::string> keys = tracker_->choose(word, letters);
    if (!keys) return;
    choosing_ = true;
    const bool sent = sendStep(ctx_, *keys, &button);
    choosing_ = false;
    if (sent) {
      if (letters.shift) ctx_.state.release(Latch::Shift);
      learned();
    } else {
      tracker_->lost();
    }
    refresh();
  }

  void saveTimer() {
    ctx_.main.enableTimer(ui::kLearnedWordsSaveTimer, false);
    // Told when something learned would first be stored, rather than at the
    // load: the keyboard's Load comes before its window shows.
    if (unreadable_ && !told_) {
      told_ = true;
      ctx_.platform.host.showNote(ctx_.main, ui::kSuggestionKeys.front(),
                                  unreadableNote(ctx_.platform.texts, *unreadable_));
    }
    save();
  }

 private:
  bool on() const { return predictor_ != nullptr; }

  // As the letter keys' faces are drawn: Shift latched and Caps Lock on
  // cancel out for the next letter; the Shift lock leaves letters alone.
  WordTracker::Case letterCase() const {
    return {.shift = ctx_.state.latched(Latch::Shift),
            .capsLock = (ctx_.platform.locks.keyState(LockKey::CapsLock) & 1) != 0};
  }

  bool chosen() const { return aids::readAidSettings(ctx_.platform.store).wordPrediction; }

  void switchOn() {
    predictor_ = std::make_unique<Predictor>();
    // A damaged file has been set aside by now, and the built-in list goes on.
    LearnedWordsLoad load = file_.load(*predictor_);
    if (load.outcome == LearnedWordsLoad::Outcome::Unreadable) {
      logFailure("the learned words could not be read (" + load.reason +
                 "): the file is left as it is, and nothing is stored over it until the next start");
      unreadable_ = std::move(load.reason);
    }
    tracker_ = std::make_unique<WordTracker>(*predictor_);
    ctx_.main.setTopBand(ui::kSuggestionStripHeight);
    setDesignSize();
    // The user's own typing and clicks in the target may move its caret
    // where the keyboard cannot see; refused, the word is only as safe as
    // the keyboard's own keys tell.
    static_cast<void>(ctx_.platform.host.reportInputElsewhere(ctx_.main, true));
  }

  void switchOff() {
    close();
    tracker_.reset();
    predictor_.reset();
    for (std::size_t i = 0; i < ui::kSuggestionKeys.size(); ++i) {
      shown_.at(i).clear();
      ctx_.main.control(ui::kSuggestionKeys.at(i)).setCaption("");
    }
    ctx_.main.setTopBand(0);
    setDesignSize();
    static_cast<void>(ctx_.platform.host.reportInputElsewhere(ctx_.main, false));
  }

  void setDesignSize() { setKeyboardDesignSize(ctx_.main); }

  void learned() {
    dirty_ = true;
    // Counted from the first word since the last save, not restarted by
    // each: typing on and on still stores every few seconds.
    if (!ctx_.main.timer(ui::kLearnedWordsSaveTimer).enabled)
      ctx_.main.restartTimer(ui::kLearnedWordsSaveTimer);
  }

  void save() {
    if (!predictor_ || !dirty_ || unreadable_) return;
    // Refused (a full disk, the other keyboard's save taking long), it stays
    // to be stored at the next word or the close.
    dirty_ = !file_.save(*predictor_);
  }

  Context& ctx_;
  SharedLearnedWords file_;
  std::unique_ptr<Predictor> predictor_;
  std::unique_ptr<WordTracker> tracker_;
  // The words the strip shows, as last drawn: a click chooses the word it
  // shows.
  std::array<std::string, ui::kSuggestionKeys.size()> shown_;
  bool choosing_ = false;  // a suggestion's own keys: already tracked
  bool dirty_ = false;     // learned since the last save
  // Why the file could not be read, once it could not be in this run: from
  // then on nothing is written over it, since it may hold all that was
  // learned before. Kept after the strip is switched off and on again, as
  // the note says.
  std::optional<std::string> unreadable_;
  bool told_ = false;  // the user has had the note about it
};

}  // namespace

std::shared_ptr<WordPrediction> makeSuggestionStrip(Context& ctx) {
  return std::make_shared<SuggestionStrip>(ctx);
}

void registerSuggestionKeys(KeyboardRoutes& router, Context& ctx) {
  auto* s = dynamic_cast<SuggestionStrip*>(ctx.prediction.get());
  if (s == nullptr) throw std::logic_error("the suggestion keys are routed before their strip is made");
  for (std::size_t i = 0; i < ui::kSuggestionKeys.size(); ++i)
    router.on(ui::kSuggestionKeys.at(i), Event::Click, [s, i] { s->clicked(i); });
  router.every(ui::kLearnedWordsSaveTimer, kLearnedSaveDelay, [s] { s->saveTimer(); });
  // A key or click of the user's own in the target may have moved its
  // caret: what the keyboard knows of the text before it is gone, and a
  // mark after a suggestion must not take back a space that may not be
  // there.
  // An accent waiting there may have been taken by it too.
  router.onForm(Event::InputElsewhere, [s, &ctx] {
    if (ctx.waitingAccent) ctx.waitingAccent->dead.reset();
    s->lost();
  });
}

}  // namespace osk
