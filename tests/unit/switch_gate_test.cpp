// The scanning switch's key events as the hook meets them: which are
// swallowed, which pass, which tell the keyboard, and when it is asked.
#include "aids/switch_gate.h"

#include <gtest/gtest.h>

#include <string>

namespace osk::aids {
namespace {

TEST(SwitchGate, DecisionTable) {
  struct Case {
    const char* what;
    bool downAlready;
    // The keyboard's answer to each question, in order: y or n.
    std::string replies;
    // d: a press or repeat, u: a release; D, U: the same from a source that
    // does not work the switch (the keyboard's own, another program's).
    std::string events;
    // Per event: S swallowed and the keyboard told, s swallowed, p passed.
    std::string want;
  };
  const Case cases[] = {
      {"a press is taken with its repeats and release, told once", false, "y", "dddu", "Ssss"},
      {"no answer: the press passes with its repeats and release", false, "n", "ddu", "ppp"},
      {"down before: repeats and release pass unasked, then a press counts", true, "y", "ddudu", "pppSs"},
      {"a release whose press went unseen passes", false, "y", "udu", "pSs"},
      {"each fresh press asks anew", false, "yny", "dududu", "SsppSs"},
      {"own keys pass while the switch is held, which stays taken", false, "y", "dDUdu", "Sppss"},
      {"own keys pass with the switch up, unasked", false, "", "DU", "pp"},
      {"own keys leave a key held before as it was", true, "", "dDUu", "pppp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SwitchGate gate(c.downAlready);
    std::size_t asked = 0;
    std::string got;
    for (char e : c.events) {
      const bool down = e == 'd' || e == 'D';
      const bool passesBy = e == 'D' || e == 'U';
      const SwitchVerdict v = gate.onKey(down, !passesBy, [&] {
        const bool yes = asked < c.replies.size() && c.replies[asked] == 'y';
        ++asked;
        return yes;
      });
      got += !v.swallow ? (v.tellKeyboard ? '!' : 'p') : (v.tellKeyboard ? 'S' : 's');
    }
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(asked, c.replies.size());
  }
}

// Where a key came from against the user's choice for injected keys.
TEST(SwitchGate, OnlyThePersonsSwitchWorksItUnlessInjectedKeysAreChosen) {
  struct Case {
    const char* what;
    bool injected;
    bool ours;
    bool injectedWorks;
    bool works;
  };
  const Case cases[] = {
      {"the person's switch", false, false, false, true},
      {"the person's switch, injected keys chosen too", false, false, true, true},
      {"another program's key", true, false, false, false},
      {"another program's key, injected keys chosen", true, false, true, true},
      {"the keyboard's own key", true, true, false, false},
      {"the keyboard's own key, injected keys chosen", true, true, true, false},
      {"the keyboard's tag on a key not seen injected", false, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(worksSwitch(c.injected, c.ours, c.injectedWorks), c.works);
  }
}

}  // namespace
}  // namespace osk::aids
