// Keeping the focus in the target: the stored choice, the switch at run
// time, and what the host is told.
#include "app/keep_focus.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "fakes.h"

namespace osk::testing {
namespace {

TEST(KeepTargetFocus, LoadAppliesTheStoredChoiceOnlyWhenItReadsAsOne) {
  const struct {
    const char* stored;  // nullptr: nothing stored
    bool on;
  } rows[] = {{nullptr, false}, {"0", false}, {"1", true},     {" 1", true},
              {"1.0", true},    {"2", false}, {"true", false}, {"", false}};
  for (const auto& row : rows) {
    Rig rig;
    if (row.stored != nullptr) rig.store.write(kSettingsSection, "KEEP_TARGET_FOCUS", row.stored);
    rig.kb.handleForm(Event::Load);
    ASSERT_EQ(rig.host.nonActivating.count(&rig.main()), 1u) << (row.stored ? row.stored : "(none)");
    EXPECT_EQ(rig.host.nonActivating[&rig.main()], row.on) << (row.stored ? row.stored : "(none)");
    EXPECT_EQ(rig.store.has(kSettingsSection, "KEEP_TARGET_FOCUS"), row.stored != nullptr)
        << "load must not write the choice";
  }
}

TEST(KeepTargetFocus, SwitchingAtRunTimeTellsTheHostAndIsRemembered) {
  Rig rig;
  rig.kb.handleForm(Event::Load);
  setKeepTargetFocus(rig.kb.context(), true);
  EXPECT_TRUE(rig.host.nonActivating[&rig.main()]);
  EXPECT_EQ(rig.store.read(kSettingsSection, "KEEP_TARGET_FOCUS", "?"), "1");
  setKeepTargetFocus(rig.kb.context(), false);
  EXPECT_FALSE(rig.host.nonActivating[&rig.main()]);
  EXPECT_EQ(rig.store.read(kSettingsSection, "KEEP_TARGET_FOCUS", "?"), "0");
  setKeepTargetFocus(rig.kb.context(), true);

  // The next start reads it back.
  Rig next;
  next.store.write(kSettingsSection, "KEEP_TARGET_FOCUS",
                   rig.store.read(kSettingsSection, "KEEP_TARGET_FOCUS", "?"));
  next.kb.handleForm(Event::Load);
  EXPECT_TRUE(next.host.nonActivating[&next.main()]);
}

TEST(KeepTargetFocus, ASecondStartHandsOverItsSwitchAndComesForwardWithoutTakingTheFocusWhenKept) {
  const struct {
    const char* what;
    const char* stored;
    std::optional<bool> keepFocus;
    bool activated;
    bool nonActivating;
    const char* storedAfter;
  } rows[] = {
      {"no switch, mode off", "0", std::nullopt, true, false, "0"},
      {"no switch, mode on", "1", std::nullopt, false, true, "1"},
      {"--keep-focus turns it on", "0", true, false, true, "1"},
      {"--no-keep-focus turns it off", "1", false, true, false, "0"},
      {"--keep-focus with the mode on already", "1", true, false, true, "1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    Rig rig;
    rig.store.write(kSettingsSection, "KEEP_TARGET_FOCUS", row.stored);
    rig.kb.handleForm(Event::Load);
    secondStart(rig.kb.context(), row.keepFocus);
    using Forward = std::vector<std::pair<const Form*, bool>>;
    EXPECT_EQ(rig.host.broughtForward, (Forward{{&rig.main(), row.activated}}));
    EXPECT_EQ(rig.host.nonActivating[&rig.main()], row.nonActivating);
    EXPECT_EQ(rig.store.read(kSettingsSection, "KEEP_TARGET_FOCUS", "?"), row.storedAfter);
  }
}

}  // namespace
}  // namespace osk::testing
