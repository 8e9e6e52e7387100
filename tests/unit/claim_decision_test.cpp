// Whether a start runs as the session's keyboard: a keyboard this start may
// not open (run as administrator, or as another user) makes it a second
// start, never a first.
#include "app/claim_decision.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace osk {
namespace {

using A = ClaimAnswer;
using H = HandOverResult;
using S = ClaimStep;

struct Row {
  A answer;
  bool replacing;
  bool windowFound;
  H handOver;
  bool waitedOut;
  S step;
};

TEST(ClaimDecision, TableOfMutexAnswersWindowsAndHandOvers) {
  const Row rows[] = {
      // No keyboard of this name: this start is the one, even as a restart.
      {A::Created, false, false, H::NotTried, false, S::Run},
      {A::Created, true, false, H::NotTried, true, S::Run},
      // No object at all: a keyboard that cannot tell runs rather than none.
      {A::OtherFailure, false, true, H::NotTried, false, S::RunUnsure},
      // One of this level runs: hand over, or wait for its window.
      {A::AlreadyExists, false, true, H::NotTried, false, S::HandOver},
      {A::AlreadyExists, false, true, H::Accepted, false, S::End},
      {A::AlreadyExists, false, true, H::Refused, false, S::End},
      {A::AlreadyExists, false, false, H::NotTried, false, S::Wait},
      {A::AlreadyExists, false, false, H::NotTried, true, S::End},
      // A restart waits for the one it replaces to close.
      {A::AlreadyExists, true, true, H::NotTried, false, S::Wait},
      {A::AlreadyExists, true, true, H::NotTried, true, S::End},
      // One out of reach is a keyboard all the same: never run beside it.
      {A::AccessDenied, false, true, H::NotTried, false, S::HandOver},
      {A::AccessDenied, false, true, H::Accepted, false, S::End},
      {A::AccessDenied, false, true, H::Refused, false, S::TellAndEnd},
      {A::AccessDenied, false, false, H::NotTried, false, S::Wait},
      {A::AccessDenied, false, false, H::NotTried, true, S::TellAndEnd},
      {A::AccessDenied, true, true, H::NotTried, false, S::Wait},
      {A::AccessDenied, true, false, H::NotTried, true, S::TellAndEnd},
  };
  for (const Row& r : rows) {
    const ClaimFacts facts{r.answer, r.replacing, r.windowFound, r.handOver, r.waitedOut};
    EXPECT_EQ(nextClaimStep(facts), r.step)
        << "answer " << static_cast<int>(r.answer) << " replacing " << r.replacing << " window "
        << r.windowFound << " hand-over " << static_cast<int>(r.handOver) << " waited out " << r.waitedOut;
  }
}

class FakeSession final : public SessionClaim {
 public:
  ClaimAnswer claimName() override {
    ++claims;
    // The keyboard being replaced closes after a few looks.
    return claims > closesAfter ? ClaimAnswer::Created : answer;
  }
  bool findRunning(bool reach) override {
    outOfReach = reach;
    return window;
  }
  bool handOver() override {
    ++handOvers;
    return accepts;
  }
  bool waitShortly() override { return ++waits < patience; }
  void tell(std::string_view text) override { told.emplace_back(text); }
  bool letLowerStartsHandOver() override {
    ++filterRequests;
    return true;
  }

  ClaimAnswer answer = ClaimAnswer::AccessDenied;
  int closesAfter = 1000;
  bool window = true;
  bool accepts = true;
  int patience = 4;

  int claims = 0;
  bool outOfReach = false;
  int handOvers = 0;
  int waits = 0;
  std::vector<std::string> told;
  int filterRequests = 0;
};

TEST(ClaimSession, AKeyboardOutOfReachTakesTheCommandLineOrTheUserIsTold) {
  struct Case {
    const char* what;
    bool window;
    bool accepts;
    bool told;
    int handOvers;
  };
  const Case cases[] = {
      {"taken by the elevated keyboard", true, true, false, 1},
      {"refused (another user's keyboard)", true, false, true, 1},
      {"no window ever shows", false, true, true, 0},
  };
  // Told in the language chosen, not always in English.
  CatalogueTexts german;
  german.choose("de");
  for (const Case& c : cases) {
    FakeSession s;
    s.window = c.window;
    s.accepts = c.accepts;
    EXPECT_FALSE(claimSession(s, false, german)) << c.what;
    EXPECT_TRUE(s.outOfReach) << c.what;
    EXPECT_EQ(s.handOvers, c.handOvers) << c.what;
    ASSERT_EQ(s.told.size(), c.told ? 1U : 0U) << c.what;
    if (c.told) {
      EXPECT_EQ(s.told.front(), catalogueLanguage("de").text(TextId::KeyboardOutOfReach));
    }
  }
}

TEST(ClaimSession, ARestartRunsOnceTheKeyboardItReplacesHasClosed) {
  FakeSession s;
  s.answer = ClaimAnswer::AlreadyExists;
  s.closesAfter = 2;
  EXPECT_TRUE(claimSession(s, true, englishTexts()));
  EXPECT_EQ(s.handOvers, 0);
  EXPECT_EQ(s.waits, 2);
  EXPECT_TRUE(s.told.empty());
}

// Run as administrator, the keyboard is behind UIPI: without the filter a
// start of the signed-in user could never hand over.
TEST(ClaimSession, TheRunningKeyboardLetsLowerStartsHandOver) {
  FakeSession s;
  listenForSecondStarts(s);
  EXPECT_EQ(s.filterRequests, 1);
}

}  // namespace
}  // namespace osk
