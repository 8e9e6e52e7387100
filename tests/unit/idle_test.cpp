// An idle keyboard must leave its controls alone: every property write that
// reaches the host costs a repaint or an EnableWindow in the real window,
// several times a second, for as long as the keyboard sits there.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "fakes.h"
#include "manual_clock.h"

namespace osk::testing {
namespace {

struct ChangeLog final : FormObserver {
  std::vector<std::string> changes;
  void controlChanged(const Control& control, Property property) override {
    static const char* const kNames[] = {"caption", "back", "enabled", "text", "value", "geometry"};
    changes.push_back(control.name() + " " + kNames[static_cast<int>(property)]);
  }
  void timerChanged(const Timer& timer) override { changes.push_back("timer " + timer.name); }
  void geometryChanged(const Geometry&) override { changes.push_back("geometry"); }
};

constexpr WindowId kNotepad = 42;

void withTarget(Rig& r) { r.target("Untitled - Notepad", kNotepad); }

void userFkeyMode(Rig& r) {
  // As the mode switch leaves it: the button green, the keys relabelled
  // and tinted.
  r.c(ui::kButtonMyFkeys).setBack(colors::kGreen);
  for (std::size_t i = 0; i < ui::kFunctionKeys.size(); ++i) {
    Control& key = r.c(ui::kFunctionKeys.at(i));
    key.setCaption("FK" + std::to_string(i + 1));
    key.setBack(colors::kBlueTint);
  }
}

struct IdleMode {
  const char* what;
  std::function<void(Rig&)> enter;
  // Where the foreground rests: a click on a sending key hands it to the
  // target, a click on a latch or between the keys leaves it on the keyboard.
  bool keyboardInFront = true;
};

void PrintTo(const IdleMode& mode, std::ostream* os) { *os << mode.what; }

class IdleTicks : public ::testing::TestWithParam<IdleMode> {};

TEST_P(IdleTicks, ChangeNothingOnceSettled) {
  Rig r;
  r.desktop.foreground = Rig::kSelf;
  // Every timer the window has that runs while idle, the topmost one too.
  r.store.write(kSettingsSection, "ALWAYS_ON_TOP_TICKBOX", "1");
  r.kb.handleForm(Event::Load);
  ASSERT_TRUE(r.main().timer(ui::kAlwaysOnTopTimer).enabled);
  ManualClock clock(r.kb);
  GetParam().enter(r);
  // The user's last click: a key that flashes and a tool button.
  r.click(ui::kButtonLetterQ);
  r.click(ui::kCopyButton);
  if (GetParam().keyboardInFront) r.desktop.foreground = Rig::kSelf;
  clock.advance(1500);  // every timer has ticked at least once since

  ChangeLog log;
  r.main().setObserver(&log);
  clock.advance(10000);
  EXPECT_EQ(log.changes, std::vector<std::string>{});

  // The same ticks still do their work: a flash now is written and reset.
  log.changes.clear();
  r.c(ui::kButtonLetterW).setBack(colors::kGreen);
  clock.advance(500);
  EXPECT_EQ(log.changes, (std::vector<std::string>{"BUTTON_LETTER_W back", "BUTTON_LETTER_W back"}));
  r.main().setObserver(nullptr);
}

// Formatting would indent the modes to the middle of the line.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Modes, IdleTicks,
    ::testing::Values(
        IdleMode{"NoTarget", [](Rig&) {}},
        IdleMode{"RealTargetKeyboardInFront", withTarget},
        IdleMode{"RealTargetKeyboardBehind",
                 [](Rig& r) {
                   withTarget(r);
                   r.desktop.foreground = kNotepad;
                 },
                 false},
        // A foreground window that happens to bear the reserved title.
        IdleMode{"ReservedTitleInFront", [](Rig& r) { r.desktop.show(7, "QM-OSK-CMD"); }, false},
        IdleMode{"ShiftLock",
                 [](Rig& r) {
                   withTarget(r);
                   r.click(ui::kShiftLockButton);
                 }},
        IdleMode{"NumberRowLock",
                 [](Rig& r) {
                   withTarget(r);
                   r.click(ui::kLockTopNumberKeysButton);
                 }},
        IdleMode{"UserFkeyMode",
                 [](Rig& r) {
                   withTarget(r);
                   userFkeyMode(r);
                 }},
        IdleMode{"Highlight",
                 [](Rig& r) {
                   withTarget(r);
                   r.click(ui::kShiftArrowHighlightButton);
                 }},
        IdleMode{"CommandLine",
                 [](Rig& r) {
                   withTarget(r);
                   r.kb.handle(ui::kCommandLineTextbox, Event::GotFocus);
                   r.kb.handle(ui::kCommandLineTextbox, Event::Click);
                 }},
        IdleMode{"EverythingAtOnce",
                 [](Rig& r) {
                   withTarget(r);
                   r.locks.state[LockKey::CapsLock] = 1;
                   r.locks.state[LockKey::NumLock] = 1;
                   r.click(ui::kButtonShiftLeft);
                   r.click(ui::kShiftLockButton);
                   r.click(ui::kLockTopNumberKeysButton);
                   r.click(ui::kShiftArrowHighlightButton);
                   userFkeyMode(r);
                 }}),
    [](const auto& p) { return std::string(p.param.what); });
// clang-format on

}  // namespace
}  // namespace osk::testing
