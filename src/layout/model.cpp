#include "layout/model.h"

#include <stdexcept>
#include <utility>

namespace osk {

std::string_view iconName(Icon icon) {
  // One icon per line, read as a table.
  // clang-format off
  switch (icon) {
    case Icon::None: return "";
    case Icon::Scissors: return "Cut";
    case Icon::Copy: return "Copy";
    case Icon::PasteBrush: return "Paste";
    case Icon::Calculator: return "Calculator";
    case Icon::AtSign: return "E-mail address";
    case Icon::Coin: return "Coin address";
    case Icon::BinUpArrow: return "Auto delete";
    case Icon::BinLeftArrow: return "Auto backspace";
    case Icon::RedCross: return "Esc";
    case Icon::House: return "Home";
    case Icon::PrinterWindow: return "Capture window";
    case Icon::PrinterMonitor: return "Capture screen";
    case Icon::GreenTick: return "Enter";
    case Icon::Bin: return "Delete";
    case Icon::StopSign: return "End";
    case Icon::UpArrowPadlock: return "Lock";
    case Icon::UpArrow: return "Shift";
    case Icon::BlueUp: return "Up";
    case Icon::BlueDown: return "Down";
    case Icon::BlueLeft: return "Left";
    case Icon::BlueRight: return "Right";
    case Icon::PageUp: return "Page Up";
    case Icon::PageDown: return "Page Down";
    case Icon::WindowFlag: return "Windows";
    case Icon::PointerMenu: return "Context menu";
    case Icon::CommandPrompt: return "Command prompt";
    case Icon::RunInternal: return "Run command line";
    case Icon::PadlockMonitor: return "Lock workstation";
  }
  // clang-format on
  return "";
}

TwipsRect Control::rect() const {
  TwipsRect r = def_.rect;
  if (!def_.inTopBand && owner_ != nullptr) r.top += owner_->topBand();
  return r;
}

bool Control::visible() const {
  if (def_.inTopBand) return owner_ != nullptr && owner_->topBand() > 0;
  if (def_.inSideBand) return owner_ != nullptr && owner_->sideBand() > 0;
  return true;
}

void Control::notify(Property p) {
  if (owner_ != nullptr && owner_->observer() != nullptr) owner_->observer()->controlChanged(*this, p);
}

void Control::setCaption(std::string_view caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  notify(Property::Caption);
}

void Control::setBack(Color back) {
  if (back_ == back) return;
  back_ = back;
  notify(Property::Back);
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  notify(Property::Enabled);
  if (owner_ != nullptr) owner_->reachChanged(Reach::Enabling);
}

void Control::setText(std::string_view text) {
  if (kind() != ControlKind::TextBox) {
    setCaption(text);
    return;
  }
  if (text_ == text) return;
  text_ = text;
  notify(Property::Text);
}

void Control::setValue(int value) {
  if (value_ == value) return;
  value_ = value;
  notify(Property::Value);
}

void Control::restoreDesign() {
  setCaption(def_.caption);
  setBack(def_.back);
  setEnabled(true);
  if (kind() == ControlKind::TextBox) setText(def_.caption);
  setValue(0);
}

Form::Form(std::string name, std::string title, int clientWidth, int clientHeight,
           std::vector<Control::Def> controls, std::vector<Timer> timers)
    : name_(std::move(name)),
      title_(std::move(title)),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight),
      timers_(std::move(timers)) {
  controls_.reserve(controls.size());
  for (auto& def : controls) {
    auto [it, fresh] = index_.emplace(def.name, controls_.size());
    if (!fresh) throw std::logic_error("duplicate control " + def.name);
    controls_.emplace_back(std::move(def));
  }
  // Pointers into the vector are stable from here on: it never grows again.
  for (auto& c : controls_) c.owner_ = this;
}

Control* Form::find(std::string_view name) {
  auto it = index_.find(std::string(name));
  return it == index_.end() ? nullptr : &controls_[it->second];
}

const Control* Form::find(std::string_view name) const {
  auto it = index_.find(std::string(name));
  return it == index_.end() ? nullptr : &controls_[it->second];
}

Control& Form::control(ControlName name) { return named(name.str()); }

const Control& Form::control(ControlName name) const { return named(name.str()); }

Control& Form::named(std::string_view name) {
  if (Control* c = find(name)) return *c;
  throw std::out_of_range("no control " + std::string(name) + " on " + name_);
}

const Control& Form::named(std::string_view name) const {
  if (const Control* c = find(name)) return *c;
  throw std::out_of_range("no control " + std::string(name) + " on " + name_);
}

Timer* Form::findTimer(std::string_view name) {
  for (auto& t : timers_)
    if (t.name == name) return &t;
  return nullptr;
}

const Timer* Form::findTimer(std::string_view name) const {
  for (const auto& t : timers_)
    if (t.name == name) return &t;
  return nullptr;
}

Timer& Form::timer(TimerName name) { return namedTimer(name.str()); }

Timer& Form::namedTimer(std::string_view name) {
  if (Timer* t = findTimer(name)) return *t;
  throw std::out_of_range("no timer " + std::string(name) + " on " + name_);
}

const Timer& Form::timer(TimerName name) const {
  if (const Timer* t = findTimer(name.str())) return *t;
  throw std::out_of_range("no timer " + std::string(name.str()) + " on " + name_);
}

void Form::setTimer(TimerName name, bool enabled, int intervalMs) {
  Timer& t = timer(name);
  if (t.enabled == enabled && t.intervalMs == intervalMs) return;
  t.enabled = enabled;
  t.intervalMs = intervalMs;
  if (observer_ != nullptr) observer_->timerChanged(t);
}

void Form::enableTimer(TimerName name, bool enabled) { setTimer(name, enabled, timer(name).intervalMs); }

void Form::restartTimer(TimerName name) {
  Timer& t = timer(name);
  t.enabled = true;
  if (observer_ != nullptr) observer_->timerChanged(t);
}

void Form::restoreDesign() {
  for (Control& c : controls_) c.restoreDesign();
}

void Form::setGeometry(const Geometry& g) {
  if (geometry_ == g) return;
  geometry_ = g;
  if (observer_ != nullptr) observer_->geometryChanged(g);
}

void Form::setTopBand(int twips) {
  if (topBand_ == twips) return;
  topBand_ = twips;
  if (observer_ != nullptr) observer_->layoutChanged();
  reachChanged(Reach::Band);
}

void Form::setSideBand(int twips) {
  if (sideBand_ == twips) return;
  sideBand_ = twips;
  if (observer_ != nullptr) observer_->layoutChanged();
  reachChanged(Reach::Band);
}

void Form::setAidMarks(AidMarks marks) {
  if (aidMarks_ == marks) return;
  AidMarks before = std::exchange(aidMarks_, std::move(marks));
  if (observer_ != nullptr) observer_->aidMarksChanged(before, aidMarks_);
}

}  // namespace osk
