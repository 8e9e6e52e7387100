// Every button, tick box and timer of every window either does something or
// is known to do nothing: a control added to a layout without a handler
// fails here instead of silently doing nothing when clicked.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/window_unit.h"
#include "fakes.h"

namespace osk::testing {
namespace {

// The controls that do nothing by design: Alt Gr and RUN have no action of
// their own.
const std::set<std::string> kInert{"BUTTON_ALT_GR", "BUTTON_WINDOWS_RUN_EXTERNAL"};

TEST(Routes, EveryButtonTickBoxAndTimerOfEveryWindowActsOrIsKnownToBeInert) {
  Rig r;
  std::set<std::string> inertSeen;
  for (const WindowUnit& unit : windowUnits()) {
    const Form& form = r.kb.window(unit.layout()->name());
    auto check = [&](const std::string& name, bool routed) {
      const bool inert = kInert.contains(name);
      if (inert) inertSeen.insert(name);
      EXPECT_NE(routed, inert) << form.name() << " " << name
                               << (routed ? " is routed but listed as inert" : " has no route");
    };
    for (const Control& c : form.controls()) {
      if (c.kind() != ControlKind::Button && c.kind() != ControlKind::CheckBox) continue;
      check(c.name(), r.kb.handles(form, form.indexOf(c), Event::Click));
    }
    for (TimerIndex t = 0; t < form.timers().size(); ++t) check(form.timers()[t].name, r.kb.ticks(form, t));
  }
  EXPECT_EQ(inertSeen, kInert) << "an inert control no window has";
}

}  // namespace
}  // namespace osk::testing
