// Whether a start runs as the session's keyboard of its program name, or
// hands its command line to the one that runs and ends.
//
// One keyboard per program name, because the settings and the learned
// words are kept per program name: two would save over each other.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/session_claim.h"
#include "platform/texts.h"

namespace osk {

enum class HandOverResult : std::uint8_t { NotTried, Accepted, Refused };

struct ClaimFacts {
  ClaimAnswer answer = ClaimAnswer::Created;
  // Started with --replace: waits for the keyboard it replaces to close
  // instead of handing over to it.
  bool replacing = false;
  bool windowFound = false;
  HandOverResult handOver = HandOverResult::NotTried;
  bool waitedOut = false;  // the start has waited as long as it will
};

enum class ClaimStep : std::uint8_t {
  Run,         // this start is the session's keyboard
  RunUnsure,   // nothing tells two starts apart: running beats none at all
  HandOver,    // hand the command line to the window found
  Wait,        // still starting, or closing: ask again shortly
  End,         // another keyboard runs (and has the command line, if it took it)
  TellAndEnd,  // one runs out of this start's reach: say so, then end
};

ClaimStep nextClaimStep(const ClaimFacts& facts);

// Asks until the steps above decide: true when this start is to run the
// keyboard.
// `texts` word what the user is told when a keyboard of this name runs where
// this start cannot reach it.
[[nodiscard]] bool claimSession(SessionClaim& system, bool replacing, const Texts& texts);

// On the keyboard that runs: lets later starts reach it, whatever their
// level. A refusal is logged and the keyboard runs on: only starts from
// a lower level are kept out.
void listenForSecondStarts(SessionClaim& system);

}  // namespace osk
