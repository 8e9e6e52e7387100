// The typing aids' stored values: what each stored text means, and that a
// save reads back as it was.
#include "aids/aid_settings.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace osk::testing {
namespace {

using aids::AidSettings;
using aids::Millis;

struct Stored {
  const char* text;  // nullptr: the value was never stored
  Millis time;       // as DWELL_TIME_MS and SCAN_STEP_MS read it
  unsigned vk;       // as SCAN_SWITCH_VK reads it
  bool on;           // as DWELL_CLICK, SCAN_MODE and SCAN_SWITCH_INJECTED read it
};

void PrintTo(const Stored& s, std::ostream* os) { *os << (s.text != nullptr ? s.text : "(absent)"); }

class AidValues : public ::testing::TestWithParam<Stored> {};

TEST_P(AidValues, ReadAsTheUserMeantOrSafely) {
  MemoryStore store;
  if (const char* text = GetParam().text; text != nullptr)
    for (std::string_view key :
         {AidSettings::kDwellClickKey, AidSettings::kDwellTimeKey, AidSettings::kScanModeKey,
          AidSettings::kScanStepKey, AidSettings::kSwitchVkKey, AidSettings::kInjectedSwitchKey})
      store.write(kSettingsSection, key, text);
  const AidSettings s = aids::readAidSettings(store);
  EXPECT_EQ(s.dwellTime, GetParam().time);
  EXPECT_EQ(s.scanStep, GetParam().time);
  EXPECT_EQ(s.switchVk, GetParam().vk);
  EXPECT_EQ(s.dwellClick, GetParam().on);
  EXPECT_EQ(s.scanMode, GetParam().on);
  EXPECT_EQ(s.injectedSwitch, GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, AidValues,
    ::testing::Values(Stored{nullptr, Millis{1000}, 32, false}, Stored{"1", Millis{300}, 32, true},
                      Stored{" 1.0 ", Millis{300}, 32, true}, Stored{"0", Millis{300}, 32, false},
                      Stored{"13", Millis{300}, 13, false}, Stored{"8", Millis{300}, 8, false},
                      Stored{"7", Millis{300}, 32, false}, Stored{"299", Millis{300}, 32, false},
                      Stored{"300", Millis{300}, 32, false}, Stored{"1500.6", Millis{1501}, 32, false},
                      Stored{"254", Millis{300}, 254, false}, Stored{"255", Millis{300}, 32, false},
                      Stored{"5000", Millis{5000}, 32, false}, Stored{"5001", Millis{5000}, 32, false},
                      Stored{"1e300", Millis{5000}, 32, false}, Stored{"-40", Millis{300}, 32, false},
                      Stored{"2000", Millis{2000}, 32, false}, Stored{"fast", Millis{1000}, 32, false},
                      Stored{"", Millis{1000}, 32, false}, Stored{"nan", Millis{1000}, 32, false}));

TEST(AidSave, ReadsBackWhatWasSaved) {
  MemoryStore store;
  const AidSettings chosen{true, Millis{2000}, true,        Millis{750},  13,         true,
                           true, true,         Millis{640}, Millis{1200}, Millis{480}};
  settings::Saver saver(store);
  aids::saveAidSettings(saver, chosen);
  aids::saveTunedTimes(saver, chosen.scanStepTuned, chosen.dwellTimeTuned, chosen.dwellLeave);
  EXPECT_TRUE(saver.refused().empty());
  EXPECT_EQ(store.size(), 11U);
  EXPECT_EQ(aids::readAidSettings(store), chosen);
}

}  // namespace
}  // namespace osk::testing
