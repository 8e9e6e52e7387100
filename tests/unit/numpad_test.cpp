// The number pad through the keyboard: a click on a pad key with Num Lock on
// or off, as the records SendInput gets; the pad's band and the window's
// size, shown and stored.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes.h"
#include "keys/numpad_keys.h"
#include "keystring/input_translate.h"
#include "settings/settings_keys.h"

namespace osk::testing {
namespace {

// A layout that knows no key: a record with scan code 0 is one the pad
// did not give its own.
class NoLayout final : public KeyboardLayout {
 public:
  std::optional<LayoutKey> keyFor(char32_t /*ch*/) const override { return std::nullopt; }
  std::uint16_t scanCode(std::uint8_t /*vk*/) const override { return 0; }
  bool capsLockOn() const override { return false; }
  std::vector<std::uint8_t> heldModifiers() const override { return {}; }
};

struct PadRig {
  Rig r;
  explicit PadRig(bool padStored) {
    if (padStored) r.store.write(kSettingsSection, settings::kNumPad, "1");
    r.kb.handleForm(Event::Load);
  }
};

TEST(NumPad, EachKeySendsTheKeypadsOwnKeyWithNumLockOnAndOff) {
  struct Case {
    KeyboardControl button;
    bool numLock;
    std::uint8_t vk;
    std::uint16_t scan;
    bool extended;
    const char* caption;
  };
  const Case cases[] = {
      {ui::kNumPad7, true, 0x67, 0x47, false, "7"},
      {ui::kNumPad7, false, vk::kHome, 0x47, false, "HOME"},
      {ui::kNumPad8, false, vk::kUp, 0x48, false, "UP"},
      {ui::kNumPad3, false, vk::kNext, 0x51, false, "PG DN"},
      {ui::kNumPad5, true, 0x65, 0x4C, false, "5"},
      {ui::kNumPad5, false, vk::kClear, 0x4C, false, "CLEAR"},
      {ui::kNumPad0, true, 0x60, 0x52, false, "0"},
      {ui::kNumPad0, false, vk::kInsert, 0x52, false, "INS"},
      {ui::kNumPadDecimal, true, vk::kDecimal, 0x53, false, "."},
      {ui::kNumPadDecimal, false, vk::kDelete, 0x53, false, "DEL"},
      {ui::kNumPadDivide, true, vk::kDivide, 0x35, true, "/"},
      {ui::kNumPadDivide, false, vk::kDivide, 0x35, true, "/"},
      {ui::kNumPadMultiply, false, vk::kMultiply, 0x37, false, "*"},
      {ui::kNumPadSubtract, true, vk::kSubtract, 0x4A, false, "-"},
      {ui::kNumPadAdd, false, vk::kAdd, 0x4E, false, "+"},
      {ui::kNumPadEnter, true, vk::kReturn, 0x1C, true, "ENTER"},
      {ui::kNumPadEnter, false, vk::kReturn, 0x1C, true, "ENTER"},
  };
  const NoLayout layout;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button.str()) + (c.numLock ? " Num Lock on" : " Num Lock off"));
    PadRig p(true);
    p.r.locks.state[LockKey::NumLock] = c.numLock ? 1 : 0;
    p.r.target("Untitled - Notepad");
    p.r.kb.tick(ui::kNcsTimer);
    EXPECT_EQ(p.r.c(c.button).caption(), c.caption);
    p.r.click(c.button);
    ASSERT_EQ(p.r.injector.sent.size(), 1U);
    KeyPlan plan;
    plan.events = p.r.injector.sent.front().events;
    const std::uint32_t ext = c.extended ? rawflag::kExtendedKey : 0U;
    const std::vector<RawKey> expected{{c.vk, c.scan, ext}, {c.vk, c.scan, ext | rawflag::kKeyUp}};
    EXPECT_EQ(translatePlan(plan, layout), expected);
    EXPECT_EQ(p.r.c(c.button).back(), colors::kGreen);  // flashed: it went in
  }
}

