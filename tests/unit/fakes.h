// Fakes of the platform seam: they record what the keyboard asked for.
#pragma once

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/keyboard.h"
#include "keys/character_keys.h"
#include "layout/layouts.h"

namespace osk::testing {

class FakeDesktop final : public Desktop {
 public:
  struct Window {
    std::string title;
  };
  std::map<WindowId, Window> windows;
  WindowId foreground = 0;
  std::vector<std::pair<WindowId, std::string>> activations;  // (recorded, title)
  std::vector<std::chrono::milliseconds> patience;            // what each activation was allowed
  std::vector<std::pair<WindowId, bool>> topmostCalls;
  bool refuseActivation = false;

  WindowId foregroundWindow() const override { return foreground; }
  std::string windowTitle(WindowId w) const override {
    auto it = windows.find(w);
    return it == windows.end() ? std::string() : it->second.title;
  }
  bool activate(WindowId recorded, const std::string& title, std::chrono::milliseconds allowed) override {
    activations.emplace_back(recorded, title);
    patience.push_back(allowed);
    if (refuseActivation) return false;
    auto it = windows.find(recorded);
    if (it != windows.end() && it->second.title == title) {
      foreground = recorded;
      return true;
    }
    for (auto& [id, w] : windows) {
      if (w.title == title) {
        foreground = id;
        return true;
      }
    }
    return false;
  }
  void setTopmost(WindowId window, bool topmost) override { topmostCalls.emplace_back(window, topmost); }
  // Levels as a system with them reports them; none by default, as Wine.
  std::map<WindowId, Integrity> levels;
  Integrity own = Integrity::Unknown;
  mutable int levelReads = 0;
  Integrity integrityOf(WindowId w) const override {
    ++levelReads;
    auto it = levels.find(w);
    return it == levels.end() ? Integrity::Unknown : it->second;
  }
  Integrity ownIntegrity() const override { return own; }
  // Each window's answer to a probe; a window not listed answers, as every
  // window of our own account and level does.
  std::map<WindowId, ProbeAnswer> probeAnswers;
  mutable std::vector<WindowId> probed;
  ProbeAnswer probe(WindowId w) const override {
    probed.push_back(w);
    auto it = probeAnswers.find(w);
    return it == probeAnswers.end() ? ProbeAnswer::Answered : it->second;
  }

  // Puts a window with `title` in front, creating it when needed.
  WindowId show(WindowId id, std::string title) {
    windows[id].title = std::move(title);
    foreground = id;
    return id;
  }
};

class FakeInjector final : public KeyInjector {
 public:
  struct Sent {
    std::string keys;         // the key string as the keyboard wrote it
    WindowId foreground = 0;  // the window in front when it was injected
    std::vector<KeyEvent> events;
  };
  std::vector<Sent> sent;
  const FakeDesktop* desktop = nullptr;
  bool refuse = false;

  bool inject(const KeyPlan& plan) override {
    if (refuse) return false;
    sent.push_back({plan.source, desktop ? desktop->foreground : 0, plan.events});
    return true;
  }
  std::vector<std::string> keys() const {
    std::vector<std::string> out;
    for (auto& s : sent) out.push_back(s.keys);
    return out;
  }
};

class FakeLocks final : public LockKeys {
 public:
  std::map<LockKey, std::int16_t> state{
      {LockKey::NumLock, 0}, {LockKey::CapsLock, 0}, {LockKey::ScrollLock, 0}};
  std::int16_t keyState(LockKey key) const override { return state.at(key); }
};

class FakeLauncher final : public Launcher {
 public:
  std::vector<LaunchRequest> requests;
  // How a start of each file ends; a file not listed starts.
  std::map<std::string, LaunchOutcome> outcomes;
  // Keeps the answers back until answerAll(), as a slow system would.
  bool holdAnswers = false;
  std::vector<std::pair<LaunchOutcome, Done>> held;

  void launch(const LaunchRequest& request, Done done) override {
    requests.push_back(request);
    auto it = outcomes.find(request.file);
    LaunchOutcome outcome =
        it == outcomes.end() ? LaunchOutcome{LaunchOutcome::Status::Started, {}} : it->second;
    if (holdAnswers) {
      held.emplace_back(std::move(outcome), std::move(done));
      return;
    }
    done(outcome);
  }
  void answerAll() {
    auto pending = std::move(held);
    held.clear();
    for (auto& [outcome, done] : pending) done(outcome);
  }
};

class FakeHost final : public FormHost {
 public:
  std::vector<std::string> modalShown;  // names of the dialogs, in order
  std::vector<std::string> ownerOf;
  std::map<const Form*, WindowId> windows;
  std::function<void(Form&)> whileModal;  // runs "inside" the modal loop
  struct Note {
    std::string form, control, text;
    std::function<void()> onClick;  // empty for a note that only tells
  };
  std::vector<Note> notes;
  // Where the fake sends a dialog's own events, as the real host does.
  std::function<bool(Form&, std::string_view, Event)> route;
  std::vector<std::string> closeAsked;  // forms the core asked to close
  std::vector<std::string> closedBy;    // per dialog closed: "close" or "titlebar"
  std::vector<const Form*> open;        // shown dialogs, innermost last

