// The delivery object's decision table: where each aim sends, for each kind
// of target, and what a refusal on the way leaves behind.
#include <gtest/gtest.h>

#include "delivery/send.h"
#include "fakes.h"

namespace osk::testing {
namespace {

enum class Label : unsigned char { NoTarget, CommandLine, Real };

struct Row {
  Aim aim;
  Label label;
  const char* keys;
  bool refuseActivation;
  bool refuseInjection;
  bool activates;  // the recorded target was asked to come forward
  bool injects;    // the injector was handed the keys
  SendResult result;
};

class DeliveryPolicy : public ::testing::TestWithParam<Row> {};

TEST_P(DeliveryPolicy, ActivatesAndInjectsAsTheAimSays) {
  const Row& row = GetParam();
  Rig rig;
  if (row.label == Label::Real) rig.target("Notepad");
  if (row.label == Label::CommandLine) rig.kb.handle(ui::kCommandLineTextbox, Event::Click);
  rig.desktop.foreground = Rig::kSelf;
  rig.desktop.refuseActivation = row.refuseActivation;
  rig.injector.refuse = row.refuseInjection;

  const SendResult result = Delivery(rig.kb.context()).send(row.keys, row.aim);

  EXPECT_EQ(result, row.result);
  EXPECT_EQ(rig.desktop.activations.size(), row.activates ? 1u : 0u);
  EXPECT_EQ(rig.injector.sent.size(), row.injects ? 1u : 0u);
  if (row.injects) {
    // Into the target when it was brought forward, else into whatever was
    // in front (here the keyboard itself).
    EXPECT_EQ(rig.injector.sent[0].foreground, row.activates ? 42u : Rig::kSelf);
  }
}

constexpr Aim kTarget = Aim::RecordedTarget;
constexpr Aim kActive = Aim::ActiveWindow;
constexpr Aim kIfReal = Aim::RecordedTargetIfReal;
using R = SendResult;

INSTANTIATE_TEST_SUITE_P(
    Table, DeliveryPolicy,
    ::testing::Values(
        // aim, label, keys, refuse activation, refuse injection -> activates, injects, result
        Row{kTarget, Label::NoTarget, "a", false, false, false, false, R::ReservedTarget},
        Row{kTarget, Label::CommandLine, "a", false, false, false, false, R::ReservedTarget},
        Row{kTarget, Label::Real, "a", false, false, true, true, R::Sent},
        Row{kTarget, Label::Real, "a", true, false, true, false, R::NotInFront},
        Row{kTarget, Label::Real, "a", false, true, true, false, R::Refused},
        // A malformed string never brings anything forward.
        Row{kTarget, Label::Real, "{oops", false, false, false, false, R::Malformed},
        Row{kActive, Label::NoTarget, "{CAPSLOCK}", false, false, false, true, R::Sent},
        Row{kActive, Label::CommandLine, "{CAPSLOCK}", false, false, false, true, R::Sent},
        Row{kActive, Label::Real, "{CAPSLOCK}", false, false, false, true, R::Sent},
        Row{kActive, Label::Real, "{CAPSLOCK}", false, true, false, false, R::Refused},
        Row{kIfReal, Label::NoTarget, "{F5}", false, false, false, true, R::Sent},
        Row{kIfReal, Label::CommandLine, "{F5}", false, false, false, true, R::Sent},
        Row{kIfReal, Label::Real, "{F5}", false, false, true, true, R::Sent},
        Row{kIfReal, Label::Real, "{F5}", true, false, true, false, R::NotInFront}));

TEST(Tracking, NoWindowInFrontKeepsTheTargetButAnUntitledWindowIsOne) {
  Rig rig;
  rig.target("Notepad");
  rig.desktop.foreground = 0;  // in the middle of a switch
  rig.kb.tick(ui::kActiveWindowTimer);
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "Notepad");
  EXPECT_TRUE(rig.c(ui::kButtonKeyUp).enabled());
  rig.click(ui::kButtonTab);
  ASSERT_EQ(rig.injector.sent.size(), 1u);
  EXPECT_EQ(rig.injector.sent[0].foreground, 42u);

  rig.desktop.show(77, "");
  rig.kb.tick(ui::kActiveWindowTimer);
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "");
  EXPECT_TRUE(rig.c(ui::kButtonKeyUp).enabled());
}

}  // namespace
}  // namespace osk::testing
