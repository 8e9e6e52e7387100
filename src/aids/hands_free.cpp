#include "aids/hands_free.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/word_prediction.h"
#include "layout/main_window.h"
#include "platform/log.h"

namespace osk::aids {
namespace {}  // namespace

HandsFree::HandsFree(Context& ctx, const Router& keyboardRoutes)
    : ctx_(ctx),
      router_(keyboardRoutes),
      dwell_(dwellOptions_),
      scanner_(settings_.scanStep, [this](KeyId key) { return reachable(key); }),
      backspace_(ctx.main.indexOf(ctx.main.control(ui::kButtonBackspace))) {
  dwell_.setPauseKey(ctx_.main.indexOf(ctx_.main.control(ui::kHoverPauseButton)));
  ctx_.main.setReachWatcher([this](Reach what) { reachChanged(what); });
}

void HandsFree::route(KeyboardRoutes& router) {
  router.on(ui::kHoverPauseButton, Event::Click, [this] { pauseClicked(); });
  // Both are one-shots set afresh for every wake-up; these intervals are
  // only where they start.
  router.every(ui::kHoverTimer, dwellOptions_.paintStep, [this] { hoverTick(); });
  router.every(ui::kScanTimer, settings_.scanStep, [this] { scanTick(); });
  router.every(ui::kFadeTimer, Fader::kLookAgain, [this] { fadeTick(); });
}

HandsFree::~HandsFree() { ctx_.main.setReachWatcher(nullptr); }

void HandsFree::load() {
  suspended_ = false;
  applySettings();
}

void HandsFree::applySettings() {
  settings_ = readAidSettings(ctx_.platform.store);
  dwellOptions_.dwellTime = settings_.dwellTime;
  dwell_.setOptions(dwellOptions_);
  if (!settings_.dwellClick) static_cast<void>(dwell_.left(now()));
  ctx_.main.control(ui::kHoverPauseButton).setEnabled(settings_.dwellClick);
  if (settings_.tuneTiming) {
    stepTuner_.emplace(settings_.scanStepTuned);
    restTuner_.emplace(settings_.dwellTime, settings_.dwellTimeTuned, settings_.dwellLeave);
    followTuner(dwell_, &*restTuner_, [this](KeyId key) { return likely(key); });
  } else {
    stepTuner_.reset();
    restTuner_.reset();
    followTuner(dwell_, nullptr);
  }
  scanner_.setStep(settings_.scanStepInUse());
  scanner_.setGrace(settings_.tuneTiming ? kLatePressGrace : Millis{0});
  fader_.setOptions(readFadeOptions(ctx_.platform.store), now());
  restartScan();
  rearm();
}

void HandsFree::applyFade(std::optional<bool> on) {
  FadeOptions options = readFadeOptions(ctx_.platform.store);
  if (on) options.on = *on;
  fader_.setOptions(options, now());
  rearmFade();
}

void HandsFree::stop() {
  static_cast<void>(dwell_.left(now()));
  fader_.setOptions(FadeOptions{}, now());
  scanner_.stop();
  suspended_ = true;
  restartScan();
  rearm();
}

void HandsFree::suspend() {
  suspended_ = true;
  restartScan();
  rearm();
}

void HandsFree::resume() {
  suspended_ = false;
  restartScan();
  rearm();
}

void HandsFree::setRestRadius(int pixels) {
  dwellOptions_.restRadius = pixels;
  dwell_.setOptions(dwellOptions_);
}

void HandsFree::pointerMoved(PointerAt at, std::optional<KeyId> control) {
  // Whole again before anything else sees the move, so that no rest on a
  // key begins on a faded keyboard. Moves that change nothing set no timer.
  const bool wasAway = fader_.layered() && (fader_.faded() || !fader_.over());
  fader_.pointerOver(now());
  if (wasAway) rearmFade();
  if (!settings_.dwellClick) return;
  const std::optional<KeyId> due = dwell_.moved(now(), at, hoverKey(control));
  rearm();
  hoverClick(due);
}

void HandsFree::pointerLeft() {
  fader_.pointerLeft(now());
  rearmFade();
  const std::optional<KeyId> due = dwell_.left(now());
  rearm();
  hoverClick(due);
}

void HandsFree::buttonDown(KeyId control) {
  if (const std::optional<KeyId> key = hoverKey(control)) dwell_.clickedOtherwise(*key);
  rearm();
}

void HandsFree::switchPressed() {
  const bool picking = scanner_.stage() == Scanner::Stage::Rows || scanner_.stage() == Scanner::Stage::Keys;
  const Instant t = now();
  const auto reaction = std::chrono::duration_cast<Millis>(t - scanner_.litSince());
  const std::optional<KeyId> chosen = scanner_.pressed(t);
  if (stepTuner_ && picking) stepTuner_->picked(reaction);
  rearm();
  click(chosen);
  if (!chosen) {
    storeTuned();
    return;
  }
  if (stepTuner_) stepTuner_->clicked(*chosen == backspace_);
  storeTuned();
  scanner_.setFirstRow(firstRow());
  scanner_.relightRows(now());
  rearm();
}

void HandsFree::hoverClick(std::optional<KeyId> key) {
  click(key);
  if (!key || !restTuner_) return;
  restTuner_->clicked(*key == backspace_);
  storeTuned();
}

// Stored as the tuning moves, so that a restart goes on from where it was.
void HandsFree::storeTuned() {
  if (!stepTuner_ || !restTuner_) return;
  const Millis step = stepTuner_->step();
  const Millis rest = restTuner_->rest();
  const std::optional<Millis> leave = restTuner_->leaving();
  scanner_.setStep(step);
  if (step == settings_.scanStepTuned && rest == settings_.dwellTimeTuned && leave == settings_.dwellLeave)
    return;
  settings_.scanStepTuned = step;
  settings_.dwellTimeTuned = rest;
  settings_.dwellLeave = leave;
  settings::Saver saver(ctx_.platform.store);
  saveTunedTimes(saver, step, rest, leave);
  if (!saver.refused().empty()) logFailure("the tuned scan step and hover times were not stored");
}

std::size_t HandsFree::firstRow() const {
  if (!ctx_.prediction) return 0;
  const Control& strip = ctx_.main.control(ui::kSuggestionKeys.front());
  if (!strip.visible()) return 0;
  const ScanRows all = rows();
  const auto rowOf = [&all](KeyId key) {
    for (std::size_t r = 0; r < all.size(); ++r)
      if (std::ranges::find(all[r], key) != all[r].end()) return r;
    return std::size_t{0};
  };
  return scanStripFirst(ctx_.prediction->word().size())
             ? rowOf(ctx_.main.indexOf(strip))
             : rowOf(ctx_.main.indexOf(ctx_.main.control(ui::kButtonLetterQ)));
}

// A letter key is likely when a word on the strip goes on with its letter.
bool HandsFree::likely(KeyId key) const {
  if (!ctx_.prediction) return false;
  std::vector<std::string> shown;
  shown.reserve(ui::kSuggestionKeys.size());
  for (const KeyboardControl name : ui::kSuggestionKeys) shown.push_back(ctx_.main.control(name).caption());
  const std::vector<char> next = likelyNextLetters(ctx_.prediction->word(), shown);
  for (std::size_t i = 0; i < ui::kLetterKeys.size(); ++i)
    if (ctx_.main.indexOf(ctx_.main.control(ui::kLetterKeys.at(i))) == key)
      return std::ranges::find(next, static_cast<char>('a' + i)) != next.end();
  return false;
}

void HandsFree::pauseClicked() {
  dwell_.setPaused(!dwell_.paused());
  ctx_.main.control(ui::kHoverPauseButton)
      .setCaption(ctx_.platform.texts.text(dwell_.paused() ? TextId::HoverPausedKey : TextId::HoverOnKey));
  rearm();
}

void HandsFree::hoverTick() {
  // A one-shot: stopped first, so that setting it again below restarts its
  // countdown from now instead of from its last expiry.
  ctx_.main.enableTimer(ui::kHoverTimer, false);
  const std::optional<KeyId> due = dwell_.tick(now());
  rearm();
  hoverClick(due);
}

void HandsFree::scanTick() {
  ctx_.main.enableTimer(ui::kScanTimer, false);
  scanner_.tick(now());
  rearm();
}

void HandsFree::fadeTick() {
  ctx_.main.enableTimer(ui::kFadeTimer, false);
  fader_.tick(now(), ctx_.platform.look.pointerOver(ctx_.main));
  rearmFade();
}

void HandsFree::rearmFade() {
  arm(ui::kFadeTimer, fader_.wakeIn(now()));
  showLook();
}

void HandsFree::showLook() {
  const std::pair<bool, int> look{fader_.layered(), fader_.opacity()};
  if (look_ == look) return;
  // A window never layered stays as it was: nothing to tell the host.
  if (!look_ && !look.first) return;
  look_ = look;
  ctx_.platform.look.setOpacity(ctx_.main, look.first, look.second);
}

void HandsFree::click(std::optional<KeyId> key) {
  if (!key || *key >= ctx_.main.controls().size()) return;
  const Control& c = ctx_.main.controls()[*key];
  // A key disabled since the hover began cannot be clicked with the mouse
  // either.
  if (!c.enabled()) return;
  ctx_.windows.handle(ctx_.main, *key, Event::Click);
  // The click may have changed what runs (a dialog closed, settings applied).
  rearm();
}

void HandsFree::restartScan() {
  const bool on = settings_.scanMode && !suspended_;
  if (on) {
    scanner_.setFirstRow(firstRow());
    scanner_.start(now(), rows());
  } else {
    scanner_.stop();
  }
  fader_.setHeld(on, now());
  rearmFade();
  const std::optional<SwitchKey> wanted =
      on ? std::optional(SwitchKey{settings_.switchVk, settings_.injectedSwitch}) : std::nullopt;
  if (wanted != caught_) {
    caught_ = wanted;
    ctx_.platform.switches.catchSwitch(wanted);
  }
}

void HandsFree::arm(KeyboardTimer timer, std::optional<Millis> wait) {
  ctx_.main.enableTimer(timer, false);
  if (wait) ctx_.main.setTimer(timer, true, static_cast<int>(wait->count()));
}

void HandsFree::rearm() {
  const Instant t = now();
  arm(ui::kHoverTimer, dwell_.wakeIn(t));
  arm(ui::kScanTimer, scanner_.wakeIn(t));
  showMarks();
}

void HandsFree::showMarks() {
  const DwellFace face = dwell_.face(now());
  ctx_.main.setAidMarks({face.key, face.progress, scanner_.lit()});
}

// Told at the moment a key goes off or comes on, so that no light stays on a
// key that is off even for the rest of a step, and with no timer to look.
void HandsFree::reachChanged(Reach what) {
  if (scanner_.stage() == Scanner::Stage::Stopped) return;
  // Every key moved and a row came or went: the rows are made again.
  if (what == Reach::Band) {
    restartScan();
    rearm();
    return;
  }
  // Only a light that moved needs its timer set again: a group of keys
  // turned on one by one costs no timer calls.
  if (scanner_.reachChanged(now()))
    rearm();
  else
    showMarks();
}

bool HandsFree::reachable(KeyId key) const {
  const Control& c = ctx_.main.controls()[key];
  return c.enabled() && c.visible();
}

std::optional<KeyId> HandsFree::hoverKey(std::optional<KeyId> control) const {
  if (!control || *control >= ctx_.main.controls().size()) return std::nullopt;
  const Control& c = ctx_.main.controls()[*control];
  if (c.kind() != ControlKind::Button || !c.enabled() || !c.visible() ||
      !router_.handles(*control, Event::Click))
    return std::nullopt;
  return control;
}

// Every shown control a click acts on, the keys and the command line, off
// or on: the scanner asks which are on at each light.
ScanRows HandsFree::rows() const {
  std::vector<ScanItem> items;
  for (const Control& c : ctx_.main.controls()) {
    const bool clickable = c.kind() == ControlKind::Button || c.kind() == ControlKind::TextBox;
    // The suggestion strip's keys count only while the strip shows; hidden,
    // they would sit over the title row.
    if (clickable && c.visible() && router_.handles(ctx_.main.indexOf(c), Event::Click))
      items.push_back({ctx_.main.indexOf(c), c.rect()});
  }
  return scanRows(std::move(items));
}

void registerHandsFree(KeyboardRoutes& router, Context& ctx) {
  if (!ctx.handsFree) throw std::logic_error("the typing aids are routed before they are made");
  ctx.handsFree->route(router);
}

}  // namespace osk::aids