  // As the real host: Load, then the modal loop (whileModal stands for what
  // the user does meanwhile), then Unload once, whether the core asked for
  // the close or, when it did not, the user closed the dialog by its title
  // bar.
  void showModal(Form& dialog, Form& owner) override {
    modalShown.push_back(dialog.name());
    ownerOf.push_back(owner.name());
    open.push_back(&dialog);
    if (route) route(dialog, kFormControl.str(), Event::Load);
    if (whileModal) whileModal(dialog);
    const bool asked = std::find(closing_.begin(), closing_.end(), &dialog) != closing_.end();
    closedBy.push_back(asked ? "close" : "titlebar");
    if (route) route(dialog, kFormControl.str(), Event::Unload);
    std::erase(closing_, &dialog);
    std::erase(open, &dialog);
  }
  void close(Form& form) override {
    closeAsked.push_back(form.name());
    if (std::find(open.begin(), open.end(), &form) != open.end()) closing_.push_back(&form);
  }
  std::vector<Geometry> monitors{{0, 0, 1600 * 15, 1000 * 15}};
  std::vector<Geometry> monitorWorkAreas() const override { return monitors; }
  std::vector<std::pair<const Form*, bool>> broughtForward;  // (form, activated)
  void bringForward(const Form& form, bool activate) override {
    broughtForward.emplace_back(&form, activate);
  }
  bool ownsWindow(WindowId window) const override {
    return std::any_of(windows.begin(), windows.end(),
                       [window](const auto& w) { return w.second == window; });
  }
  WindowId windowOf(const Form& form) const override {
    auto it = windows.find(&form);
    return it == windows.end() ? 0 : it->second;
  }
  std::map<const Form*, bool> nonActivating;
  void setNonActivating(const Form& form, bool on) override { nonActivating[&form] = on; }
  // Off by default: the keyboard then keeps its timers as described.
  bool reportsKeyEvents = false;
  std::vector<std::string> tickedOnKeyEvents;
  bool tickOnKeyEvents(const Form& /*form*/, TimerName timer) override {
    if (reportsKeyEvents) tickedOnKeyEvents.emplace_back(timer.str());
    return reportsKeyEvents;
  }
  std::map<const Form*, bool> inputElsewhere;  // what the core asked to follow
  bool reportInputElsewhere(const Form& form, bool on) override {
    inputElsewhere[&form] = on;
    return true;
  }
  void showNote(const Form& form, ControlName control, std::string_view text) override {
    notes.push_back({form.name(), std::string(control.str()), std::string(text), {}});
  }
  void showActionNote(const Form& form, const Control& control, std::string_view text,
                      std::function<void()> onClick) override {
    notes.push_back({form.name(), control.name(), std::string(text), std::move(onClick)});
  }

 private:
  std::vector<const Form*> closing_;
};

// The time the keyboard reads; ManualClock moves it with its timers.
class StepClock final : public Clock {
 public:
  Instant at{};
  Instant now() const override { return at; }
};

// Records what the keyboard asked the platform to catch as the switch.
class FakeSwitchKeys final : public SwitchKeys {
 public:
  std::optional<unsigned> caught;
  bool injectedToo = false;
  int changes = 0;
  void catchSwitch(std::optional<SwitchKey> key) override {
    caught = key ? std::optional(key->vk) : std::nullopt;
    injectedToo = key && key->injectedToo;
    ++changes;
  }
};

// One key of a made-up keyboard layout: what it types plain, with Shift
// and with AltGr ("" for nothing); a text of more than one character that
// starts with '*' is a dead key's accent.
struct FakeLayoutKey {
  std::uint16_t scan;
  std::uint8_t vk;
  const char* plain;
  const char* shifted;
  const char* altGr = "";
  bool capsShifts = false;  // Caps Lock gives the shifted character
};
using FakeLayout = std::vector<FakeLayoutKey>;

// Keyboard layouts by id, and the layout of each window's thread. An
// accent composes with the key after it as `compositions` says (accent and
// character as the key), and otherwise stands before it, as on Windows.
class FakeInputLanguages final : public InputLanguages {
 public:
  std::map<LayoutId, const FakeLayout*> layouts;
  std::map<WindowId, LayoutId> windowLayouts;
  std::map<std::string, std::string> compositions;
  LayoutId own = 0;
  mutable int questions = 0;

