#include "app/lifecycle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "fakes.h"
#include "layout/layouts.h"
#include "settings/settings_keys.h"

namespace osk {
namespace {

using testing::Rig;
namespace st = settings;

const Geometry kDefaults{1000, 1000, 16800, 4785};

void load(Rig& r) { r.kb.handleForm(Event::Load); }
void unload(Rig& r) { r.kb.handleForm(Event::Unload); }

void storeGeometry(Rig& r, const char* left, const char* top, const char* width, const char* height) {
  r.store.write(kSettingsSection, "MainLeft", left);
  r.store.write(kSettingsSection, "MainTop", top);
  r.store.write(kSettingsSection, "MainWidth", width);
  r.store.write(kSettingsSection, "MainHeight", height);
}

std::string show(const Geometry& g) {
  return std::to_string(g.left) + "," + std::to_string(g.top) + " " + std::to_string(g.width) + "x" +
         std::to_string(g.height);
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(MainWindowLoad, EmptyStoreOpensAtDefaultsAndStartsTheTimers) {
  Rig r;
  load(r);
  EXPECT_EQ(r.main().geometry(), kDefaults) << show(r.main().geometry());

  struct Expect {
    const char* timer;
    bool enabled;
    int interval;
  };
  const Expect timers[] = {
      {"NCS_TIMER", true, 100},          {"ACTIVE_WINDOW_TIMER", true, 1000},
      {"BACKCOLOR_TIMER", true, 500},    {"AUTO_DELETE_STOP_TIMER", false, 5000},
      {"AUTO_DELETE_TIMER", false, 100}, {"AlwaysOnTopTimer", false, 1000},
      {"PLACE_SAVE_TIMER", false, 1000},
  };
  for (const auto& t : timers) {
    SCOPED_TRACE(t.timer);
    EXPECT_EQ(r.main().namedTimer(t.timer).enabled, t.enabled);
    EXPECT_EQ(r.main().namedTimer(t.timer).intervalMs, t.interval);
  }
  // Reading with a default never creates keys.
  EXPECT_EQ(r.store.size(), 0U);
  EXPECT_TRUE(r.desktop.topmostCalls.empty());
}

TEST(MainWindowLoad, RestoresStoredGeometry) {
  Rig r;
  storeGeometry(r, "2000", "1500.5", "12000", " 4000 ");
  load(r);
  EXPECT_EQ(r.main().geometry(), (Geometry{2000, 1500.5F, 12000, 4000})) << show(r.main().geometry());
}

TEST(MainWindowLoad, EachUnusableValueFallsBackToItsOwnDefault) {
  const Geometry stored{3000, 2000, 12000, 5000};
  const char* storedText[] = {"3000", "2000", "12000", "5000"};
  const char* notNumbers[] = {"",    "abc",  "1e999", "-1e999", "nan", "inf", "-inf",    "12abc",
                              "1 2", "0x10", "--5",   "+-5",    "1,5", "1e7", "-2000000"};
  // Sizes that no window can have, or only by damage (the rig's monitor is
  // 24000 x 15000 twips).
  const char* badSizes[] = {"0", "-0", "-5", "-0.5", "999999", "1000000"};

  auto check = [&](int which, const char* text) {
    SCOPED_TRACE(std::string("field ") + std::to_string(which) + " = \"" + text + "\"");
    Rig r;
    const char* t[4] = {storedText[0], storedText[1], storedText[2], storedText[3]};
    t[which] = text;
    storeGeometry(r, t[0], t[1], t[2], t[3]);
    load(r);
    Geometry want = stored;
    float* fields[] = {&want.left, &want.top, &want.width, &want.height};
    const float defaults[] = {kDefaults.left, kDefaults.top, kDefaults.width, kDefaults.height};
    *fields[which] = defaults[which];
    EXPECT_EQ(r.main().geometry(), want) << show(r.main().geometry());
  };
  for (int which = 0; which < 4; ++which)
    for (const char* text : notNumbers) check(which, text);
  for (int which = 2; which < 4; ++which)
    for (const char* text : badSizes) check(which, text);
}

TEST(Settings, ParseTwipsReadsWholeDecimalNumbersOnly) {
  struct Row {
    const char* text;
    float want;
  };
  const Row accepted[] = {
      {"1500", 1500}, {" 1500 ", 1500},        {"\t-20\r\n", -20}, {"+20", 20},       {".5", 0.5F},
      {"7.", 7},      {"1e3", 1000},           {"1E3", 1000},      {"1000000", 1e6F}, {"-1000000", -1e6F},
      {"0", 0},       {"1234.567", 1234.567F}, {"016800", 16800},
  };
  for (const auto& a : accepted) {
    SCOPED_TRACE(a.text);
    EXPECT_TRUE(sameBits(st::parseTwips(a.text, -7), a.want)) << st::parseTwips(a.text, -7);
  }
  // Just above the midpoint between 1000 and the next float: rounding it
  // through double first would land on the midpoint and tie down to 1000.
  EXPECT_EQ(st::parseTwips("1000.00003051757815", -7), std::nextafter(1000.0F, 2000.0F));

  const char* rejected[] = {"",      " ",    "-",   "+",   ".",    "e5",       "abc",
                            "1e999", "nan",  "NaN", "inf", "+inf", "infinity", "12abc",
                            "1 2",   "0x10", "--5", "+-5", "1,5",  "1000001",  "1e39"};
  for (const char* text : rejected) {
    SCOPED_TRACE(text);
    EXPECT_EQ(st::parseTwips(text, -7), -7.0F);
  }
}

struct PlaceCase {
  const char* what;
  std::vector<Geometry> monitors;
  Geometry stored;
  Geometry want;
};

TEST(MainWindowLoad, OffScreenWindowIsBroughtOntoTheNearestMonitor) {
  const Geometry primary{0, 0, 24000, 15000};
  const Geometry right{24000, 0, 24000, 15000};
  const Geometry left{-24000, 0, 24000, 15000};
  const Geometry farRight{30000, 0, 24000, 15000};
  const PlaceCase cases[] = {
      {"right of the only monitor", {primary}, {30000, 1000, 12000, 5000}, {12000, 1000, 12000, 5000}},
      {"left of the only monitor", {primary}, {-50000, 2000, 12000, 5000}, {0, 2000, 12000, 5000}},
      {"below and right of both", {primary, right}, {60000, 20000, 12000, 5000}, {36000, 10000, 12000, 5000}},
      {"above a monitor with negative coordinates",
       {primary, left},
       {-40000, -9000, 12000, 5000},
       {-24000, 0, 12000, 5000}},
      {"just touching the edge", {primary}, {24000, 0, 12000, 5000}, {12000, 0, 12000, 5000}},
      {"in the gap between two monitors",
       {primary, farRight},
       {24500, 100, 1000, 1000},
       {23000, 100, 1000, 1000}},
      // Shrunk to fit, proportions kept, as fitToWorkArea decides.
      {"larger than the monitor", {primary}, {50000, 1000, 30000, 20000}, {1500, 0, 22500, 15000}},
      {"partly visible stays", {primary}, {23000, 14000, 12000, 5000}, {23000, 14000, 12000, 5000}},
      {"on the second monitor stays",
       {primary, right},
       {30000, 1000, 12000, 5000},
       {30000, 1000, 12000, 5000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r;
    r.host.monitors = c.monitors;
    r.store.write(kSettingsSection, "MainLeft", st::formatTwips(c.stored.left));
    r.store.write(kSettingsSection, "MainTop", st::formatTwips(c.stored.top));
    r.store.write(kSettingsSection, "MainWidth", st::formatTwips(c.stored.width));
    r.store.write(kSettingsSection, "MainHeight", st::formatTwips(c.stored.height));
    load(r);
    EXPECT_EQ(r.main().geometry(), c.want) << show(r.main().geometry());
  }
}

TEST(Settings, PlaceOnScreenLeavesTheWindowWhenNoMonitorIsKnown) {
  const Geometry g{90000, -90000, 12000, 5000};
  EXPECT_EQ(st::placeOnScreen(g, {}), g);
  EXPECT_EQ(st::placeOnScreen(g, {{0, 0, 0, 0}}), g);
}

TEST(MainWindowUnload, WrittenGeometryRestoresExactly) {
  const Geometry cases[] = {
      {1234.567F, 987.654321F, 16800.1F, 4785.3F},
      {0.1F, 0.001F, 12345.678F, 3333.3333F},
      {-100.25F, 7.000001F, 20000.99F, 9000.5F},
      {std::nextafter(1000.0F, 2000.0F), std::nextafter(1000.0F, 0.0F), 16800, 4785},
  };
  for (const auto& g : cases) {
    SCOPED_TRACE(show(g));
    Rig first;
    load(first);
    first.main().syncGeometry(g);  // as the host reports a move or resize
    unload(first);
    EXPECT_EQ(first.store.size(), 4U);

    // Next start, from what the first run left behind.
    Rig next;
    for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
      std::string text = first.store.read(kSettingsSection, key, "missing");
      EXPECT_TRUE(st::parseNumber(text).has_value()) << key << " = " << text;
      next.store.write(kSettingsSection, key, text);
    }
    load(next);
    const Geometry got = next.main().geometry();
    EXPECT_TRUE(sameBits(got.left, g.left) && sameBits(got.top, g.top) && sameBits(got.width, g.width) &&
                sameBits(got.height, g.height))
        << show(got);
  }
}

TEST(Settings, FormattedTwipsReadBackBitForBit) {
  int checked = 0;
  for (float v = 0.0007F; v < 1e6F; v = v * 1.0137F + 0.0011F) {
    for (float x : {v, -v, std::nextafter(v, 0.0F), std::nextafter(v, 2e6F)}) {
      if (std::fabs(x) > st::kMaxTwips) continue;
      std::string text = st::formatTwips(x);
      ASSERT_TRUE(sameBits(st::parseTwips(text, -1), x)) << x << " written as " << text;
      ASSERT_EQ(text.find_first_of("eE"), std::string::npos) << text;
      ++checked;
    }
  }
  EXPECT_GT(checked, 1000);
}

TEST(Settings, FormatTwipsWritesPlainDecimals) {
  const std::pair<float, const char*> rows[] = {
      {16800, "16800"}, {1000, "1000"}, {100000, "100000"},  {1e6F, "1000000"},
      {-20, "-20"},     {0.5F, "0.5"},  {0.0001F, "0.0001"}, {1500.25F, "1500.25"},
  };
  for (auto [value, text] : rows) EXPECT_EQ(st::formatTwips(value), text);
}

TEST(MainWindowUnload, StopsTopmostAndCaptionTimersOnly) {
  Rig r;
  r.store.write(kSettingsSection, "ALWAYS_ON_TOP_TICKBOX", "1");
  load(r);
  ASSERT_TRUE(r.main().timer(ui::kAlwaysOnTopTimer).enabled);
  unload(r);
  EXPECT_FALSE(r.main().timer(ui::kAlwaysOnTopTimer).enabled);
  EXPECT_FALSE(r.main().timer(ui::kNcsTimer).enabled);
  EXPECT_TRUE(r.main().timer(ui::kActiveWindowTimer).enabled);
  EXPECT_TRUE(r.main().timer(ui::kBackcolorTimer).enabled);
  // Only the geometry is saved.
  EXPECT_EQ(r.store.read(kSettingsSection, "ALWAYS_ON_TOP_TICKBOX", "?"), "1");
  EXPECT_EQ(r.store.size(), 5U);
}

TEST(MainWindowLoad, AlwaysOnTopOnlyWhenTheFlagReadsExactlyOne) {
  const std::pair<const char*, bool> flags[] = {
      {"1", true},   {"1.0", true},  {" 1", true},    {"1 ", true},    {"01", true},   {"+1", true},
      {"1e0", true}, {"0", false},   {"2", false},    {"-1", false},   {"0.5", false}, {"1.0000001", false},
      {"", false},   {"abc", false}, {"1abc", false}, {"true", false}, {"nan", false}, {"inf", false},
  };
  for (auto [text, on] : flags) {
    SCOPED_TRACE(std::string("\"") + text + "\"");
    Rig r;
    r.store.write(kSettingsSection, "ALWAYS_ON_TOP_TICKBOX", text);
    load(r);
    EXPECT_EQ(r.main().timer(ui::kAlwaysOnTopTimer).enabled, on);
    EXPECT_EQ(r.main().timer(ui::kAlwaysOnTopTimer).intervalMs, 1000);
  }
}

TEST(TopmostTick, TakesTopmostFromTheWindowInFrontAndKeepsTheKeyboardAbove) {
  using Calls = std::vector<std::pair<WindowId, bool>>;
  const struct {
    const char* what;
    WindowId foreground;
    Calls want;
  } cases[] = {
      {"keyboard in front", Rig::kSelf, {}},
      {"another window in front", 42, {{42, false}, {Rig::kSelf, true}}},
      {"nothing in front", 0, {{Rig::kSelf, true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r;
    r.store.write(kSettingsSection, "ALWAYS_ON_TOP_TICKBOX", "1");
    load(r);
    r.desktop.foreground = c.foreground;
    r.kb.tick(ui::kAlwaysOnTopTimer);
    EXPECT_EQ(r.desktop.topmostCalls, c.want);
  }
}

TEST(TopmostTick, DoesNothingBeforeTheKeyboardHasAWindow) {
  Rig r;
  r.host.windows.clear();
  r.desktop.foreground = 42;
  r.kb.tick(ui::kAlwaysOnTopTimer);
  EXPECT_TRUE(r.desktop.topmostCalls.empty());
}

TEST(SettingsDialog, BothEntriesOpenTheSameDialogModallyOverTheKeyboard) {
  Rig r;
  load(r);
  std::vector<const Form*> shown;
  r.host.whileModal = [&](Form& dialog) { shown.push_back(&dialog); };

  r.kb.handleForm(Event::DblClick);
  r.click(ui::kSettingsButton);
  r.kb.handleForm(Event::DblClick);

  ASSERT_EQ(shown.size(), 3U);
  EXPECT_EQ(shown[0], shown[1]);
  EXPECT_EQ(shown[1], shown[2]);
  EXPECT_EQ(shown[0], &r.kb.window(kSettingsFormName));
  EXPECT_EQ(r.host.modalShown, std::vector<std::string>(3, kSettingsFormName));
  EXPECT_EQ(r.host.ownerOf, std::vector<std::string>(3, kMainFormName));
}

TEST(SettingsDialog, ButtonOpensItFirstToo) {
  Rig r;
  ASSERT_TRUE(r.host.modalShown.empty());
  r.click(ui::kSettingsButton);
  EXPECT_EQ(r.host.modalShown, std::vector<std::string>{kSettingsFormName});
}

TEST(Settings, KeyNamesAndDefaults) {
  EXPECT_EQ(st::fkeyCaptionKey(1), "BUTTON_F_NUM_1_CAPTION");
  EXPECT_EQ(st::fkeyCaptionKey(16), "BUTTON_F_NUM_16_CAPTION");
  EXPECT_EQ(st::fkeyCaptionDefault(7), "FK7");
  EXPECT_EQ(st::fkeyCommandKey(12), "MY-FKEYS-COMMAND-F12");
  EXPECT_EQ(st::kSettingsGeometry.defaults, (Geometry{1000, 1000, 7785, 7500}));
  EXPECT_EQ(st::kFkeysGeometry.defaults, (Geometry{1000, 1000, 14940, 8955}));
  EXPECT_EQ(st::kMainGeometry.defaults, kDefaults);
}

}  // namespace
}  // namespace osk
