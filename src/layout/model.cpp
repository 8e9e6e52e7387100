#include "layout/model.h"

#include <stdexcept>
#include <utility>

namespace osk {

std::optional<TextId> iconWords(Icon icon) {
  // One icon per line, read as a table.
  // clang-format off
  switch (icon) {
    case Icon::None: return std::nullopt;
    case Icon::Scissors: return TextId::IconCut;
    case Icon::Copy: return TextId::IconCopy;
    case Icon::PasteBrush: return TextId::IconPaste;
    case Icon::Calculator: return TextId::IconCalculator;
    case Icon::AtSign: return TextId::IconEmail;
    case Icon::Coin: return TextId::IconCoin;
    case Icon::BinUpArrow: return TextId::IconAutoDelete;
    case Icon::BinLeftArrow: return TextId::IconAutoBackspace;
    case Icon::RedCross: return TextId::IconEsc;
    case Icon::House: return TextId::IconHome;
    case Icon::PrinterWindow: return TextId::IconCaptureWindow;
    case Icon::PrinterMonitor: return TextId::IconCaptureScreen;
    case Icon::GreenTick: return TextId::IconEnter;
    case Icon::Bin: return TextId::IconDelete;
    case Icon::StopSign: return TextId::IconEnd;
    case Icon::UpArrowPadlock: return TextId::IconLock;
    case Icon::UpArrow: return TextId::IconShift;
    case Icon::BlueUp: return TextId::IconUp;
    case Icon::BlueDown: return TextId::IconDown;
    case Icon::BlueLeft: return TextId::IconLeft;
    case Icon::BlueRight: return TextId::IconRight;
    case Icon::PageUp: return TextId::IconPageUp;
    case Icon::PageDown: return TextId::IconPageDown;
    case Icon::WindowFlag: return TextId::IconWindows;
    case Icon::PointerMenu: return TextId::IconContextMenu;
    case Icon::CommandPrompt: return TextId::IconCommandPrompt;
    case Icon::RunInternal: return TextId::IconRunCommandLine;
    case Icon::PadlockMonitor: return TextId::IconLockWorkstation;
  }
  // clang-format on
  return std::nullopt;
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

void Control::applyTexts(const TextSource& text) {
  if (const std::optional<TextId> icon = iconWords(def_.icon)) {
    iconName_ = text(*icon);
    // The native control carries the name; it is told as of a new caption.
    if (caption_.empty()) notify(Property::Caption);
  }
  if (!def_.words) return;
  if (kind() == ControlKind::DropDown) {
    def_.items.front() = text(*def_.words);
    notify(Property::Caption);  // the host reads the items again
    return;
  }
  std::string words = fillIn(text(*def_.words), {def_.wordsValue});
  const bool atDesign = (kind() == ControlKind::TextBox ? text_ : caption_) == def_.caption;
  def_.caption = std::move(words);
  if (atDesign) kind() == ControlKind::TextBox ? setText(def_.caption) : setCaption(def_.caption);
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

void Form::setTitleWords(TextId id) {
  titleWords_ = id;
  title_ = englishText(id);
}

void Form::applyTexts(const TextSource& text) {
  for (Control& c : controls_) c.applyTexts(text);
  if (!titleWords_) return;
  std::string title = text(*titleWords_);
  if (title == title_) return;
  title_ = std::move(title);
  if (observer_ != nullptr) observer_->titleChanged();
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
