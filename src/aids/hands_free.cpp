#include "aids/hands_free.h"

#include <memory>
#include <string>
#include <vector>

#include "layout/main_window.h"

namespace osk::aids {
namespace {

constexpr std::string_view kHoverOnCaption = "HOVER ON";
constexpr std::string_view kHoverPausedCaption = "HOVER PAUSED";

}  // namespace

HandsFree::HandsFree(Context& ctx, KeyboardRoutes& router)
    : ctx_(ctx),
      router_(router.router()),
      dwell_(dwellOptions_),
      scanner_(settings_.scanStep, [this](KeyId key) { return reachable(key); }) {
  dwell_.setPauseKey(ctx_.main.indexOf(ctx_.main.control(ui::kHoverPauseButton)));
  ctx_.main.setReachWatcher([this](Reach what) { reachChanged(what); });
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
  scanner_.setStep(settings_.scanStep);
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
  click(due);
}

void HandsFree::pointerLeft() {
  fader_.pointerLeft(now());
  rearmFade();
  const std::optional<KeyId> due = dwell_.left(now());
  rearm();
  click(due);
}

void HandsFree::buttonDown(KeyId control) {
  if (const std::optional<KeyId> key = hoverKey(control)) dwell_.clickedOtherwise(*key);
  rearm();
}

void HandsFree::switchPressed() {
  const std::optional<KeyId> chosen = scanner_.pressed(now());
  rearm();
  click(chosen);
}

void HandsFree::pauseClicked() {
  dwell_.setPaused(!dwell_.paused());
  ctx_.main.control(ui::kHoverPauseButton)
      .setCaption(dwell_.paused() ? kHoverPausedCaption : kHoverOnCaption);
  rearm();
}

void HandsFree::hoverTick() {
  // A one-shot: stopped first, so that setting it again below restarts its
  // countdown from now instead of from its last expiry.
  ctx_.main.enableTimer(ui::kHoverTimer, false);
  const std::optional<KeyId> due = dwell_.tick(now());
  rearm();
  click(due);
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
  if (on)
    scanner_.start(now(), rows());
  else
    scanner_.stop();
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
  ctx.handsFree = std::make_shared<HandsFree>(ctx, router);
}

}  // namespace osk::aids
