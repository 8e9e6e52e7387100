// The click sound: one click for each key that types, and none for a key
// that does not (refused by the administrator gate or by the system, a latch,
// a burst's timed keys), nor with the box unticked.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes.h"
#include "layout/settings_window.h"

namespace osk::testing {
namespace {

constexpr WindowId kTarget = 42;

struct Row {
  const char* name;
  const char* stored;  // CLICK_SOUND
  bool targetAbove;    // the target runs as administrator
  bool systemRefuses;  // the system takes no input
  std::function<void(Rig&)> act;
  int clicks;
  int sent;  // key strings that went in
};

TEST(ClickSound, ClicksForEveryKeyThatTypesAndForNoOther) {
  const auto press = [](KeyboardControl key) { return [key](Rig& r) { r.click(key); }; };
  const std::vector<Row> rows{
      {"letter, ticked", "1", false, false, press(ui::kButtonLetterA), 1, 1},
      {"two keys, ticked", "1", false, false,
       [](Rig& r) {
         r.click(ui::kButtonLetterA);
         r.click(ui::kButtonComma);
       },
       2, 2},
      {"Enter, ticked", "1", false, false, press(ui::kButtonReturnKey), 1, 1},
      {"letter, unticked", "0", false, false, press(ui::kButtonLetterA), 0, 1},
      {"letter, never stored", nullptr, false, false, press(ui::kButtonLetterA), 0, 1},
      {"letter, target above the keyboard", "1", true, false, press(ui::kButtonLetterA), 0, 0},
      {"letter, system refuses", "1", false, true, press(ui::kButtonLetterA), 0, 0},
      {"Shift latched, nothing typed", "1", false, false, press(ui::kButtonShiftLeft), 0, 0},
      {"burst ticks", "1", false, false,
       [](Rig& r) {
         r.click(ui::kButtonAutoBackspace);
         r.injector.sent.clear();
         r.sound.clicks = 0;
         r.tick(ui::kAutoDeleteTimer);
         r.tick(ui::kAutoDeleteTimer);
       },
       0, 2},
  };
  for (const Row& row : rows) {
    Rig r;
    if (row.stored != nullptr) r.store.write(kSettingsSection, "CLICK_SOUND", row.stored);
    r.desktop.own = Integrity::Medium;
    r.desktop.levels[kTarget] = row.targetAbove ? Integrity::High : Integrity::Medium;
    r.kb.handleForm(Event::Load);
    r.target("Notepad", kTarget);
    r.injector.refuse = row.systemRefuses;
    row.act(r);
    EXPECT_EQ(r.sound.clicks, row.clicks) << row.name;
    EXPECT_EQ(static_cast<int>(r.injector.sent.size()), row.sent) << row.name;
  }
}

TEST(ClickSound, TheSettingsBoxSwitchesItAtOnceAndKeepsIt) {
  Rig r;
  r.kb.handleForm(Event::Load);
  r.target("Notepad", kTarget);
  r.host.whileModal = [&r](Form& dialog) {
    if (dialog.name() != kSettingsFormName) return;
    Control& box = dialog.control(ui::settings::kClickSoundTickbox);
    EXPECT_EQ(box.value(), 0);
    box.setValue(1);
    r.kb.handle(dialog, box.name(), Event::Click);
  };
  r.click(ui::kSettingsButton);
  EXPECT_EQ(r.store.read(kSettingsSection, "CLICK_SOUND", ""), "1");
  r.click(ui::kButtonLetterA);
  EXPECT_EQ(r.sound.clicks, 1);
}

}  // namespace
}  // namespace osk::testing