TEST(NumPad, TheWindowGrowsRightByThePadStaysOnTheScreenAndStoresItsSizeWithout) {
  PadRig off(false);
  const Geometry a = off.r.main().geometry();
  EXPECT_FALSE(off.r.c(ui::kNumPad7).visible());
  const TwipsRect q = off.r.c(ui::kButtonLetterQ).rect();
  off.r.click(ui::kNumPadButton);
  const Geometry b = off.r.main().geometry();
  EXPECT_TRUE(off.r.c(ui::kNumPad7).visible());
  // At the default size the keys are drawn at scale 1: the band's own width.
  EXPECT_EQ(b, (Geometry{a.left, a.top, a.width + ui::kNumPadWidth, a.height}));
  EXPECT_EQ(off.r.c(ui::kButtonLetterQ).rect(), q);
  EXPECT_EQ(off.r.store.read(kSettingsSection, settings::kNumPad, ""), "1");
  off.r.kb.handleForm(Event::Unload);
  EXPECT_EQ(settings::readGeometry(off.r.store, settings::kMainGeometry, {}), a);

  // A restart keeps the pad, and a second click gives the width back.
  PadRig on(true);
  EXPECT_TRUE(on.r.c(ui::kNumPad7).visible());
  EXPECT_EQ(on.r.main().geometry(), b);
  on.r.click(ui::kNumPadButton);
  EXPECT_FALSE(on.r.c(ui::kNumPad7).visible());
  EXPECT_EQ(on.r.main().geometry(), a);
  EXPECT_EQ(on.r.store.read(kSettingsSection, settings::kNumPad, ""), "0");

  // At the right edge of the work area the window moves left to keep the
  // pad on it; half a size, half the band.
  PadRig edge(false);
  const Geometry& area = edge.r.host.monitors.front();
  const Geometry half{area.width - a.width / 2, 3000, a.width / 2, a.height / 2};
  edge.r.main().setGeometry(half);
  edge.r.click(ui::kNumPadButton);
  const Geometry c = edge.r.main().geometry();
  EXPECT_FLOAT_EQ(c.width, half.width + ui::kNumPadWidth / 2.0F);
  EXPECT_FLOAT_EQ(c.left + c.width, area.left + area.width);
  edge.r.kb.handleForm(Event::Unload);
  const Geometry stored = settings::readGeometry(edge.r.store, settings::kMainGeometry, {});
  EXPECT_FLOAT_EQ(stored.width, half.width);
  EXPECT_FLOAT_EQ(stored.left, c.left);

  // With the suggestion strip as well, each band is added and taken off at
  // the keys' scale.
  Rig both;
  both.store.write(kSettingsSection, settings::kNumPad, "1");
  both.store.write(kSettingsSection, "WORD_PREDICTION", "1");
  both.kb.handleForm(Event::Load);
  const Geometry d = both.main().geometry();
  EXPECT_FLOAT_EQ(d.width, a.width + ui::kNumPadWidth);
  EXPECT_FLOAT_EQ(d.height, a.height + ui::kSuggestionStripHeight);
  // Narrowed, the keys are drawn at the width's scale; the strip switched
  // off and on again there gives back the same window.
  const Geometry narrow{d.left, d.top, d.width * 0.8F, d.height};
  both.main().setGeometry(narrow);
  WordPrediction& prediction = *both.kb.context().prediction;
  both.store.write(kSettingsSection, "WORD_PREDICTION", "0");
  prediction.settingsChanged();
  const Geometry withoutStrip = both.main().geometry();
  EXPECT_FLOAT_EQ(withoutStrip.width, narrow.width);
  EXPECT_FLOAT_EQ(withoutStrip.height, narrow.height - ui::kSuggestionStripHeight * 0.8F);
  both.store.write(kSettingsSection, "WORD_PREDICTION", "1");
  prediction.settingsChanged();
  EXPECT_EQ(both.main().geometry(), narrow);
  both.main().setGeometry(d);
  both.kb.handleForm(Event::Unload);
  EXPECT_EQ(settings::readGeometry(both.store, settings::kMainGeometry, {}), a);
}

}  // namespace
}  // namespace osk::testing
