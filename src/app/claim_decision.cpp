#include "app/claim_decision.h"

#include "platform/log.h"

namespace osk {

ClaimStep nextClaimStep(const ClaimFacts& facts) {
  switch (facts.answer) {
    case ClaimAnswer::Created:
      return ClaimStep::Run;
    case ClaimAnswer::OtherFailure:
      return ClaimStep::RunUnsure;
    case ClaimAnswer::AlreadyExists:
    case ClaimAnswer::AccessDenied:
      break;
  }
  // A keyboard this start may not open is still a keyboard of this name:
  // running beside it would save the same settings and words over it.
  const ClaimStep giveUp = facts.answer == ClaimAnswer::AccessDenied ? ClaimStep::TellAndEnd : ClaimStep::End;
  switch (facts.handOver) {
    case HandOverResult::Accepted:
      return ClaimStep::End;
    case HandOverResult::Refused:
      return giveUp;
    case HandOverResult::NotTried:
      break;
  }
  if (!facts.replacing && facts.windowFound) return ClaimStep::HandOver;
  return facts.waitedOut ? giveUp : ClaimStep::Wait;
}

bool claimSession(SessionClaim& system, bool replacing, const Texts& texts) {
  ClaimFacts facts{.replacing = replacing};
  for (;;) {
    facts.answer = system.claimName();
    const bool taken =
        facts.answer == ClaimAnswer::AlreadyExists || facts.answer == ClaimAnswer::AccessDenied;
    facts.windowFound = taken && !replacing && system.findRunning(facts.answer == ClaimAnswer::AccessDenied);
    facts.handOver = HandOverResult::NotTried;
    ClaimStep step = nextClaimStep(facts);
    if (step == ClaimStep::HandOver) {
      facts.handOver = system.handOver() ? HandOverResult::Accepted : HandOverResult::Refused;
      if (facts.handOver == HandOverResult::Refused)
        logFailure("the running keyboard did not take a second start's switches");
      step = nextClaimStep(facts);
    }
    switch (step) {
      case ClaimStep::Run:
        return true;
      case ClaimStep::RunUnsure:
        logFailure("the keyboard could not tell whether it runs already, and runs");
        return true;
      case ClaimStep::HandOver:
      case ClaimStep::Wait:
        // The other start may still be loading, or its window has just
        // closed and its process not yet ended (or is closing for this
        // restart).
        if (!system.waitShortly()) facts.waitedOut = true;
        continue;
      case ClaimStep::End:
        if (facts.handOver == HandOverResult::NotTried)
          logFailure("another start of this keyboard holds the session but shows no window");
        return false;
      case ClaimStep::TellAndEnd:
        logFailure("a keyboard of this name runs out of this start's reach");
        system.tell(texts.text(TextId::KeyboardOutOfReach));
        return false;
    }
  }
}

void listenForSecondStarts(SessionClaim& system) {
  if (!system.letLowerStartsHandOver())
    logFailure("a start that is not run as administrator cannot hand its switches to this keyboard");
}

}  // namespace osk