  LayoutId layoutOf(WindowId window) const override {
    const auto it = windowLayouts.find(window);
    return it == windowLayouts.end() ? own : it->second;
  }
  const FakeLayoutKey* find(LayoutId layout, std::uint16_t scan) const {
    const auto it = layouts.find(layout);
    if (it == layouts.end()) return nullptr;
    for (const FakeLayoutKey& k : *it->second)
      if (k.scan == scan) return &k;
    return nullptr;
  }
  KeyOutput typed(LayoutId layout, std::uint16_t scan, KeyLevel level) const override {
    ++questions;
    const FakeLayoutKey* k = find(layout, scan);
    if (k == nullptr) return {};
    const bool shifted = level.shift != (level.capsLock && k->capsShifts);
    std::string text = level.altGr ? k->altGr : shifted ? k->shifted : k->plain;
    if (text.empty()) return {};
    const bool dead = text.size() > 1 && text.front() == '*';
    if (dead) text.erase(0, 1);
    return {k->vk, text, dead};
  }
  KeyOutput composed(LayoutId layout, KeyPress dead, KeyPress next) const override {
    const KeyOutput accent = typed(layout, dead.scan, dead.level);
    KeyOutput after = typed(layout, next.scan, next.level);
    if (!accent.dead || after.vk == 0) return {};
    const auto it = compositions.find(accent.text + after.text);
    after.text = it != compositions.end() ? it->second : accent.text + after.text;
    after.dead = false;
    return after;
  }
};

// Counts the clicks the keyboard asks for.
class FakeKeySound final : public KeySound {
 public:
  int clicks = 0;
  void click() override { ++clicks; }
};

// A keyboard wired to fakes, ready for handler tests; StoreT may log or
// refuse what is stored.
template <class StoreT>
struct BasicRig {
  StoreT store;
  FakeDesktop desktop;
  FakeInjector injector;
  FakeLocks locks;
  FakeLauncher launcher;
  FakeHost host;
  StepClock time;
  FakeSwitchKeys switches;
  MemoryLearnedWordsFile learned;
  MemorySignInStart signIn;
  FakeInputLanguages languages;
  FakeKeySound sound;
  // Windows' display language, as far as the keyboard can tell, is English.
  CatalogueTexts texts;
  Keyboard kb{Platform{store, desktop, injector, locks, launcher, host, time, switches, learned, signIn,
                       languages, sound, noWindowLook(), texts}};

  static constexpr WindowId kSelf = 1;

  BasicRig() {
    injector.desktop = &desktop;
    host.route = [this](Form& form, std::string_view control, Event event) {
      return kb.handle(form, control, event);
    };
    host.windows[&kb.main()] = kSelf;
    desktop.windows[kSelf].title = "QM-OSK";
  }
  Form& main() { return kb.main(); }
  void clickOn(const Control& control) { kb.handle(kb.main(), kb.main().indexOf(control), Event::Click); }
  Control& c(KeyboardControl name) { return kb.main().control(name); }
  // A name the window lacks throws: a click on nothing
  // would otherwise pass as a click that did nothing.
  void click(KeyboardControl name) { clickOn(c(name)); }
  // By the name as data, for a test that walks a script of steps on purpose.
  void clickNamed(std::string_view name) { clickOn(kb.main().named(name)); }
  KeyboardState& state() { return kb.context().state; }
  void latch(Latch latch, bool on = true) { state().set(latch, on); }
  // Draws a character key's face as the refresh would: its plain or shifted
  // caption, or any other text as a language face.
  void face(KeyboardControl button, std::string_view caption) {
    for (const CharacterKey& key : characterKeys()) {
      if (key.button != button) continue;
      const CharacterFace face = caption == key.plain     ? CharacterFace::Plain
                                 : caption == key.shifted ? CharacterFace::Shifted
                                                          : CharacterFace::Language;
      showFace(kb.context(), key, face);
      if (face == CharacterFace::Language) c(key.button).setCaption(std::string(caption));
      return;
    }
    ADD_FAILURE() << button.str() << " is no character key";
  }
  void tick(KeyboardTimer timer) { kb.tick(timer); }
  // Makes `title` the recorded target as the tracking timer would.
  void target(std::string_view title, WindowId id = 42) {
    desktop.show(id, std::string(title));
    kb.tick(ui::kActiveWindowTimer);
    desktop.foreground = kSelf;  // the click brings the keyboard to the front
  }
};

using Rig = BasicRig<MemoryStore>;

}  // namespace osk::testing
