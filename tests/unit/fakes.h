// Fakes of the platform seam: they record what the keyboard asked for.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/keyboard.h"

namespace osk::testing {

class FakeDesktop final : public Desktop {
 public:
  struct Window {
    std::string title;
  };
  std::map<WindowId, Window> windows;
  WindowId foreground = 0;
  std::vector<std::pair<WindowId, std::string>> activations;  // (recorded, title)
  std::vector<std::chrono::milliseconds> patience;  // what each activation was allowed
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
    std::string keys;        // the key string as the keyboard wrote it
    WindowId foreground = 0;  // the window in front when it was injected
  };
  std::vector<Sent> sent;
  const FakeDesktop* desktop = nullptr;
  bool refuse = false;

  bool inject(const KeyPlan& plan) override {
    if (refuse) return false;
    sent.push_back({plan.source, desktop ? desktop->foreground : 0});
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
  std::map<LockKey, std::int16_t> state{{LockKey::NumLock, 0}, {LockKey::CapsLock, 0}, {LockKey::ScrollLock, 0}};
  std::int16_t keyState(LockKey key) const override { return state.at(key); }
};

class FakeLauncher final : public Launcher {
 public:
  struct Start {
    std::string file, parameters;
    bool elevated;
  };
  std::vector<Start> started;
  bool start(const std::string& file, const std::string& parameters, bool elevated) override {
    started.push_back({file, parameters, elevated});
    return true;
  }
};

class FakeHost final : public FormHost {
 public:
  std::vector<std::string> modalShown;  // names of the dialogs, in order
  std::vector<std::string> ownerOf;
  std::map<const Form*, WindowId> windows;
  std::function<void(Form&)> whileModal;  // runs "inside" the modal loop

  void showModal(Form& dialog, Form& owner) override {
    modalShown.push_back(dialog.name());
    ownerOf.push_back(owner.name());
    if (whileModal) whileModal(dialog);
  }
  std::vector<Geometry> monitors{{0, 0, 1600 * 15, 1000 * 15}};
  std::vector<Geometry> monitorWorkAreas() const override { return monitors; }
  WindowId windowOf(const Form& form) const override {
    auto it = windows.find(&form);
    return it == windows.end() ? 0 : it->second;
  }
  std::map<const Form*, bool> nonActivating;
  void setNonActivating(const Form& form, bool on) override { nonActivating[&form] = on; }
};

// A keyboard wired to fakes, ready for handler tests.
struct Rig {
  MemoryStore store;
  FakeDesktop desktop;
  FakeInjector injector;
  FakeLocks locks;
  FakeLauncher launcher;
  FakeHost host;
  Keyboard kb{Platform{store, desktop, injector, locks, launcher, host}};

  static constexpr WindowId kSelf = 1;

  Rig() {
    injector.desktop = &desktop;
    host.windows[&kb.main()] = kSelf;
    desktop.windows[kSelf].title = "QM-OSK";
  }
  Form& main() { return kb.main(); }
  Control& c(std::string_view name) { return kb.main().control(name); }
  void click(std::string_view name) { kb.handle(name, Event::Click); }
  // Makes `title` the recorded target as the tracking timer would.
  void target(std::string_view title, WindowId id = 42) {
    desktop.show(id, std::string(title));
    kb.tick("ACTIVE_WINDOW_TIMER");
    desktop.foreground = kSelf;  // the click brings the keyboard to the front
  }
};

}  // namespace osk::testing
